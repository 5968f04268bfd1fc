#include "MessageDlg.h"

#include "Dpi.h"
#include "Resources.h"

#include <WindowLogic.h>

#include <algorithm>

namespace relaytool::win32 {
namespace {

// In design pixels, at 96 DPI: the margin around the contents, the icon, the
// gap between icon and text, the longest line and the OK button.
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kGap = 12;
constexpr int kLineWidth = 420;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// As a multiline edit shows text: lines break between words, and within a
// word that is longer than a line.
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

// The system's icons of MB_ICONERROR and MB_ICONINFORMATION (OIC_HAND and
// OIC_INFORMATION), which LoadImage loads at any size.
constexpr WORD kErrorIcon = 32513;
constexpr WORD kInformationIcon = 32516;

std::wstring Wide(const std::string &text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

RECT WorkArea(HWND hwnd) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

SIZE TextSize(HDC dc, const LOGFONTW &face, const char *text) {
  const HFONT font = CreateFontIndirectW(&face);
  const HGDIOBJ previous = SelectObject(dc, font);
  SIZE size = {};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  SelectObject(dc, previous);
  DeleteObject(font);
  return size;
}

class Box {
 public:
  Box(const std::string &text, UINT icon) : text_(Wide(text)), icon_(icon) {}
  ~Box() {
    DeleteObject(font_);
    DestroyIcon(image_);
  }
  Box(const Box &) = delete;
  Box &operator=(const Box &) = delete;

  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Font, icon, places and size for `dpi`, the text wrapped to fit the work
  // area.
  void UseDpi(UINT dpi);
  // Moves the box to `at`, or as near as the work area allows.
  void MoveTo(POINT at);
  void Draw(const DRAWITEMSTRUCT &item) const;

  HWND hwnd_ = nullptr;
  std::wstring text_;
  UINT icon_;
  HFONT font_ = nullptr;
  HICON image_ = nullptr;
};

INT_PTR CALLBACK Box::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *box = reinterpret_cast<Box *>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    box = reinterpret_cast<Box *>(lParam);
    box->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
  }
  return box == nullptr ? FALSE : box->Handle(message, wParam, lParam);
}

INT_PTR Box::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      LayOutOwnDialog(hwnd_);
      SetWindowTextA(hwnd_, kApplicationTitle);
      // The text control carries the text for screen readers; Draw paints it.
      SetDlgItemTextW(hwnd_, IDC_MESSAGETEXT, text_.c_str());
      UseDpi(DpiOf(hwnd_));
      // Centred over the owner.
      RECT box;
      RECT owner = WorkArea(hwnd_);
      GetWindowRect(hwnd_, &box);
      if (const HWND window = GetWindow(hwnd_, GW_OWNER); window != nullptr) GetWindowRect(window, &owner);
      MoveTo({(owner.left + owner.right - (box.right - box.left)) / 2,
              (owner.top + owner.bottom - (box.bottom - box.top)) / 2});
      MessageBeep(icon_);
      return TRUE;  // the focus goes to OK
    }
    case WM_COMMAND:
      // OK, Enter, Escape and the close button.
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
      EndDialog(hwnd_, IDOK);
      return TRUE;
    case WM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
      return TRUE;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: laid out again, at the place that
      // Windows suggests; the text wraps anew, so the size is the box's own.
      const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
      UseDpi(HIWORD(wParam));
      MoveTo({suggested.left, suggested.top});
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void Box::UseDpi(UINT dpi) {
  const NONCLIENTMETRICSW metrics = NonClientMetrics(dpi);
  const int margin = Scale(kMargin, dpi);
  const int iconSize = Scale(kIconSize, dpi);
  const int buttonWidth = Scale(kButtonWidth, dpi);
  const int buttonHeight = Scale(kButtonHeight, dpi);
  const int textLeft = margin + iconSize + Scale(kGap, dpi);

  const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  const WORD system = icon_ == MB_ICONERROR ? kErrorIcon : kInformationIcon;
  const auto image =
      static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(system), IMAGE_ICON, iconSize, iconSize, 0));
  DeleteObject(font_);
  DestroyIcon(image_);
  font_ = font;
  image_ = image;

  // The room that the work area leaves the text, and the caption's need.
  const RECT work = WorkArea(hwnd_);
  const SIZE frame = FrameSize(hwnd_, 0, 0, dpi);
  const int roomWidth = work.right - work.left - frame.cx;
  const int roomHeight = work.bottom - work.top - frame.cy;
  const HDC dc = GetDC(hwnd_);
  const int captionWidth =
      TextSize(dc, metrics.lfCaptionFont, kApplicationTitle).cx + metrics.iCaptionWidth + 2 * margin;
  const HGDIOBJ previous = SelectObject(dc, font);
  RECT text = {};
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  text.right = std::max(1L, std::min<LONG>({text.right, Scale(kLineWidth, dpi), roomWidth - textLeft - margin}));
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, DT_CALCRECT | kTextFormat);
  SelectObject(dc, previous);
  ReleaseDC(hwnd_, dc);
  // Lines below the room are left out, so that OK stays on the screen.
  const int textHeight = std::min<int>(text.bottom, roomHeight - 3 * margin - buttonHeight);

  const int contentHeight = std::max(iconSize, textHeight);
  const int textWidth = text.right;
  const int width = std::min(roomWidth, std::max({textLeft + textWidth + margin, 2 * margin + buttonWidth, captionWidth}));
  const int height = contentHeight + 3 * margin + buttonHeight;
  const int iconTop = margin + (contentHeight - iconSize) / 2;
  const int textTop = margin + (contentHeight - textHeight) / 2;
  const int buttonLeft = (width - buttonWidth) / 2;
  const struct {
    int id;
    RECT place;
  } places[] = {
      {IDC_MESSAGEICON, {margin, iconTop, margin + iconSize, iconTop + iconSize}},
      {IDC_MESSAGETEXT, {textLeft, textTop, textLeft + textWidth, textTop + textHeight}},
      {IDOK, {buttonLeft, height - margin - buttonHeight, buttonLeft + buttonWidth, height - margin}},
  };
  for (const auto &[id, place] : places) {
    const HWND control = GetDlgItem(hwnd_, id);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const SIZE size = FrameSize(hwnd_, width, height, dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Box::MoveTo(POINT at) {
  RECT box;
  GetWindowRect(hwnd_, &box);
  const RECT work = WorkArea(hwnd_);
  const LONG left = std::max(work.left, std::min(at.x, work.right - (box.right - box.left)));
  const LONG top = std::max(work.top, std::min(at.y, work.bottom - (box.bottom - box.top)));
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Box::Draw(const DRAWITEMSTRUCT &item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (item.CtlID == IDC_MESSAGEICON) {
    DrawIconEx(item.hDC, 0, 0, image_, item.rcItem.right, item.rcItem.bottom, 0, nullptr, DI_NORMAL);
    return;
  }
  const HGDIOBJ previous = SelectObject(item.hDC, font_);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  RECT text = item.rcItem;
  DrawTextW(item.hDC, text_.c_str(), static_cast<int>(text_.size()), &text, kTextFormat);
  SelectObject(item.hDC, previous);
}

}  // namespace

void MessageDlg(HWND owner, const std::string &text, UINT icon) {
  Box box(text, icon);
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MESSAGEDLG), owner, Box::DialogProc,
                  reinterpret_cast<LPARAM>(&box));
}

}  // namespace relaytool::win32
