// The general error report: how a failure that escapes a user action reaches
// the user.
#pragma once

#include <QString>

namespace relaytool {

// The failure's text as shown: relaytool::WithFullStop on the text.
QString WithFullStop(const QString &text);

// Shows `text` (with WithFullStop applied) in a box with the application title
// as caption and the error icon, owned by the modal dialog or else the active
// window.
void ReportFailure(const QString &text);

}  // namespace relaytool
