// Whether standard error is a terminal (on Windows a console), where a
// progress bar can redraw its line.
#pragma once

namespace relayctl {

bool ErrorIsTerminal();

}  // namespace relayctl
