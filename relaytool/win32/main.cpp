// relaytool.exe: creates the main window and runs its message loop until the
// window has closed.
#include "Unit1.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  relaytool::win32::TForm1 form(instance);
  ShowWindow(form.Handle(), show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) relaytool::win32::TForm1::Dispatch(msg, form.Handle());
  return static_cast<int>(msg.wParam);
}
