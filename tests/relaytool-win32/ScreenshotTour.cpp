// Not a test: saves pictures of relaytool.exe's windows for review
// (scripts/screenshot --windows): the connect dialog, then the main window
// on each page of a board with every capability. The files are named
// win32-VIEW.png at 96 DPI and win32-NNNdpi-VIEW.png at any other system DPI.
// Usage: relaytool_win32_tour ADDRESS OUTPUT_FOLDER   (ADDRESS on loopback)
#include "Win32TestSupport.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

using namespace relaytool::win32;
using namespace relaytool::win32::testing;

namespace {

// Lets the display catch up, then saves `hwnd`'s picture.
void Save(HWND hwnd, const std::string &path) {
  for (int round = 0; round < 5; ++round) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(100);
  }
  if (!SavePicture(hwnd, path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  std::printf("%s\n", path.c_str());
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ADDRESS OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string address = argv[1];
  const UINT dpi = GetDpiForSystem();
  const std::string prefix = std::string(argv[2]) + (dpi == 96 ? "/win32-" : "/win32-" + std::to_string(dpi) + "dpi-");
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const auto board = StartBoard(address, "remote");
  StoreAddress(address);
  TForm1 form(GetModuleHandleA(nullptr));
  ShowWindow(form.Handle(), SW_SHOWNORMAL);
  Pump(form.Handle());
  Save(form.Handle(), prefix + "disconnected.png");
  WithConnectDialog(form, {[&prefix](HWND dialog) { Save(dialog, prefix + "connect-dialog.png"); }, PressOk()});
  const HWND tabs = form.Window(Ctl::PageControl1);
  static const char *const kNames[] = {"network", "remote-control", "key-press", "others"};
  for (int position = 0; position < TabCtrl_GetItemCount(tabs); ++position) {
    ClickTab(form.Handle(), tabs, position);
    Save(form.Handle(), prefix + kNames[position] + ".png");
  }
  return 0;
}
