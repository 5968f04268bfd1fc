#include "MessageBoxSeam.h"

#include "MessageDlg.h"

#include <WindowLogic.h>

#include <utility>

namespace relaytool::win32 {
namespace {

MessageBoxHandler &Handler() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

void ShowMessageBox(HWND owner, const std::string &text, UINT icon) {
  if (Handler()) {
    Handler()(owner, text, icon);
    return;
  }
  MessageDlg(owner, text, icon);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) { return std::exchange(Handler(), std::move(handler)); }

void ReportFailure(HWND owner, const std::string &text) { ShowMessageBox(owner, WithFullStop(text), MB_ICONERROR); }

}  // namespace relaytool::win32
