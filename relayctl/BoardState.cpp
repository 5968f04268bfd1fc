#include "BoardState.h"

namespace relayctl {

std::string ModelName(const Capabilities &capabilities) {
  if (capabilities.remoteControl) return "remote control";
  return capabilities.keys ? "keys" : "basic";
}

std::vector<std::string> UnsupportedNames(const Settings &changes, const Capabilities &capabilities) {
  std::vector<std::string> names;
  if (!capabilities.keys && changes.keys) names.push_back("keys");
  if (!capabilities.remoteControl) {
    if (changes.remote) names.push_back("remote");
    if (changes.dns) names.push_back("dns");
    if (changes.server) names.push_back("server");
    if (changes.password) names.push_back("password");
  }
  return names;
}

Settings WithoutNetwork(Settings changes) {
  changes.ip.reset();
  changes.mask.reset();
  changes.gateway.reset();
  return changes;
}

}  // namespace relayctl
