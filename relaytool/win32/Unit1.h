// The main window TForm1 on the Win32 interfaces: its controls, tab strip,
// fonts and image list, scaled to its monitor's DPI, and the view through
// which the shared handlers of Form1Logic drive them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <Form1Layout.h>
#include <WindowLogic.h>

#include <array>

namespace relaytool::win32 {

// Every window of TForm1, the handlers' controls first.
using Ctl = Form1Item;

// The message that starts a read, posted by the window to itself.
inline constexpr UINT kDeviceConnect = WM_DEVICE_CONNECT;

class TForm1 final : public Form1View {
 public:
  // Creates the window, hidden, and runs FormCreate.
  explicit TForm1(HINSTANCE instance);
  ~TForm1();
  TForm1(const TForm1 &) = delete;
  TForm1 &operator=(const TForm1 &) = delete;

  HWND Handle() const { return hwnd_; }
  HWND Window(Ctl ctl) const { return windows_[static_cast<int>(ctl)]; }
  const Form1Logic &Logic() const { return logic_; }
  // The DPI the window is laid out for.
  UINT Dpi() const { return dpi_; }
  // The page whose tab is selected.
  Page ActivePage() const;

  // Hands `msg` to the window's keyboard navigation or dispatches it.
  static void Dispatch(MSG &msg, HWND form);

  // Form1View
  std::string Text(Control control) const override;
  void SetText(Control control, const std::string &text) override;
  void SetCaption(const std::string &caption) override;
  bool Enabled(Control control) const override;
  void SetEnabled(Control control, bool enabled) override;
  bool Checked(Control control) const override;
  void SetChecked(Control control, bool checked) override;
  void ShowTab(Page page, bool shown) override;
  void SetActivePage(Page page) override;
  void Focus(Control control) override;
  void ShowMessageBox(const std::string &text, MessageIcon icon) override;
  short WhileWaiting(const std::function<short()> &call) override;
  StoreAccess ReadStoredAddress(std::string &address) override;
  StoreAccess WriteStoredAddress(const std::string &address) override;
  bool RunConnectDialog(std::string &address) override;
  void PostConnect() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Fonts, images and places for `dpi`, replacing those of the DPI before.
  void UseDpi(UINT dpi);
  // Places the controls by the layout, scaled to the window's DPI, and the
  // pages over the tab control's display area.
  void PlaceControls();
  HWND Of(Control control) const { return windows_[static_cast<int>(control)]; }
  // Position of a shown page's tab in the strip: the shown pages before it.
  int TabPosition(Page page) const;
  // Shows the active page's window and hides the others.
  void ShowActivePageOnly();

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HFONT font_ = nullptr;
  HFONT tabFont_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HICON closeGlyph_ = nullptr;
  HWND focus_ = nullptr;  // the control to get the focus back when the window is activated
  std::array<HWND, static_cast<int>(Ctl::Count)> windows_{};
  std::array<bool, 4> tabShown_{};
  Form1Logic logic_{*this};
};

}  // namespace relaytool::win32
