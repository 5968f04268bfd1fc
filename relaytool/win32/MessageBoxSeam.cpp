#include "MessageBoxSeam.h"

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
  MessageBoxA(owner, text.c_str(), kApplicationTitle, icon);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) { return std::exchange(Handler(), std::move(handler)); }

void ReportFailure(HWND owner, const std::string &text) { ShowMessageBox(owner, WithFullStop(text), MB_ICONERROR); }

}  // namespace relaytool::win32
