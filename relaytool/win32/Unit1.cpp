#include "Unit1.h"

#include "Dpi.h"
#include "MessageBoxSeam.h"
#include "Registry.h"
#include "Resources.h"
#include "Unit3.h"

#include <exception>
#include <iterator>
#include <string>
#include <vector>

namespace relaytool::win32 {
namespace {

constexpr char kFormClass[] = "TForm1";
constexpr char kContainerClass[] = "RelayToolContainer";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kFirstId = 1000;  // clear of IDOK and IDCANCEL, which the dialog keys send

// One window of the layout (Form1Layout.h), as Windows makes it.
struct Placement {
  const Form1Control &control;
  const char *className;
  const char *text;
  DWORD style;
  DWORD exStyle;
};

constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
// The group's caption of six spaces leaves the gap in its top border over
// which its title, a check box of the page, lies.
constexpr char kGroupCaption[] = "      ";

// Pages are placed over the tab control's display area, and shown only while
// active.
bool IsPage(const Placement &placement) { return placement.control.kind == ControlKind::Page; }

// The windows of the layout in its order, which, as the creation order, is
// their z-order and so their tab order within a parent. Tab goes from the tab
// strip through the page's fields to Connect, Save and Exit, and from Exit
// back to the strip: the strip comes last, below the pages, which lie over its
// display area. The first button of a panel starts its group, whose tab stop
// is the checked button (the button control moves it).
std::vector<Placement> Layout() {
  std::vector<Placement> placements;
  Ctl previousParent = Ctl::Form;
  for (const Form1Control &control : Form1Controls()) {
    const DWORD disabled = (control.state & kDisabled) != 0 ? WS_DISABLED : 0;
    const char *text = control.text.c_str();
    switch (control.kind) {
      case ControlKind::Page:
      case ControlKind::Panel:
        placements.push_back({control, kContainerClass, text, 0, WS_EX_CONTROLPARENT});
        break;
      case ControlKind::TabControl:
        placements.push_back({control, WC_TABCONTROLA, text, WS_TABSTOP | WS_CLIPSIBLINGS, 0});
        break;
      case ControlKind::Label:
        placements.push_back({control, WC_STATICA, text, kLabel, 0});
        break;
      case ControlKind::Edit: {
        const DWORD readOnly = (control.state & kReadOnly) != 0 ? ES_READONLY : 0;
        placements.push_back({control, WC_EDITA, text, kEdit | disabled | readOnly, WS_EX_CLIENTEDGE});
        break;
      }
      case ControlKind::CheckBox:
        placements.push_back({control, WC_BUTTONA, text, WS_TABSTOP | BS_AUTOCHECKBOX | disabled, 0});
        break;
      case ControlKind::RadioButton: {
        const DWORD group = control.parent != previousParent ? WS_GROUP : 0;
        placements.push_back({control, WC_BUTTONA, text, BS_AUTORADIOBUTTON | group | disabled, 0});
        break;
      }
      case ControlKind::Button:
        placements.push_back({control, WC_BUTTONA, text, WS_TABSTOP | BS_PUSHBUTTON | disabled, 0});
        break;
      case ControlKind::GroupBox:
        placements.push_back({control, WC_BUTTONA, kGroupCaption, BS_GROUPBOX | WS_CLIPSIBLINGS, 0});
        break;
    }
    previousParent = control.parent;
  }
  return placements;
}

// The tab icons' resources in ImageList1's order (kTabIcons).
constexpr int kTabIconIds[] = {IDI_NETWORK, IDI_KEYPRESS, IDI_OTHERS, IDI_REMOTE};
static_assert(std::size(kTabIconIds) == std::size(kTabIcons));

// Pages and panels hand their controls' notifications and colour requests to
// the main window.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageA(GetParent(hwnd), message, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void RegisterClasses(HINSTANCE instance, WNDPROC formProc) {
  WNDCLASSEXA form = {};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.hInstance = instance;
  form.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RELAYTOOL));
  form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  WNDCLASSEXA container = form;
  container.lpfnWndProc = ContainerProc;
  container.hIcon = nullptr;
  container.lpszClassName = kContainerClass;
  // Registering again, for a later window of the process, fails harmlessly.
  RegisterClassExA(&container);
  form.lpszClassName = kFormClass;
  RegisterClassExA(&form);
}

// 宋体 with a character height of `height` pixels, in the GB2312 character
// set: 13 design pixels for every control; the tab captions take 12, so that
// all four tabs fit the strip.
HFONT WindowFont(int height) {
  LOGFONTW face = {};
  face.lfHeight = -height;
  face.lfWeight = FW_NORMAL;
  face.lfCharSet = GB2312_CHARSET;
  face.lfOutPrecision = OUT_DEFAULT_PRECIS;
  face.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  face.lfQuality = DEFAULT_QUALITY;
  face.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpyW(face.lfFaceName, L"\u5B8B\u4F53");
  return CreateFontIndirectW(&face);
}

