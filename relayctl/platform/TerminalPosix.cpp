#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <string>

#include "Terminal.h"

namespace relayctl {

bool ErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

TextEncoding TerminalEncoding() {
  static const TextEncoding encoding = [] {
    // The user's character type for the question only; the program itself
    // keeps the C locale.
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "");
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, previous.c_str());
    return utf8 ? TextEncoding::Utf8 : TextEncoding::SingleByte;
  }();
  return encoding;
}

}  // namespace relayctl
