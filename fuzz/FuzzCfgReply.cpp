// The configuration-reply parser fed arbitrary bytes: it must never fail
// abnormally, and a reply it accepts must leave the device-side values in the
// shape the rest of the library relies on.
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "Protocol.h"
#include "ValueRules.h"

namespace {

using relay::fuzz::Require;

void RequireNormalAddress(const std::string &address) {
  Require(relay::fuzz::IsNormalAddress(address), "accepted address is in normal form");
  std::string again = address;
  Require(relay::IsValidIpAddr(again) && again == address, "normal form is accepted unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char *>(data), size);
  relay::DeviceSideValues dev;
  dev.DevPassword = "kept";
  std::string versionItem = "stale";
  if (!relay::ParseCfgReply(reply, dev, versionItem)) return 0;

  Require(reply.front() == '>' && reply.back() == ';', "accepted reply is one frame");
  RequireNormalAddress(dev.DevIpAddr);
  RequireNormalAddress(dev.DevSubMask);
  RequireNormalAddress(dev.DevGateway);
  Require(dev.DevButtonCfg == "." || dev.DevButtonCfg.size() == 8, "key modes are '.' or eight characters");
  const bool remoteItems = !dev.DevDeviceId.empty();
  Require(!remoteItems || dev.DevDeviceId.size() == 14, "device ID has 14 characters");
  Require(remoteItems == !versionItem.empty(), "version item comes with the remote-control items");
  if (remoteItems) {
    Require(dev.DevPassword.size() == 6, "password is the last six characters of item 7");
    RequireNormalAddress(dev.DevDns);
  } else {
    Require(dev.DevDns.empty(), "no DNS without the remote-control items");
    Require(dev.DevPassword == "kept", "password kept without the remote-control items");
  }
  return 0;
}
