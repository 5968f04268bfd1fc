#include <unistd.h>

#include "Terminal.h"

namespace relayctl {

bool ErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace relayctl
