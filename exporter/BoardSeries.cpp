#include "BoardSeries.h"

#include <algorithm>

#include "Exposition.h"
#include "board/SettingTable.h"

namespace relay_exporter {
namespace {

using relayctl::SettingInfo;

std::string Flag(const char *name, const char *help, const std::optional<bool> &value) {
  if (!value) return {};
  return Family(name, "gauge", help) + Sample(name, {}, *value ? 1 : 0);
}

bool Changes(const relayctl::WriteResult &plan, const SettingInfo &setting) {
  return std::any_of(plan.changes.begin(), plan.changes.end(),
                     [&](const relayctl::Change &change) { return change.setting == setting.name; });
}

// Per setting of the board that apply writes (all but the network
// addresses): whether the plan changes it; a plan refused before it was made
// has none. Then in sync: nothing would change.
std::string Drift(const relayctl::BoardState &board, const relayctl::WriteResult &plan) {
  std::string out;
  if (plan.status == relayctl::kExitDone || plan.status == relayctl::kExitWouldChange) {
    out += Family("relay_board_setting_drifted", "gauge",
                  "1 when the board's setting differs from the module's desired state, as relayctl apply --check "
                  "finds it");
    for (const SettingInfo &setting : relayctl::SettingTable()) {
      if (setting.network || !relayctl::BoardHas(setting, board.capabilities)) continue;
      out += Sample("relay_board_setting_drifted", {{"setting", setting.name}}, Changes(plan, setting));
    }
  }
  return out + Family("relay_board_in_sync", "gauge",
                      "1 when relayctl apply --check of the module's desired state would change nothing") +
         Sample("relay_board_in_sync", {}, plan.status == relayctl::kExitDone ? 1 : 0);
}

}  // namespace

std::string BoardSeries(const relayctl::BoardState &board, const std::optional<relayctl::WriteResult> &plan) {
  std::string out = Family("relay_board_info", "gauge", "The board's model, device ID and firmware; always 1") +
                    Sample("relay_board_info",
                           {{"model", relayctl::ModelName(board.capabilities)},
                            {"device_id", board.deviceId},
                            {"firmware", board.firmware}},
                           1);
  const relayctl::Settings &settings = board.settings;
  out += Flag("relay_board_restore", "1 when the board restores the relay state after power off", settings.restore);
  out += Flag("relay_board_remote_control", "1 when remote control is on (boards with remote control)",
              settings.remote);
  if (settings.keys) {
    out += Family("relay_board_key_mode", "gauge", "The key's mode: 1 keep state, 2 follow, 3 jog");
    for (std::size_t key = 0; key < settings.keys->size(); ++key) {
      out += Sample("relay_board_key_mode", {{"key", std::to_string(key + 1)}}, (*settings.keys)[key] - '0');
    }
  }
  if (plan) out += Drift(board, *plan);
  return out;
}

std::string ProbeExposition(const std::optional<std::string> &boardSeries, double seconds) {
  return Family("relay_board_up", "gauge", "1 when the board answered with its configuration") +
         Sample("relay_board_up", {}, boardSeries ? 1 : 0) +
         Family("relay_probe_duration_seconds", "gauge", "How long the probe took") +
         Sample("relay_probe_duration_seconds", {}, seconds) + boardSeries.value_or("");
}

}  // namespace relay_exporter
