#include "link/ScanResult.h"

#include "DeviceValues.h"
#include "Protocol.h"
#include "ReplyAdoption.h"
#include "board/AddressRange.h"
#include "board/BoardText.h"
#include "board/SettingTable.h"

namespace relayctl {
namespace {

using relay::SettingKind;

// A setting's value as the library's getter gives it (a key mode that is no
// digit as 0); never the password.
template <SettingKind kind, typename Value>
std::optional<Value> FromReply(Value value) {
  if constexpr (kind == SettingKind::Password) {
    return std::nullopt;
  } else {
    if constexpr (kind == SettingKind::KeyModes) {
      for (char &mode : value) mode = mode >= '0' && mode <= '9' ? mode : '0';
    }
    return value;
  }
}

// The settings the library holds after reading the reply, as its getters
// give them, but for the password; only those a board of `capabilities` has.
Settings ReplySettings(const relay::PendingValues &values, const Capabilities &capabilities) {
  Settings settings;
#define RELAYCTL_REPLY_SETTING(name, Stem, command, kind, ...) \
  settings.name = FromReply<SettingKind::kind>(values.New##Stem);
  RELAY_SETTINGS(RELAYCTL_REPLY_SETTING)
#undef RELAYCTL_REPLY_SETTING
  for (const SettingInfo &setting : SettingTable()) {
    if (BoardHas(setting, capabilities)) continue;
    if (setting.flag) {
      settings.*setting.flag = std::nullopt;
    } else {
      settings.*setting.text = std::nullopt;
    }
  }
  return settings;
}

}  // namespace

ScanResult Identify(const std::vector<ProbeReply> &replies) {
  ScanResult result;
  for (const ProbeReply &probe : replies) {
    const std::string address = FormatAddress(probe.address);
    relay::DeviceSideValues values;
    std::string versionItem;
    if (probe.reply.empty()) {
      result.notBoards.push_back(address + ": port open, no reply");
    } else if (!relay::ParseCfgReply(probe.reply, values, versionItem)) {
      result.notBoards.push_back(address + ": port open, the reply is not a board configuration");
    } else {
      relay::ReplyFindings found;
      relay::PendingValues adopted;
      relay::AdoptReply(values, versionItem, found, adopted);
      BoardState board;
      board.address = address;
      board.capabilities = {found.WebCapable, found.ButtonCapable};
      board.deviceId = values.DevDeviceId;
      board.firmware = found.FirmwareVersion;
      board.settings = ReplySettings(adopted, board.capabilities);
      result.boards.push_back(std::move(board));
    }
  }
  return result;
}

namespace {

// `text` and at least two spaces, filling `width` columns (counting a UTF-8
// character as one); never cut.
std::string Column(const std::string &text, std::size_t width) {
  std::size_t columns = 0;
  for (const char c : text) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return text + std::string(columns < width ? width - columns + 2 : 2, ' ');
}

std::string Row(const std::string &address, const std::string &model, const std::string &firmware,
                const std::string &deviceId) {
  return Column(address, 15) + Column(model, 14) + Column(firmware, 9) + deviceId + "\n";
}

}  // namespace

std::string ScanTable(const std::vector<BoardState> &boards, TextEncoding encoding) {
  std::string table = Row("ADDRESS", "MODEL", "FIRMWARE", "DEVICE ID");
  for (const BoardState &board : boards) {
    table += Row(board.address, ModelName(board.capabilities),
                 board.firmware.empty() ? "-" : Shown(board.firmware, encoding),
                 board.deviceId.empty() ? "-" : Shown(board.deviceId, encoding));
  }
  return table;
}

std::string ScanAddresses(const std::vector<BoardState> &boards) {
  std::string lines;
  for (const BoardState &board : boards) lines += board.address + "\n";
  return lines;
}

}  // namespace relayctl
