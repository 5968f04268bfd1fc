// The one road by which relaytool.exe shows a message box. Tests replace the
// handler to record boxes instead of showing them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace relaytool::win32 {

// Shows a modal box owned by `owner`, captioned with the application title,
// with an OK button and `icon` (MB_ICONERROR or MB_ICONINFORMATION) as its only
// flags.
using MessageBoxHandler = std::function<void(HWND owner, const std::string &text, UINT icon)>;

void ShowMessageBox(HWND owner, const std::string &text, UINT icon);

// Installs `handler` (an empty one restores the real boxes) and returns the
// handler that was in place.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The general error report for a failure that escaped a handler: its text
// (with WithFullStop applied) and the error icon.
void ReportFailure(HWND owner, const std::string &text);

}  // namespace relaytool::win32
