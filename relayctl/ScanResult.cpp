#include "ScanResult.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "AddressRange.h"
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

std::string ScanTable(const std::vector<FoundBoard> &boards) {
  std::string table;
  char line[128];
  std::snprintf(line, sizeof line, "%-15s  %-14s  %-9s  %s\n", "ADDRESS", "MODEL", "FIRMWARE", "DEVICE ID");
  table += line;
  for (const FoundBoard &board : boards) {
    std::snprintf(line, sizeof line, "%-15s  %-14s  %-9s  %s\n", board.address.c_str(),
                  ModelName(board.capabilities).c_str(), board.firmware.empty() ? "-" : board.firmware.c_str(),
                  board.deviceId.empty() ? "-" : board.deviceId.c_str());
    table += line;
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
      return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
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
