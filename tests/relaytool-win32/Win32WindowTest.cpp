// relaytool.exe's windows under Wine, driven by their messages against
// stand-in boards on 127.6.N.1 (N one per test). The registry of the test's
// prefix is seeded with a loopback address, so that no window is ever offered
// the default board address to connect to.
#include "Win32TestSupport.h"

#include <Resources.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace relaytool {

// A control by its position in Form1Item (Ctl).
void PrintTo(Form1Item ctl, std::ostream *out) { *out << "Ctl " << static_cast<int>(ctl); }

}  // namespace relaytool

namespace relaytool::win32 {

namespace testing {

void PrintTo(const Box &box, std::ostream *out) { *out << '"' << box.text << "\" icon " << box.icon; }

namespace {

constexpr char kTitle[] = RELAY_PRODUCT;  // the product's name, as the build defines it
constexpr char kKey[] = "Software\\Fenmoor\\Vantor Config Util";

std::string Address(int test) { return "127.6." + std::to_string(test) + ".1"; }

Ctl Radio(int number) { return static_cast<Ctl>(static_cast<int>(Ctl::RadioButton1) + number - 1); }

void ExpectWithinWorkArea(HWND window) {
  RECT shown;
  RECT work;
  GetWindowRect(window, &shown);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(shown.left >= work.left && shown.top >= work.top && shown.right <= work.right &&
              shown.bottom <= work.bottom)
      << TextOf(window) << " at " << shown.left << "," << shown.top << " to " << shown.right << "," << shown.bottom
      << "; the work area ends at " << work.right << "," << work.bottom;
}

class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveStoredAddress();
    StoreAddress(Address(255));  // nothing listens there
  }
  void TearDown() override { RemoveStoredAddress(); }

