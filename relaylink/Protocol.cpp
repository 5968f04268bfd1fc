#include "Protocol.h"

#include <vector>

#include "IntConversion.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace relay {
namespace {

constexpr std::size_t kShortestReply = 10;
constexpr std::size_t kIdAndPasswordLength = 20;
constexpr std::size_t kDeviceIdLength = 14;
constexpr std::size_t kButtonCfgLength = 8;

std::string FrameStart(Command command, int tag) {
  return std::string("#") + static_cast<char>(command) + std::to_string(tag);
}

// The address and key-mode checks, in order, rewriting addresses in place.
bool CheckDeviceValues(DeviceSideValues &dev) {
  try {
    if (!IsValidIpAddr(dev.DevIpAddr) || !IsValidIpAddr(dev.DevSubMask) || !IsValidIpAddr(dev.DevGateway)) {
      return false;
    }
    if (dev.DevButtonCfg != "." && dev.DevButtonCfg.size() != kButtonCfgLength) return false;
    return dev.DevDns.empty() || IsValidIpAddr(dev.DevDns);
  } catch (const ConversionError &) {
    return false;  // an address item that is not a number: the reply is malformed
  }
}

}  // namespace

std::string BuildCommand(Command command, int tag) { return FrameStart(command, tag) + ';'; }

std::string BuildCommand(Command command, int tag, std::string_view value) {
  return FrameStart(command, tag) + ',' + std::string(value) + ';';
}

std::size_t FrameEnd(std::string_view received) {
  const std::size_t end = received.find(';');
  return end == std::string_view::npos ? end : end + 1;
}

bool IsAcknowledgement(std::string_view reply) { return reply == ">OK;"; }

std::string FillEmptyItems(std::string_view reply) {
  std::string filled;
  filled.reserve(reply.size());
  std::size_t pos = 0;
  while (pos < reply.size()) {
    if (reply.substr(pos, 2) == ",,") {
      filled += ",.,";
      pos += 2;
    } else {
      filled += reply[pos++];
    }
  }
  return filled;
}

bool ParseCfgReply(std::string_view reply, DeviceSideValues &dev, std::string &versionItem) {
  const std::string text = FillEmptyItems(reply);
  if (text.size() < kShortestReply || text.front() != '>' || text.back() != ';') return false;

  const std::vector<std::string> items = SplitItems(std::string_view(text).substr(1, text.size() - 2), ',');
  if (items.size() != 5 && items.size() != 9 && items.size() != 10) return false;

  dev.DevIpAddr = items[0];
  dev.DevSubMask = items[1];
  dev.DevGateway = items[2];
  dev.DevButtonCfg = items[3];
  dev.DevRestoreState = items[4] == "1";
  if (items.size() == 10) {
    versionItem = items[5];
    const std::string_view idAndPassword(items[6].c_str());  // counted up to any zero character
    if (idAndPassword.size() != kIdAndPasswordLength) return false;
    dev.DevDeviceId = std::string(idAndPassword.substr(0, kDeviceIdLength));
    dev.DevPassword = std::string(idAndPassword.substr(kDeviceIdLength));
    dev.DevDns = items[7];
    dev.DevWebServer = items[8];
    dev.DevEnableWeb = items[9] == "1";
  } else {
    // Replies without the remote-control items leave the password, server
    // and switch as they were.
    versionItem.clear();
    dev.DevDeviceId.clear();
    dev.DevDns.clear();
  }
  return CheckDeviceValues(dev);
}

}  // namespace relay
