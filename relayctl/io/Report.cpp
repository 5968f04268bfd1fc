#include "io/Report.h"

#include <iostream>

#include "board/BoardText.h"
#include "platform/Terminal.h"

namespace relayctl {

// One write (standard error is unbuffered): in pieces, output of another process on the same terminal or
// file could land inside the line, and a failed or cut write could leave it without its end.
void Report(const std::string &message) {
  std::cerr << "relayctl: " + Printable(message, TerminalEncoding()) + "\n";
}

}  // namespace relayctl
