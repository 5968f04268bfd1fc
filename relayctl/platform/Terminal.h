// The terminal: whether standard error is one (on Windows a console), where a
// progress bar can redraw its line, and the encoding of the text typed and
// shown there.
#pragma once

#include "board/BoardText.h"

namespace relayctl {

bool ErrorIsTerminal();

// UTF-8 when the user's locale (on Windows the ANSI code page) is UTF-8, else
// a single-byte encoding. Asked once; the answer is kept.
TextEncoding TerminalEncoding();

}  // namespace relayctl
