#include "board/Guards.h"

#include <cstdint>
#include <optional>

#include "board/AddressRange.h"
#include "board/Verify.h"

namespace relayctl {
namespace {

bool IsLoopback(std::uint32_t address) { return address >> 24 == 127; }
bool IsMulticast(std::uint32_t address) { return address >> 28 == 0xE; }

// Ones followed by zeros only.
bool IsContiguous(std::uint32_t mask) {
  const std::uint32_t hostBits = ~mask;
  return (hostBits & (hostBits + 1)) == 0;
}

std::optional<std::uint32_t> Resulting(const std::optional<std::string> &expected,
                                       const std::optional<std::string> &current) {
  const std::optional<std::string> &text = expected ? expected : current;
  return text ? ParseAddress(*text) : std::nullopt;
}

void CheckNetwork(const BoardState &before, const Settings &expected, std::vector<std::string> &reasons) {
  const std::optional<std::uint32_t> ip = Resulting(expected.ip, before.settings.ip);
  const std::optional<std::uint32_t> mask = Resulting(expected.mask, before.settings.mask);
  const std::optional<std::uint32_t> gateway = Resulting(expected.gateway, before.settings.gateway);
  if (!ip || !mask || !gateway) return;
  const std::string ipText = FormatAddress(*ip), maskText = FormatAddress(*mask);
  if (*ip == 0 || *ip == 0xFFFFFFFFu) {
    reasons.push_back("ip " + ipText + " is no host address");
  } else if (IsMulticast(*ip)) {
    reasons.push_back("ip " + ipText + " is a multicast address");
  } else if (IsLoopback(*ip) && !(ParseAddress(before.address) && IsLoopback(*ParseAddress(before.address)))) {
    reasons.push_back("ip " + ipText + " is a loopback address");
  }
  if (!IsContiguous(*mask)) {
    reasons.push_back("mask " + maskText + " does not have its ones together");
    return;
  }
  const bool hasNetworkAndBroadcast = (~*mask) > 1;  // not /31 or /32
  if (hasNetworkAndBroadcast && (*ip & ~*mask) == 0) {
    reasons.push_back("ip " + ipText + " is the network address of mask " + maskText);
  } else if (hasNetworkAndBroadcast && (*ip | *mask) == 0xFFFFFFFFu) {
    reasons.push_back("ip " + ipText + " is the broadcast address of mask " + maskText);
  }
  if (*gateway != 0 && (*gateway & *mask) != (*ip & *mask)) {
    reasons.push_back("gateway " + FormatAddress(*gateway) + " is outside the subnet of ip " + ipText + " and mask " +
                      maskText);
  }
}

}  // namespace

std::vector<std::string> UnusableSettings(const BoardState &before, const Settings &expected) {
  const Settings written = Differing(before.settings, expected);
  std::vector<std::string> reasons;
  if (written.ip || written.mask || written.gateway) CheckNetwork(before, written, reasons);
  if (written.server && written.server->size() > relay::kMaxServerNameLength) {
    reasons.push_back("the server name has " + std::to_string(written.server->size()) + " characters, more than " +
                      std::to_string(relay::kMaxServerNameLength));
  }
  return reasons;
}

}  // namespace relayctl
