#include "ScanResult.h"

#include <nlohmann/json.hpp>

#include "AddressRange.h"
#include "BoardText.h"
#include "DeviceValues.h"
#include "Protocol.h"

namespace relayctl {

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
      FoundBoard board{address, {!values.DevDeviceId.empty(), values.DevButtonCfg != "."}, "", values.DevDeviceId};
      if (!versionItem.empty()) board.firmware = "1.0." + versionItem;
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

std::string ScanTable(const std::vector<FoundBoard> &boards, TextEncoding encoding) {
  std::string table = Row("ADDRESS", "MODEL", "FIRMWARE", "DEVICE ID");
  for (const FoundBoard &board : boards) {
    table += Row(board.address, ModelName(board.capabilities),
                 board.firmware.empty() ? "-" : Shown(board.firmware, encoding),
                 board.deviceId.empty() ? "-" : Shown(board.deviceId, encoding));
  }
  return table;
}

std::string ScanAddresses(const std::vector<FoundBoard> &boards) {
  std::string lines;
  for (const FoundBoard &board : boards) lines += board.address + "\n";
  return lines;
}

std::string ScanJson(const std::vector<FoundBoard> &boards) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const FoundBoard &board : boards) {
    const auto orNull = [](const std::string &text) {
      return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(JsonFromBytes(text));
    };
    list.push_back({{"address", board.address},
                    {"model", ModelName(board.capabilities)},
                    {"firmware", orNull(board.firmware)},
                    {"device_id", orNull(board.deviceId)},
                    {"capabilities",
                     {{"remote_control", board.capabilities.remoteControl}, {"keys", board.capabilities.keys}}}});
  }
  return list.dump(2) + "\n";
}

}  // namespace relayctl
