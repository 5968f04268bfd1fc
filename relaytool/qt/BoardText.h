// How texts cross between the Qt windows and the handlers (and so the library):
// one byte for each character, the character of the same number (ISO-8859-1).
// A board's texts are single bytes in the device's own encoding, so each comes
// back byte for byte, whatever the desktop's locale; the edits take no
// character above U+00FF (relaytool::TypingLimit), so none is lost either.
#pragma once

#include <QString>

#include <string>

namespace relaytool {

inline QString FromBoardText(const std::string &text) { return QString::fromLatin1(text); }

inline std::string ToBoardText(const QString &text) { return text.toLatin1().toStdString(); }

}  // namespace relaytool
