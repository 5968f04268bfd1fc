// The connect dialog TConnectDlg on the Win32 interfaces: a modal dialog from
// the resource template, whose OK runs the shared OKBtnClick.
#pragma once

#include <windows.h>

#include <WindowLogic.h>

#include <string>

namespace relaytool::win32 {

class TConnectDlg final : public ConnectDlgView {
 public:
  // Shows the dialog modally over `owner` with `address` in its Edit1,
  // selected; on OK sets `address` to the accepted text and answers true.
  static bool Run(HINSTANCE instance, HWND owner, std::string &address);

  // ConnectDlgView
  std::string Text(DlgControl control) const override;
  void SetText(DlgControl control, const std::string &text) override;
  void Focus(DlgControl control) override;
  void ShowMessageBox(const std::string &text, MessageIcon icon) override;
  void CloseWithOk() override;

 private:
  TConnectDlg(HINSTANCE instance, std::string address);
  ~TConnectDlg();
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Font, picture and places for `dpi`, replacing those of the DPI before.
  void UseDpi(UINT dpi);
  // Sizes the dialog for its DPI, centred over the main window.
  void CentreOverOwner();
  void DrawImage1(const DRAWITEMSTRUCT &item) const;

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HFONT font_ = nullptr;
  HBITMAP image_ = nullptr;
  std::string address_;
};

}  // namespace relaytool::win32
