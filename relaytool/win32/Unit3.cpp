#include "Unit3.h"

#include "Dpi.h"
#include "MessageBoxSeam.h"
#include "Resources.h"

#include <exception>
#include <iterator>
#include <utility>

namespace relaytool::win32 {
namespace {

constexpr int kClientWidth = 332;
constexpr int kClientHeight = 197;

struct Place {
  int id;
  int left, top, width, height;
};

// In design pixels, at 96 DPI.
constexpr Place kPlaces[] = {
    {IDC_BEVEL1, 8, 16, 313, 129}, {IDC_IMAGE1, 8, 16, 128, 128}, {IDC_LABEL1, 144, 48, 97, 13},
    {IDC_EDIT1, 160, 72, 145, 21}, {IDOK, 86, 156, 75, 25},       {IDCANCEL, 166, 156, 75, 25},
};

// The template's font size, in points.
constexpr int kFontPoints = 8;

// Image1's picture, rendered for 96, 144 and 192 DPI.
struct Picture {
  UINT dpi;
  int id;
};
constexpr Picture kPictures[] = {{96, IDB_CABLE}, {144, IDB_CABLE_150}, {192, IDB_CABLE_200}};

// The picture for `dpi`: the first rendered at least that large, else the
// largest.
int PictureFor(UINT dpi) {
  for (const Picture &picture : kPictures)
    if (picture.dpi >= dpi) return picture.id;
  return kPictures[std::size(kPictures) - 1].id;
}

}  // namespace

TConnectDlg::TConnectDlg(HINSTANCE instance, std::string address) : instance_(instance), address_(std::move(address)) {}

TConnectDlg::~TConnectDlg() {
  DeleteObject(image_);
  DeleteObject(font_);
}

bool TConnectDlg::Run(HINSTANCE instance, HWND owner, std::string &address) {
  TConnectDlg dialog(instance, address);
  if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONNECTDLG), owner, DialogProc,
                      reinterpret_cast<LPARAM>(&dialog)) != IDOK)
    return false;
  address = dialog.address_;
  return true;
}

INT_PTR CALLBACK TConnectDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *dialog = reinterpret_cast<TConnectDlg *>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<TConnectDlg *>(lParam);
    dialog->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
  }
  if (dialog == nullptr) return FALSE;
  // A failure that escapes a handler is reported; the dialog stays open.
  try {
    return dialog->Handle(message, wParam, lParam);
  } catch (const std::exception &failure) {
    ReportFailure(hwnd, failure.what());
    return TRUE;
  }
}

INT_PTR TConnectDlg::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      LayOutOwnDialog(hwnd_);
      UseDpi(DpiOf(hwnd_));
      CentreOverOwner();
      SetText(DlgControl::Edit1, address_);
      // Selected, so that typing replaces the offered address.
      Focus(DlgControl::Edit1);
      SendDlgItemMessageA(hwnd_, IDC_EDIT1, EM_SETSEL, 0, -1);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        OKBtnClick(*this);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd_, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_DRAWITEM:
      DrawImage1(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
      return TRUE;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: scaled again, in the place that
      // Windows suggests.
      UseDpi(HIWORD(wParam));
      const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void TConnectDlg::UseDpi(UINT dpi) {
  dpi_ = dpi;
  // The template's face, at the DPI.
  LOGFONTW face = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)), sizeof face, &face);
  face.lfHeight = -MulDiv(kFontPoints, static_cast<int>(dpi), 72);
  const HFONT font = CreateFontIndirectW(&face);
  for (const Place &place : kPlaces) {
    const HWND control = GetDlgItem(hwnd_, place.id);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const RECT scaled = Scale(place.left, place.top, place.width, place.height, dpi);
    SetWindowPos(control, nullptr, scaled.left, scaled.top, scaled.right - scaled.left, scaled.bottom - scaled.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  DeleteObject(font_);
  font_ = font;
  DeleteObject(image_);
  image_ = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(PictureFor(dpi)), IMAGE_BITMAP, 0, 0, 0));
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TConnectDlg::CentreOverOwner() {
  const SIZE frame = FrameSize(hwnd_, Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_), dpi_);
  RECT owner;
  GetWindowRect(GetWindow(hwnd_, GW_OWNER), &owner);
  SetWindowPos(hwnd_, nullptr, (owner.left + owner.right - frame.cx) / 2, (owner.top + owner.bottom - frame.cy) / 2,
               frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TConnectDlg::DrawImage1(const DRAWITEMSTRUCT &item) const {
  // Fills Image1. The colour of the picture's bottom-left pixel is
  // see-through, so that the bevel's lines show.
  BITMAP size;
  GetObjectA(image_, sizeof size, &size);
  const HDC source = CreateCompatibleDC(item.hDC);
  const HGDIOBJ previous = SelectObject(source, image_);
  const COLORREF seeThrough = GetPixel(source, 0, size.bmHeight - 1);
  TransparentBlt(item.hDC, 0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, source, 0,
                 0, size.bmWidth, size.bmHeight, seeThrough);
  SelectObject(source, previous);
  DeleteDC(source);
}

std::string TConnectDlg::Text(DlgControl) const {
  const HWND edit = GetDlgItem(hwnd_, IDC_EDIT1);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TConnectDlg::SetText(DlgControl, const std::string &text) { SetDlgItemTextA(hwnd_, IDC_EDIT1, text.c_str()); }

void TConnectDlg::Focus(DlgControl) { SetFocus(GetDlgItem(hwnd_, IDC_EDIT1)); }

void TConnectDlg::ShowMessageBox(const std::string &text, MessageIcon icon) {
  win32::ShowMessageBox(hwnd_, text, static_cast<UINT>(icon));
}

void TConnectDlg::CloseWithOk() {
  address_ = Text(DlgControl::Edit1);
  EndDialog(hwnd_, IDOK);
}

}  // namespace relaytool::win32
