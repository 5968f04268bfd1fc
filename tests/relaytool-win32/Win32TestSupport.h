// Driving relaytool.exe's windows in-process, by their messages: a pumped
// message loop, recorded message boxes, a driver for modal dialogs, a
// stand-in board on a 127.6.x.y address and the registry rows.
#pragma once

#include <Unit1.h>

#include <RelaySim.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace relaytool::win32::testing {

struct Box {
  std::string text;
  UINT icon;
  bool ownedByDialog;  // false: owned by the main window
};

// What to do with a dialog while it is shown: each step gets the dialog's
// handle.
using DialogStep = std::function<void(HWND dialog)>;

// Records every box while it lives.
class RecordedBoxes {
 public:
  RecordedBoxes();
  ~RecordedBoxes();
  std::vector<Box> boxes;
  // When set, each box is also shown on screen, as the program shows it, and
  // this step runs on it before it is closed.
  DialogStep onScreen;
};

// Dispatches every message waiting for the thread, as the program's loop does.
void Pump(HWND form);

// Posts `key` (a virtual key, with Ctrl held when `control`) to the focused
// window and pumps, so that it takes the program's keyboard path.
void PressKey(HWND form, WPARAM key, bool control = false);

// Clicks a button as the mouse would (BM_CLICK) and pumps.
void Click(HWND form, HWND button);

// Clicks the tab at strip position `position` with the mouse, and pumps.
void ClickTab(HWND form, HWND tabs, int position);

// Calls `open`, which shows a modal dialog captioned `caption`, and runs
// `steps` on that dialog while it is shown. A dialog still open after the
// last step is cancelled.
void WhileShown(const char *caption, std::vector<DialogStep> steps, const std::function<void()> &open);

// Presses the main window's Connect and runs `steps` on the dialog it opens;
// then pumps, so that a posted connect is carried out.
void WithConnectDialog(TForm1 &form, std::vector<DialogStep> steps);

// Dialog steps: replace Edit1's text; press OK.
DialogStep TypeAddress(const std::string &text);
DialogStep PressOk();

// Connects through the dialog to `address`.
void ConnectTo(TForm1 &form, const std::string &address);

// A board of `model` ("basic", "keys" or "remote") listening on `address`.
std::unique_ptr<relay::sim::RelaySim> StartBoard(const std::string &address, const std::string &model);

// The registry key of the remembered address, removed with its parent; and
// the value stored as a string.
void RemoveStoredAddress();
void StoreAddress(const std::string &address);

// The text of any window.
std::string TextOf(HWND hwnd);

// Saves the window's picture on screen as a PNG file.
bool SavePicture(HWND hwnd, const std::string &path);

}  // namespace relaytool::win32::testing
