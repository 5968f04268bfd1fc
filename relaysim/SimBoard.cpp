#include "SimBoard.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace relay::sim {
namespace {

// Every setting has its field, of its kind, in the description's order.
constexpr bool FieldsMatchSettings() {
  if (std::size(kConfigFields) != std::size(kSettings)) return false;
  for (std::size_t i = 0; i < std::size(kSettings); ++i) {
    if (std::string_view(kConfigFields[i].name) != kSettings[i].name) return false;
    if ((kConfigFields[i].flag != nullptr) != (kSettings[i].kind == SettingKind::Switch)) return false;
  }
  return true;
}
static_assert(FieldsMatchSettings(), "kConfigFields must list the settings of BoardSettings.h");

// The write commands: one per setting.
const SettingFacts *SettingWritten(char command) {
  for (const SettingFacts &setting : kSettings) {
    if (setting.command == command) return &setting;
  }
  return nullptr;
}

bool CarriesValue(char command) { return SettingWritten(command) != nullptr; }

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const char *Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

bool IsCommandCode(char command) { return command == '1' || command == '7' || CarriesValue(command); }

std::optional<Frame> ParseFrame(std::string_view text) {
  if (text.size() < 4 || text.front() != '#' || text.back() != ';') return std::nullopt;
  Frame frame;
  frame.command = text[1];
  if (!IsCommandCode(frame.command)) return std::nullopt;
  std::string_view rest = text.substr(2, text.size() - 3);
  const std::size_t comma = rest.find(',');
  frame.tag = std::string(rest.substr(0, comma));
  if (frame.tag.empty() || frame.tag.size() > 4 || !AllDigits(frame.tag)) return std::nullopt;
  if (comma != std::string_view::npos) frame.value = std::string(rest.substr(comma + 1));
  if (frame.value.has_value() != CarriesValue(frame.command)) return std::nullopt;
  return frame;
}

std::string CfgReply(const BoardConfig &config) {
  std::string reply = ">" + config.ipAddr + "," + config.subMask + "," + config.gateway + "," + config.buttonCfg +
                      "," + Flag(config.restoreState);
  if (config.model == Model::RemoteControl) {
    reply += "," + config.version + "," + config.deviceId + config.password + "," + config.dns + "," +
             config.webServer + "," + Flag(config.enableWeb);
  }
  return reply + ";";
}

const ConfigField &FieldOf(const SettingFacts &setting) {
  return kConfigFields[static_cast<std::size_t>(&setting - kSettings)];
}

bool ApplyWrite(BoardConfig &config, const Frame &frame) {
  const SettingFacts *setting = SettingWritten(frame.command);
  if (setting == nullptr) return false;
  const std::string value = frame.value.value_or("");
  const ConfigField &field = FieldOf(*setting);
  if (field.flag != nullptr) {
    config.*field.flag = value == "1";
  } else {
    config.*field.text = value;
  }
  return true;
}

std::optional<FaultKind> FaultFor(const SimOptions &options, char command) {
  for (const Fault &fault : options.faults) {
    if (fault.command == 0 || fault.command == command) return fault.kind;
  }
  return std::nullopt;
}

}  // namespace relay::sim
