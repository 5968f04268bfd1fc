#include "io/ShowText.h"

#include "board/SettingTable.h"

namespace relayctl {
namespace {

const char *ModeName(char digit) {
  switch (digit) {
    case '1': return "keep";
    case '2': return "follow";
    case '3': return "jog";
    default: return "?";
  }
}

void Line(std::string &text, const std::string &name, const std::string &value) {
  text += name + std::string(name.size() < 14 ? 14 - name.size() : 1, ' ') + value + "\n";
}

std::string KeyModesText(const std::string &keys) {
  std::string text = keys + " ";
  for (std::size_t key = 0; key < keys.size(); ++key) {
    text += " key" + std::to_string(key + 1) + "=" + ModeName(keys[key]);
  }
  return text;
}

}  // namespace

std::string ShowText(const BoardState &board, TextEncoding encoding) {
  const Capabilities &caps = board.capabilities;
  std::string text;
  Line(text, "address", board.address);
  Line(text, "model", ModelName(caps));
  Line(text, "firmware", board.firmware.empty() ? "-" : Shown(board.firmware, encoding));
  Line(text, "device id", board.deviceId.empty() ? "-" : Shown(board.deviceId, encoding));
  Line(text, "capabilities", std::string("remote control ") + (caps.remoteControl ? "yes" : "no") + ", keys " +
                                 (caps.keys ? "yes" : "no"));
  for (const SettingInfo &setting : SettingTable()) {
    if (!BoardHas(setting, caps)) continue;
    const bool keyModes = setting.kind == SettingKind::KeyModes && board.settings.keys;
    Line(text, setting.name,
         Shown(keyModes ? KeyModesText(*board.settings.keys) : ValueText(setting, board.settings), encoding));
  }
  return text;
}

}  // namespace relayctl
