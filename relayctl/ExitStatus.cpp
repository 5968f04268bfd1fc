#include "ExitStatus.h"

namespace relayctl {

ExitStatus ExitStatusOfCode(int code) {
  if (code == 3001 || code == 3002) return kExitDone;
  if (code >= 2001 && code <= 2006) return kExitRejected;
  return kExitCommunication;
}

}  // namespace relayctl
