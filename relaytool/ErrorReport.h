// The general error report: how a failure that escapes a user action reaches
// the user.
#pragma once

#include <QString>

namespace relaytool {

// The failure's text as shown: a full stop is added when the last character
// has a higher code than '.'.
QString WithFullStop(const QString &text);

// Shows `text` (with WithFullStop applied) in a box with the application title
// as caption and the error icon.
void ReportFailure(const QString &text);

}  // namespace relaytool