  // Opens the main window as the program does.
  void Open() {
    form = std::make_unique<TForm1>(GetModuleHandleA(nullptr));
    ShowWindow(form->Handle(), SW_SHOWNORMAL);
    Pump(form->Handle());
  }
  HWND Win(Ctl ctl) const { return form->Window(ctl); }
  HWND Tabs() const { return Win(Ctl::PageControl1); }
  std::vector<std::string> TabCaptions() const {
    std::vector<std::string> captions;
    for (int position = 0; position < TabCtrl_GetItemCount(Tabs()); ++position) {
      char text[64] = {};
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      TabCtrl_GetItem(Tabs(), position, &item);
      captions.emplace_back(text);
    }
    return captions;
  }
  bool Checked(Ctl ctl) const { return SendMessageA(Win(ctl), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The window's control `hwnd` is; Ctl::Count for any other window.
  Ctl CtlOf(HWND hwnd) const {
    int ctl = 0;
    while (ctl < static_cast<int>(Ctl::Count) && Win(static_cast<Ctl>(ctl)) != hwnd) ++ctl;
    return static_cast<Ctl>(ctl);
  }
  void ExpectDisconnected() const {
    EXPECT_EQ(TextOf(form->Handle()), kTitle);
    EXPECT_EQ(TabCaptions(), std::vector<std::string>{"Network"});
    EXPECT_EQ(form->ActivePage(), Page::TabSheet1);
    EXPECT_TRUE(IsWindowVisible(Win(Ctl::TabSheet1)));
    EXPECT_EQ(TextOf(Win(Ctl::BitBtn1)), "Connect");
    EXPECT_FALSE(IsWindowEnabled(Win(Ctl::BitBtn2)));
    EXPECT_FALSE(IsWindowEnabled(Win(Ctl::Edit1)));
    EXPECT_EQ(TextOf(Win(Ctl::lblVersion)), "");
  }

  RecordedBoxes recorded;
  std::unique_ptr<TForm1> form;

};

// --- Connecting, per capability -------------------------------------------

struct ModelRow {
  const char *model;
  std::vector<std::string> tabs;
};

class ConnectPerModel : public Win32Window, public ::testing::WithParamInterface<std::pair<int, ModelRow>> {};

TEST_P(ConnectPerModel, ShowsThePagesOfTheBoardsCapabilities) {
  const auto &[test, row] = GetParam();
  const auto board = StartBoard(Address(test), row.model);
  Open();
  ConnectTo(*form, Address(test));
  EXPECT_TRUE(recorded.boxes.empty()) << ::testing::PrintToString(recorded.boxes);
  EXPECT_EQ(TabCaptions(), row.tabs);
  EXPECT_EQ(form->ActivePage(), Page::TabSheet1);
  EXPECT_EQ(TextOf(form->Handle()), std::string(kTitle) + " - " + Address(test));
  EXPECT_EQ(TextOf(Win(Ctl::Edit1)), Address(test));
  EXPECT_TRUE(IsWindowEnabled(Win(Ctl::Edit1)));
  EXPECT_EQ(TextOf(Win(Ctl::BitBtn1)), "Disconnect");
  EXPECT_TRUE(IsWindowEnabled(Win(Ctl::BitBtn2)));
  if (std::string(row.model) == "remote") {
    EXPECT_EQ(TextOf(Win(Ctl::lblVersion)), "Firmware version: 1.0.3");
    EXPECT_EQ(TextOf(Win(Ctl::Edit4)), "RB0000000000W3");
    EXPECT_TRUE(Checked(Ctl::CheckBox3));
    EXPECT_TRUE(IsWindowEnabled(Win(Ctl::Edit7)));
  }
  if (std::string(row.model) != "basic") {  // key modes 12312312
    for (int k = 1; k <= 8; ++k)
      for (int mode = 1; mode <= 3; ++mode)
        EXPECT_EQ(Checked(Radio(3 * (k - 1) + mode)), mode == "12312312"[k - 1] - '0')
            << "key " << k << " mode " << mode;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectPerModel,
    ::testing::Values(std::pair{1, ModelRow{"basic", {"Network", "Others"}}},
                      std::pair{2, ModelRow{"keys", {"Network", "Key Press", "Others"}}},
                      std::pair{3, ModelRow{"remote", {"Network", "Remote Control", "Key Press", "Others"}}}),
    [](const auto &info) { return std::string(info.param.second.model); });

TEST_F(Win32Window, AFailedReadShowsTheLibrarysMessageAndStaysDisconnected) {
  Open();
  ConnectTo(*form, Address(4));  // nothing listens
  ASSERT_EQ(recorded.boxes.size(), 1u) << ::testing::PrintToString(recorded.boxes);
  EXPECT_EQ(recorded.boxes[0].text, "Can not connect to the device.");
  EXPECT_EQ(recorded.boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
  EXPECT_FALSE(recorded.boxes[0].ownedByDialog);
  ExpectDisconnected();
}

// --- Hidden pages ----------------------------------------------------------

struct PagesRow {
  int test;
  const char *model;  // "none": not connected
  // For each shown tab, in strip order: the controls that Tab reaches from
  // the strip, one after another.
  std::vector<std::vector<Ctl>> tabOrders;
};

// The page's fields, then Connect (or Disconnect), Save, Exit and the strip.
std::vector<Ctl> FieldsThenButtons(std::vector<Ctl> fields) {
  fields.insert(fields.end(), {Ctl::BitBtn1, Ctl::BitBtn2, Ctl::BitBtn3, Ctl::PageControl1});
  return fields;
}

const std::vector<Ctl> kNetworkOrder = FieldsThenButtons({Ctl::Edit1, Ctl::Edit2, Ctl::Edit3});
const std::vector<Ctl> kRemoteControlOrder =
    FieldsThenButtons({Ctl::Edit4, Ctl::CheckBox3, Ctl::Edit5, Ctl::Edit6, Ctl::Edit7});
// Each key's checked mode of 12312312.
const std::vector<Ctl> kKeyPressOrder =
    FieldsThenButtons({Radio(1), Radio(5), Radio(9), Radio(10), Radio(14), Radio(18), Radio(19), Radio(23)});
const std::vector<Ctl> kOthersOrder = FieldsThenButtons({Ctl::CheckBox1});

// Every way of moving in the tab strip or through the controls reaches only
// pages whose tab is shown; Tab goes from the strip through the page's fields
// in reading order to the buttons and back to the strip; Disconnect from any
// page returns to "Network".
class HiddenPages : public Win32Window, public ::testing::WithParamInterface<PagesRow> {};

TEST_P(HiddenPages, AreUnreachableByEveryInput) {
  const PagesRow &row = GetParam();
  const bool connected = std::string(row.model) != "none";
  const auto board = connected ? StartBoard(Address(row.test), row.model) : nullptr;
  Open();
  if (connected) ConnectTo(*form, Address(row.test));
  const std::size_t shown = TabCaptions().size();
  ASSERT_EQ(row.tabOrders.size(), shown);
  for (std::size_t position = 0; position < shown; ++position) {
    ClickTab(form->Handle(), Tabs(), static_cast<int>(position));
    SetFocus(Tabs());
    std::vector<Ctl> reached;
    for (std::size_t press = 0; press < row.tabOrders[position].size(); ++press) {
      PressKey(form->Handle(), VK_TAB);
      reached.push_back(CtlOf(GetFocus()));
    }
    EXPECT_EQ(reached, row.tabOrders[position]) << "from the strip on tab " << position;
  }
  SetFocus(Tabs());
  const struct {
    WPARAM key;
    bool control;
  } keys[] = {{VK_RIGHT, false}, {VK_END, false}, {VK_LEFT, false}, {VK_HOME, false},
              {VK_TAB, true},    {VK_NEXT, true}, {VK_PRIOR, true}};
  for (int round = 0; round < 6; ++round) {
    for (const auto &key : keys) {
      PressKey(form->Handle(), key.key, key.control);
      SetFocus(Tabs());
      EXPECT_EQ(TabCaptions().size(), shown);
      EXPECT_TRUE(IsWindowVisible(Win(static_cast<Ctl>(static_cast<int>(Ctl::TabSheet1) +
                                                       static_cast<int>(form->ActivePage())))));
    }
    SendMessageA(Tabs(), WM_MOUSEWHEEL, MAKEWPARAM(0, round % 2 ? WHEEL_DELTA : -WHEEL_DELTA), 0);
    Pump(form->Handle());
  }
  // Tab through every control: each has its page shown.
  for (int press = 0; press < 60; ++press) {
    PressKey(form->Handle(), VK_TAB);
    const HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(IsWindowVisible(focus)) << TextOf(focus);
  }
  for (std::size_t position = 0; connected && position < shown; ++position) {
    ClickTab(form->Handle(), Tabs(), static_cast<int>(position));
    Click(form->Handle(), Win(Ctl::BitBtn1));  // Disconnect
    ExpectDisconnected();
    ConnectTo(*form, Address(row.test));
  }
  EXPECT_TRUE(recorded.boxes.empty()) << ::testing::PrintToString(recorded.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HiddenPages,
    ::testing::Values(PagesRow{10, "none", {{Ctl::BitBtn1, Ctl::BitBtn3, Ctl::PageControl1}}},
                      PagesRow{11, "basic", {kNetworkOrder, kOthersOrder}},
                      PagesRow{12, "keys", {kNetworkOrder, kKeyPressOrder, kOthersOrder}},
                      PagesRow{13, "remote", {kNetworkOrder, kRemoteControlOrder, kKeyPressOrder, kOthersOrder}}),
    [](const auto &info) { return std::string(info.param.model); });

// --- Editing ---------------------------------------------------------------

TEST_F(Win32Window, APasteIsCutToTheTypingLimit) {
  const auto board = StartBoard(Address(20), "remote");
  Open();
  ConnectTo(*form, Address(20));
  const std::string pasted(66, '7');
  ASSERT_TRUE(OpenClipboard(form->Handle()));
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, pasted.size() + 1);
  memcpy(GlobalLock(memory), pasted.c_str(), pasted.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  for (const auto &[edit, limit] : {std::pair{Ctl::Edit6, 39u}, std::pair{Ctl::Edit7, 6u}}) {
    SetWindowTextA(Win(edit), "");
    SendMessageA(Win(edit), WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(Win(edit)), pasted.substr(0, limit));
  }
}

TEST_F(Win32Window, ARadioGroupsTabStopIsItsCheckedButtonAndArrowsMoveWithinIt) {
  const auto board = StartBoard(Address(21), "keys");
  Open();
  ConnectTo(*form, Address(21));
  const auto button = [this](int number) { return Win(Radio(number)); };
  for (int number = 1; number <= kModeButtons; ++number)
    EXPECT_EQ((GetWindowLongA(button(number), GWL_STYLE) & WS_TABSTOP) != 0, Checked(Radio(number)))
        << "RadioButton" << number;
  ClickTab(form->Handle(), Tabs(), 1);
  SetFocus(button(5));  // key 2, "Follow", checked
  PressKey(form->Handle(), VK_RIGHT);
  EXPECT_EQ(GetFocus(), button(6));
  EXPECT_TRUE(Checked(Radio(6)));
  EXPECT_FALSE(Checked(Radio(5)));
  EXPECT_NE(GetWindowLongA(button(6), GWL_STYLE) & WS_TABSTOP, 0);
  PressKey(form->Handle(), VK_TAB);
  EXPECT_EQ(GetFocus(), button(9));  // key 3's checked "Jog"
}

// --- Saving ----------------------------------------------------------------

TEST_F(Win32Window, SaveWithoutEditsStaysConnected) {
  const auto board = StartBoard(Address(30), "remote");
  Open();
  ConnectTo(*form, Address(30));
  Click(form->Handle(), Win(Ctl::BitBtn2));
  ASSERT_EQ(recorded.boxes.size(), 1u) << ::testing::PrintToString(recorded.boxes);
  EXPECT_EQ(recorded.boxes[0].text, "Config was saved successfully.");
  EXPECT_EQ(recorded.boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(TextOf(Win(Ctl::BitBtn1)), "Disconnect");
}

TEST_F(Win32Window, SaveOfAChangeRestartsTheBoardAndDisconnectsWithTheFocusOnConnect) {
  const auto board = StartBoard(Address(31), "remote");
  Open();
  ConnectTo(*form, Address(31));
  SetWindowTextA(Win(Ctl::Edit3), "127.6.31.254");
  SetFocus(Win(Ctl::BitBtn2));
  Click(form->Handle(), Win(Ctl::BitBtn2));
  ASSERT_EQ(recorded.boxes.size(), 1u) << ::testing::PrintToString(recorded.boxes);
  EXPECT_EQ(recorded.boxes[0].text, "Config was saved successfully, and device was restarted.");
  EXPECT_EQ(recorded.boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  ExpectDisconnected();
  EXPECT_EQ(TextOf(Win(Ctl::Edit3)), "127.6.31.254");
  EXPECT_EQ(GetFocus(), Win(Ctl::BitBtn1));
}

struct RejectedRow {
  int test;
  Ctl field;
  const char *text;
  Page page;
  const char *message;
};

class RejectedField : public Win32Window, public ::testing::WithParamInterface<RejectedRow> {};

TEST_P(RejectedField, LeadsToItsPageAndField) {
  const RejectedRow &row = GetParam();
  const auto board = StartBoard(Address(row.test), "remote");
  Open();
  ConnectTo(*form, Address(row.test));
  ClickTab(form->Handle(), Tabs(), 3);  // start on "Others"
  SetWindowTextA(Win(row.field), row.text);
  Click(form->Handle(), Win(Ctl::BitBtn2));
  ASSERT_EQ(recorded.boxes.size(), 1u) << ::testing::PrintToString(recorded.boxes);
  EXPECT_EQ(recorded.boxes[0].text, row.message);
  EXPECT_EQ(recorded.boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(form->ActivePage(), row.page);
  EXPECT_TRUE(IsWindowVisible(Win(row.field)));
  EXPECT_EQ(GetFocus(), Win(row.field));
  EXPECT_EQ(TextOf(Win(Ctl::BitBtn1)), "Disconnect");
}

INSTANTIATE_TEST_SUITE_P(Rows, RejectedField,
                         ::testing::Values(RejectedRow{40, Ctl::Edit1, "1.2.3", Page::TabSheet1, "Wrong IP address."},
                                           RejectedRow{41, Ctl::Edit2, "1.2.3", Page::TabSheet1, "Subnet mask is wrong."},
                                           RejectedRow{42, Ctl::Edit3, "1.2.3", Page::TabSheet1, "Gateway is wrong."},
                                           RejectedRow{43, Ctl::Edit5, "1.2.3", Page::TabSheet4, "DNS is wrong."},
                                           RejectedRow{44, Ctl::Edit6, "", Page::TabSheet4,
                                                       "Please enter the server for remote control."},
                                           RejectedRow{45, Ctl::Edit7, "12345", Page::TabSheet4,
                                                       "Password should be 6 digits."}),
                         [](const auto &info) { return "Code" + std::to_string(2000 + info.param.test - 39); });

// --- The connect dialog ----------------------------------------------------

struct DialogRow {
  int test;
  std::string typed;  // typed over the offered address, which is selected
  std::vector<Box> boxes;
  const char *accepted;  // the address connected to; "" when the dialog was cancelled
  bool onScreen = false;  // the boxes are shown as the program shows them, and looked at
};

class ConnectDialog : public Win32Window, public ::testing::WithParamInterface<DialogRow> {};

TEST_P(ConnectDialog, ChecksTheTypedAddress) {
  const DialogRow &row = GetParam();
  const auto board = StartBoard(Address(row.test), "basic");
  Open();
  if (row.onScreen)
    recorded.onScreen = [this](HWND box) {
      ExpectWithinWorkArea(box);
      EXPECT_EQ(TextOf(GetDlgItem(box, IDC_MESSAGETEXT)), recorded.boxes.back().text);  // as it is: no break added
    };
  std::string offered;
  DWORD selectionEnd = 0;
  WithConnectDialog(*form, {[&](HWND dialog) {
                              offered = TextOf(GetDlgItem(dialog, IDC_EDIT1));
                              SendDlgItemMessageA(dialog, IDC_EDIT1, EM_GETSEL, 0,
                                                  reinterpret_cast<LPARAM>(&selectionEnd));
                              for (const char c : row.typed)
                                SendDlgItemMessageA(dialog, IDC_EDIT1, WM_CHAR, static_cast<unsigned char>(c), 1);
                            },
                            PressOk()});
  EXPECT_EQ(offered, Address(255));
  EXPECT_EQ(selectionEnd, Address(255).size());  // all selected
  ASSERT_EQ(recorded.boxes.size(), row.boxes.size()) << ::testing::PrintToString(recorded.boxes);
  for (std::size_t i = 0; i < row.boxes.size(); ++i) {
    EXPECT_EQ(recorded.boxes[i].text, row.boxes[i].text);
    EXPECT_EQ(recorded.boxes[i].icon, row.boxes[i].icon);
    EXPECT_TRUE(recorded.boxes[i].ownedByDialog);
  }
  EXPECT_EQ(form->Logic().CurrentTargetAddress(), *row.accepted ? row.accepted : Address(255));
  EXPECT_EQ(TextOf(Win(Ctl::BitBtn1)), *row.accepted ? "Disconnect" : "Connect");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectDialog,
    ::testing::Values(DialogRow{50, " 127.006.50.1 ", {}, "127.6.50.1"},
                      DialogRow{51, "127.6.51", {{"IP address is wrong.", MB_ICONINFORMATION, true}}, ""},
                      DialogRow{52, "\b", {{"IP address is wrong.", MB_ICONINFORMATION, true}}, ""},
                      DialogRow{53, "127.6.53.a", {{"'a' is not a valid integer value.", MB_ICONERROR, true}}, ""},
                      // A text with no room to break: as wide as 2,000 pixels in one line.
                      DialogRow{54,
                                "1.2.3." + std::string(300, '7'),
                                {{"'" + std::string(300, '7') + "' is not a valid integer value.", MB_ICONERROR, true}},
                                "",
                                true}),
    [](const auto &info) { return "Row" + std::to_string(info.param.test); });

// --- The remembered address ------------------------------------------------

struct StoreRow {
  const char *name;
  void (*setUp)();
  const char *offered;
  std::vector<std::string> boxes;
  const char *stored;  // after Exit; nullptr: the key is absent
};

class RememberedAddress : public Win32Window, public ::testing::WithParamInterface<StoreRow> {};

std::string StoredText() {
  char text[256] = {};
  DWORD size = sizeof text;
  DWORD type = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, kKey, kTargetAddressValue, RRF_RT_ANY | RRF_NOEXPAND, &type, text, &size) !=
      ERROR_SUCCESS)
    return "<absent>";
  return type == REG_SZ ? text : "<not REG_SZ>";
}

TEST_P(RememberedAddress, IsOfferedAndStoredAtExit) {
  const StoreRow &row = GetParam();
  RemoveStoredAddress();
  row.setUp();
  Open();
  std::string offered;
  WithConnectDialog(*form, {[&offered](HWND dialog) { offered = TextOf(GetDlgItem(dialog, IDC_EDIT1)); }});
  EXPECT_EQ(offered, row.offered);
  Click(form->Handle(), Win(Ctl::BitBtn3));  // Exit
  EXPECT_FALSE(IsWindow(form->Handle()));
  std::vector<std::string> texts;
  for (const Box &box : recorded.boxes) {
    texts.push_back(box.text);
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
  }
  EXPECT_EQ(texts, row.boxes);
  EXPECT_EQ(StoredText(), row.stored ? row.stored : "<absent>");
}

void SetValue(DWORD type, const void *data, DWORD size) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kTargetAddressValue, type, data, size);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RememberedAddress,
    ::testing::Values(
        StoreRow{"FirstRun", [] {}, "192.168.1.100", {}, "192.168.1.100"},
        StoreRow{"StoredEmpty", [] { SetValue(REG_SZ, "", 1); }, "192.168.1.100", {}, "192.168.1.100"},
        StoreRow{"ExpandableNotExpanded", [] { SetValue(REG_EXPAND_SZ, "%SystemRoot%", 13); }, "%SystemRoot%", {},
                 "%SystemRoot%"},
        StoreRow{"HandEditedText", [] { SetValue(REG_SZ, "10.0.0.1, port 5111", 20); }, "10.0.0.1, port 5111", {},
                 "10.0.0.1, port 5111"},
        StoreRow{"WrongType",
                 [] {
                   const DWORD number = 7;
                   SetValue(REG_DWORD, &number, sizeof number);
                 },
                 "",
                 {"Invalid data type for 'Target Address'"},
                 ""},
        // A volatile parent takes no lasting key: nothing is stored, and nothing said.
        StoreRow{"KeyNotCreatable",
                 [] {
                   HKEY parent = nullptr;
                   RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Fenmoor", 0, nullptr, REG_OPTION_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, &parent, nullptr);
                   RegCloseKey(parent);
                 },
                 "192.168.1.100",
                 {},
                 nullptr}),
    [](const auto &info) { return std::string(info.param.name); });

// --- Scaling ---------------------------------------------------------------

// The width a control needs for its caption (measured in its font, with the
// glyph or image beside it) and the width it has; both 0 for a control
// without a caption of its own to fit.
struct CaptionRoom {
  int need;
  int room;
};

CaptionRoom RoomOf(HWND control, UINT dpi) {
  const std::string text = TextOf(control);
  char className[32] = {};
  GetClassNameA(control, className, sizeof className);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  int beside = 0;
  if (text.empty()) return {};
  if (lstrcmpiA(className, WC_STATICA) == 0) {
    if ((style & SS_TYPEMASK) != SS_LEFT) return {};  // pictures, frames, text the program draws
  } else if (lstrcmpiA(className, WC_BUTTONA) == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON: {
        // Inside the button's border, beside its image and a gap as wide as
        // the border.
        const int border = GetSystemMetricsForDpi(SM_CXEDGE, dpi);
        beside = 2 * border;
        if (const auto icon = reinterpret_cast<HICON>(SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0))) {
          ICONINFO info = {};
          GetIconInfo(icon, &info);
          BITMAP image = {};
          GetObjectA(info.hbmColor, sizeof image, &image);
          DeleteObject(info.hbmColor);
          DeleteObject(info.hbmMask);
          beside += image.bmWidth + border;
        }
        break;
      }
      case BS_AUTOCHECKBOX:
      case BS_AUTORADIOBUTTON:
        // The check box or radio glyph, and a gap of 4 design pixels.
        beside = GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + MulDiv(4, static_cast<int>(dpi), 96);
        break;
      default:
        return {};  // GroupBox2, whose caption is CheckBox3
    }
  } else {
    return {};
  }
  const HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  RECT client;
  GetClientRect(control, &client);
  return {size.cx + beside, client.right};
}

// A window as a failure names it: its text, or its class and identifier, and
// its place on the screen.
std::string Named(HWND hwnd) {
  char className[32] = {};
  GetClassNameA(hwnd, className, sizeof className);
  RECT place;
  GetWindowRect(hwnd, &place);
  const std::string text = TextOf(hwnd);
  return (text.empty() ? std::string(className) + " " + std::to_string(GetDlgCtrlID(hwnd)) : '"' + text + '"') +
         " (" + std::to_string(place.left) + "," + std::to_string(place.top) + " to " + std::to_string(place.right) +
         "," + std::to_string(place.bottom) + ")";
}

// Group boxes, etched frames and the tab control lie around other controls.
bool IsFrame(HWND hwnd) {
  char className[32] = {};
  GetClassNameA(hwnd, className, sizeof className);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  return lstrcmpiA(className, WC_TABCONTROLA) == 0 ||
         (lstrcmpiA(className, WC_BUTTONA) == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) ||
         (lstrcmpiA(className, WC_STATICA) == 0 && (style & SS_TYPEMASK) == SS_ETCHEDFRAME);
}

// Every caption among the visible windows in `parent` fits its control at
// `dpi`, and no two of its visible children, frames aside, overlap.
void ExpectFitted(HWND parent, UINT dpi) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) children.push_back(child);
  for (std::size_t i = 0; i < children.size(); ++i) {
    const auto [need, room] = RoomOf(children[i], dpi);
    EXPECT_LE(need, room) << Named(children[i]) << " at " << dpi << " DPI needs " << need << " px, has " << room;
    RECT a;
    GetWindowRect(children[i], &a);
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      RECT b;
      RECT both;
      GetWindowRect(children[j], &b);
      EXPECT_TRUE(IsFrame(children[i]) || IsFrame(children[j]) || !IntersectRect(&both, &a, &b))
          << Named(children[i]) << " and " << Named(children[j]) << " overlap at " << dpi << " DPI";
    }
    ExpectFitted(children[i], dpi);
  }
}