// An icon of the resources, `size` pixels square: its image of that size, or
// the nearest one scaled.
HICON Icon(HINSTANCE instance, int id, int size) {
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

TForm1::TForm1(HINSTANCE instance) : instance_(instance) {
  RegisterClasses(instance, WindowProc);
  // Sized once its monitor, and so its DPI, is known.
  CreateWindowExA(0, kFormClass, kApplicationTitle, kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, kForm1Width,
                  kForm1Height, nullptr, nullptr, instance, this);
  CreateControls();
  UseDpi(DpiOf(hwnd_));
  const SIZE frame = FrameSize(hwnd_, Scale(kForm1Width, dpi_), Scale(kForm1Height, dpi_), dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  focus_ = Window(Ctl::PageControl1);
  try {
    logic_.FormCreate();
  } catch (const std::exception &failure) {
    ReportFailure(hwnd_, failure.what());
  }
}

TForm1::~TForm1() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  ImageList_Destroy(images_);
  DestroyIcon(closeGlyph_);
  DeleteObject(tabFont_);
  DeleteObject(font_);
}

void TForm1::CreateControls() {
  for (const Placement &placement : Layout()) {
    const Form1Control &control = placement.control;
    // A control placed in GroupBox2 is a child of the group's page.
    const Ctl parent = control.parent == Ctl::GroupBox2 ? Ctl::TabSheet4 : control.parent;
    const DWORD style = WS_CHILD | (IsPage(placement) ? 0 : WS_VISIBLE) | placement.style;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + static_cast<int>(control.item)));
    const HWND hwnd = CreateWindowExA(placement.exStyle, placement.className, placement.text, style, 0, 0, 0, 0,
                                      parent == Ctl::Form ? hwnd_ : Window(parent), id, instance_, nullptr);
    windows_[static_cast<int>(control.item)] = hwnd;
    if ((control.state & kChecked) != 0) SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    if (control.limit > 0) SendMessageA(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(control.limit), 0);
  }
  tabShown_ = {};
  ShowTab(Page::TabSheet1, true);  // the one tab at start: the others are inserted when shown
  ShowActivePageOnly();
}

