#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "Terminal.h"

namespace relayctl {

// Only a console has a console mode; the C runtime's isatty also says yes for
// the NUL device.
bool ErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// The command line reaches main in the ANSI code page.
TextEncoding TerminalEncoding() { return GetACP() == CP_UTF8 ? TextEncoding::Utf8 : TextEncoding::SingleByte; }

}  // namespace relayctl
