#include "ExitStatus.h"

#include "relaylink.h"

namespace relayctl {

ExitStatus ExitStatusOfCode(int code) {
  if (code == RELAYLINK_SAVED_AND_RESTARTED || code == RELAYLINK_SAVED) return kExitDone;
  if (code >= RELAYLINK_BAD_IP_ADDR && code <= RELAYLINK_BAD_PASSWORD) return kExitRejected;
  return kExitCommunication;
}

}  // namespace relayctl
