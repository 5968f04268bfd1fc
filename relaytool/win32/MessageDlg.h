// relaytool.exe's message box: a modal dialog from the resource template, in
// place of MessageBox, whose box grows as wide as its text's longest word.
// Here a long text wraps, a word too long for a line breaking where the line
// ends, so that the box stays within the work area of its monitor.
#pragma once

#include <windows.h>

#include <string>

namespace relaytool::win32 {

// Shows `text` (in the system's code page, shown as it is) beside `icon`
// (MB_ICONERROR or MB_ICONINFORMATION) above an OK button, in a box captioned
// with the application title and owned by `owner`; returns when it is closed.
void MessageDlg(HWND owner, const std::string &text, UINT icon);

}  // namespace relaytool::win32
