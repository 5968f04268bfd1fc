#include "board/BoardState.h"

namespace relayctl {

std::string ModelName(const Capabilities &capabilities) {
  if (capabilities.remoteControl) return "remote control";
  return capabilities.keys ? "keys" : "basic";
}

}  // namespace relayctl