// Tells `window` that it has moved from a monitor of `from` DPI to one of
// `to`, suggesting its place scaled as Windows does; returns that place.
RECT MoveToMonitor(HWND window, UINT from, UINT to) {
  RECT place;
  GetWindowRect(window, &place);
  place.right = place.left + MulDiv(place.right - place.left, static_cast<int>(to), static_cast<int>(from));
  place.bottom = place.top + MulDiv(place.bottom - place.top, static_cast<int>(to), static_cast<int>(from));
  SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&place));
  return place;
}

void ExpectAt(HWND window, const RECT &place) {
  RECT shown;
  GetWindowRect(window, &shown);
  EXPECT_TRUE(EqualRect(&shown, &place)) << Named(window) << ", suggested " << place.left << "," << place.top << " to "
                                         << place.right << "," << place.bottom;
}

struct DpiRow {
  int test;
  UINT dpi;      // the system DPI, as Wine reads it when the row's process starts
  UINT movedTo;  // 0, or the DPI of a monitor the window then moves to
};

class Scaling : public Win32Window, public ::testing::WithParamInterface<DpiRow> {
 protected:
  // The main window, on each page, as laid out for `dpi`.
  void ExpectLaidOut(UINT dpi) {
    EXPECT_EQ(form->Dpi(), dpi);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(Win(Ctl::Edit1), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(13, static_cast<int>(dpi), 96));
    int iconWidth = 0;
    int iconHeight = 0;
    ImageList_GetIconSize(TabCtrl_GetImageList(Tabs()), &iconWidth, &iconHeight);
    EXPECT_EQ(iconWidth, MulDiv(16, static_cast<int>(dpi), 96));
    // The tab strip needs no scroll buttons.
    RECT last;
    RECT strip;
    TabCtrl_GetItemRect(Tabs(), TabCtrl_GetItemCount(Tabs()) - 1, &last);
    GetClientRect(Tabs(), &strip);
    EXPECT_LE(last.right, strip.right);
    for (int position = 0; position < TabCtrl_GetItemCount(Tabs()); ++position) {
      ClickTab(form->Handle(), Tabs(), position);
      ExpectFitted(form->Handle(), dpi);
    }
  }
};