void TForm1::UseDpi(UINT dpi) {
  dpi_ = dpi;
  const HFONT font = WindowFont(Scale(13, dpi));
  const HFONT tabFont = WindowFont(Scale(12, dpi));
  const int iconSize = Scale(16, dpi);
  const HIMAGELIST images = ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 4, 0);
  for (const int icon : kTabIconIds) {
    const HICON loaded = Icon(instance_, icon, iconSize);
    ImageList_AddIcon(images, loaded);
    DestroyIcon(loaded);
  }
  const HICON closeGlyph = Icon(instance_, IDI_CLOSE, iconSize);

  const HWND tabs = Window(Ctl::PageControl1);
  for (const HWND hwnd : windows_)
    if (hwnd != tabs) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The padding first: the new images and font size the tabs.
  SendMessageA(tabs, TCM_SETPADDING, 0, MAKELPARAM(Scale(3, dpi), Scale(3, dpi)));
  SendMessageA(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  SendMessageA(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(tabFont), FALSE);
  SendMessageA(Window(Ctl::BitBtn3), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(closeGlyph));

  if (images_ != nullptr) {  // what the new ones replace
    ImageList_Destroy(images_);
    DestroyIcon(closeGlyph_);
    DeleteObject(tabFont_);
    DeleteObject(font_);
  }
  font_ = font;
  tabFont_ = tabFont;
  images_ = images;
  closeGlyph_ = closeGlyph;
  PlaceControls();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::PlaceControls() {
  const Form1Control &group = Form1ControlOf(Ctl::GroupBox2);  // its controls are placed from its place
  for (const Form1Control &control : Form1Controls()) {
    if (control.kind == ControlKind::Page) continue;
    const POINT offset = control.parent == Ctl::GroupBox2 ? POINT{group.left, group.top} : POINT{};
    const RECT place = Scale(offset.x + control.left, offset.y + control.top, control.width, control.height, dpi_);
    SetWindowPos(Window(control.item), nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const HWND tabs = Window(Ctl::PageControl1);
  RECT display;
  GetClientRect(tabs, &display);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(tabs, hwnd_, reinterpret_cast<POINT *>(&display), 2);
  for (const Form1Page &page : kForm1Pages)
    SetWindowPos(Window(page.sheet), nullptr, display.left, display.top, display.right - display.left,
                 display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *form = reinterpret_cast<TForm1 *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    form = static_cast<TForm1 *>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (form == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  // A failure that escapes a handler is reported; the action is abandoned.
  try {
    return form->Handle(message, wParam, lParam);
  } catch (const std::exception &failure) {
    ReportFailure(hwnd, failure.what());
    return 0;
  }
}

LRESULT TForm1::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      if (HIWORD(wParam) != BN_CLICKED) break;
      switch (static_cast<Ctl>(LOWORD(wParam) - kFirstId)) {
        case Ctl::BitBtn1: logic_.BitBtn1Click(); return 0;
        case Ctl::BitBtn2: logic_.BitBtn2Click(); return 0;
        // Of the close kind: closes the window, which runs FormClose.
        case Ctl::BitBtn3: PostMessageA(hwnd_, WM_CLOSE, 0, 0); return 0;
        case Ctl::CheckBox3: logic_.CheckBox3Click(); return 0;
        default: break;
      }
      break;
    }
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR *>(lParam)->code == TCN_SELCHANGE) ShowActivePageOnly();
      break;
    case WM_CTLCOLORSTATIC:
      // Edit4, read-only, in the tooltip colour.
      if (reinterpret_cast<HWND>(lParam) == Window(Ctl::Edit4)) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
      }
      break;
    case WM_ACTIVATE:
      // The focus leaves with the window and comes back to the same control.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (const HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd_, focus)) focus_ = focus;
      } else if (focus_ != nullptr && IsWindowEnabled(focus_) && IsWindowVisible(focus_)) {
        SetFocus(focus_);
      }
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: scaled again, in the place that
      // Windows suggests.
      UseDpi(HIWORD(wParam));
      const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case kDeviceConnect:
      logic_.OnConnect();
      return 0;
    case WM_CLOSE:
      logic_.FormClose();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void TForm1::Dispatch(MSG &msg, HWND form) {
  if (IsWindow(form) && IsDialogMessageA(form, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

Page TForm1::ActivePage() const {
  const HWND tabs = Window(Ctl::PageControl1);
  TCITEMA item = {};
  item.mask = TCIF_PARAM;
  SendMessageA(tabs, TCM_GETITEMA, SendMessageA(tabs, TCM_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(&item));
  return static_cast<Page>(item.lParam);
}

int TForm1::TabPosition(Page page) const {
  int position = 0;
  for (int index = 0; index < static_cast<int>(page); ++index) position += tabShown_[index] ? 1 : 0;
  return position;
}

void TForm1::ShowActivePageOnly() {
  const Page active = ActivePage();
  for (const Form1Page &page : kForm1Pages) ShowWindow(Window(page.sheet), page.page == active ? SW_SHOW : SW_HIDE);
}

std::string TForm1::Text(Control control) const {
  const HWND hwnd = Of(control);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TForm1::SetText(Control control, const std::string &text) { SetWindowTextA(Of(control), text.c_str()); }

void TForm1::SetCaption(const std::string &caption) { SetWindowTextA(hwnd_, caption.c_str()); }

bool TForm1::Enabled(Control control) const { return IsWindowEnabled(Of(control)) != FALSE; }

void TForm1::SetEnabled(Control control, bool enabled) { EnableWindow(Of(control), enabled ? TRUE : FALSE); }

bool TForm1::Checked(Control control) const { return SendMessageA(Of(control), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TForm1::SetChecked(Control control, bool checked) {
  SendMessageA(Of(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TForm1::ShowTab(Page page, bool shown) {
  const int index = static_cast<int>(page);
  if (tabShown_[index] == shown) return;
  const HWND tabs = Window(Ctl::PageControl1);
  const int position = TabPosition(page);
  // A hidden page has no tab at all, so that no input can select it.
  if (shown) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<char *>(kForm1Pages[index].caption);
    item.iImage = kForm1Pages[index].icon;
    item.lParam = index;
    SendMessageA(tabs, TCM_INSERTITEMA, position, reinterpret_cast<LPARAM>(&item));
  } else {
    const bool active = SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == position;
    SendMessageA(tabs, TCM_DELETEITEM, position, 0);
    if (active) {
      SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
      ShowActivePageOnly();
    }
  }
  tabShown_[index] = shown;
}

void TForm1::SetActivePage(Page page) {
  if (!tabShown_[static_cast<int>(page)]) return;
  SendMessageA(Window(Ctl::PageControl1), TCM_SETCURSEL, TabPosition(page), 0);
  ShowActivePageOnly();
}

void TForm1::Focus(Control control) { SetFocus(Of(control)); }

void TForm1::ShowMessageBox(const std::string &text, MessageIcon icon) {
  win32::ShowMessageBox(hwnd_, text, static_cast<UINT>(icon));
}

short TForm1::WhileWaiting(const std::function<short()> &call) {
  // Stays until the window's own cursor is set again, at the next mouse move.
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  return call();
}

StoreAccess TForm1::ReadStoredAddress(std::string &address) { return ReadTargetAddress(address); }

StoreAccess TForm1::WriteStoredAddress(const std::string &address) { return WriteTargetAddress(address); }

bool TForm1::RunConnectDialog(std::string &address) { return TConnectDlg::Run(instance_, hwnd_, address); }

void TForm1::PostConnect() {
  // The read blocks the window: paint where the dialog was before it starts.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PostMessageA(hwnd_, kDeviceConnect, 0, 0);
}

}  // namespace relaytool::win32