// Wine reads the system DPI from HKCU\Control Panel\Desktop\LogPixels when a
// process starts: a row of another DPI runs again in a process started with
// that value, which is removed when the process has ended.
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kRowDpi[] = "RELAYTOOL_TEST_DPI";

void RunAtSystemDpi(UINT dpi) {
  ASSERT_EQ(GetEnvironmentVariableA(kRowDpi, nullptr, 0), 0u)
      << "the process started for " << dpi << " DPI has " << GetDpiForSystem();
  const ::testing::TestInfo &test = *::testing::UnitTest::GetInstance()->current_test_info();
  std::string command =
      std::string("relaytool_win32_tests --gtest_filter=") + test.test_suite_name() + "." + test.name();
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, sizeof program);
  RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
  SetEnvironmentVariableA(kRowDpi, std::to_string(dpi).c_str());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const BOOL started =
      CreateProcessA(program, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableA(kRowDpi, nullptr);
  DWORD status = 1;
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
  ASSERT_TRUE(started) << program;
  EXPECT_EQ(status, 0u) << "the row failed in its process at " << dpi << " DPI";
}

// The window, the connect dialog and a long message box are laid out for the
// DPI: the main window's fonts and tab icons at its scale, every caption
// fitting its control, no two controls overlapping, the box within the work
// area; and so again after a move to a monitor of another DPI, the window and
// the dialog in the place that Windows suggests.
TEST_P(Scaling, FitsEveryCaptionAndKeepsControlsApart) {
  const DpiRow &row = GetParam();
  if (GetDpiForSystem() != row.dpi) return RunAtSystemDpi(row.dpi);
  const auto board = StartBoard(Address(row.test), "remote");
  Open();
  ConnectTo(*form, Address(row.test));
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, MulDiv(346, static_cast<int>(row.dpi), 96));
  EXPECT_EQ(client.bottom, MulDiv(385, static_cast<int>(row.dpi), 96));
  ExpectLaidOut(row.dpi);
  WithConnectDialog(*form, {[&row](HWND dialog) {
                              ExpectFitted(dialog, row.dpi);
                              if (row.movedTo == 0) return;
                              ExpectAt(dialog, MoveToMonitor(dialog, row.dpi, row.movedTo));
                              ExpectFitted(dialog, row.movedTo);
                            }});
  recorded.onScreen = [&row](HWND box) {
    ExpectWithinWorkArea(box);
    ExpectFitted(box, row.dpi);
    if (row.movedTo == 0) return;
    MoveToMonitor(box, row.dpi, row.movedTo);  // sized anew for its text
    ExpectWithinWorkArea(box);
    ExpectFitted(box, row.movedTo);
  };
  form->ShowMessageBox("'" + std::string(300, '7') + "' is not a valid integer value.", MessageIcon::Error);
  recorded.onScreen = nullptr;
  if (row.movedTo == 0) return;
  ExpectAt(form->Handle(), MoveToMonitor(form->Handle(), row.dpi, row.movedTo));
  ExpectLaidOut(row.movedTo);
}

INSTANTIATE_TEST_SUITE_P(Rows, Scaling,
                         ::testing::Values(DpiRow{60, 96, 192}, DpiRow{61, 144, 0}, DpiRow{62, 192, 96}),
                         [](const auto &info) {
                           return "Dpi" + std::to_string(info.param.dpi) +
                                  (info.param.movedTo ? "MovedTo" + std::to_string(info.param.movedTo) : "");
                         });

}  // namespace
}  // namespace testing
}  // namespace relaytool::win32
