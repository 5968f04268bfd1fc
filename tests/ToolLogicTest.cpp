// relaytool's handlers against a fake window and a fake relaylink that log,
// in one list, the library calls and the window's actions.
#include <Form1Layout.h>
#include <WindowLogic.h>

#include <IntConversion.h>
#include <relaylink.h>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

using namespace relaytool;
using Events = std::vector<std::string>;

namespace {

Events events;
void Log(const std::string &event) { events.push_back(event); }

struct FakeLibrary {
  short read = 1, save = 1, code = 0, ready = 1, web = 1, button = 1, misc = 1, enableWeb = 1;
  std::string keys = "12304123";  // key 4 and 5: none of the three modes
} lib;

short Copy(const std::string &text, char *buffer, unsigned short length) {
  buffer[text.copy(buffer, length)] = '\0';
  return 1;
}

std::string Focus(Control control) { return "focus " + std::to_string(static_cast<int>(control)); }

}  // namespace

extern "C" {
#define ANSWER(name, value) \
  short RELAYLINK_CALL name(void) { return value; }
ANSWER(GetErrorCode, lib.code) ANSWER(DeviceCfgReady, lib.ready) ANSWER(CanCfgWeb, lib.web)
ANSWER(CanCfgButton, lib.button) ANSWER(CanCfgMisc, lib.misc) ANSWER(GetEnableWeb, lib.enableWeb)
ANSWER(GetRestoreState, 1) ANSWER(SaveDeviceCfg, (Log("save"), lib.save))
#define GETTER(name) \
  short RELAYLINK_CALL name(char *buffer, unsigned short length) { return Copy(#name, buffer, length); }
GETTER(GetVersion) GETTER(GetIpAddr) GETTER(GetSubMask) GETTER(GetGateway)
GETTER(GetDeviceId) GETTER(GetDns) GETTER(GetWebServer) GETTER(GetPassword)
#define SETTER(name, type, shown, result) \
  short RELAYLINK_CALL name(type value) { return Log(#name " " + shown), result; }
SETTER(SetIpAddr, const char *, std::string(value), 1) SETTER(SetSubMask, const char *, std::string(value), 1)
SETTER(SetGateway, const char *, std::string(value), 1) SETTER(SetDns, const char *, std::string(value), 1)
SETTER(SetWebServer, const char *, std::string(value), 1) SETTER(SetPassword, const char *, std::string(value), 1)
SETTER(SetEnableWeb, short, std::to_string(value), 1) SETTER(SetRestoreState, short, std::to_string(value), 1)
SETTER(ReadDeviceCfg, const char *, std::string(value), lib.read)
short RELAYLINK_CALL SetButtonCfg(short key, short mode) {
  return Log("SetButtonCfg " + std::to_string(key) + std::to_string(mode)), 1;
}
short RELAYLINK_CALL GetButtonCfg(short key) { return static_cast<short>(lib.keys.at(key - 1) - '0'); }
char *RELAYLINK_CALL GetErrorMsg(char *buffer, unsigned short length) { return Copy("msg", buffer, length), buffer; }
}

namespace {

class FakeForm : public Form1View, public ConnectDlgView {
 public:
  std::map<Control, std::string> texts;
  std::map<Control, bool> enabled, checked;
  std::array<bool, 4> tabs{true, false, false, false};
  std::string caption, stored, dialogText;
  StoreAccess access = StoreAccess::Done;
  bool dialogAccepted = true;

  std::string Text(Control control) const override { return texts.at(control); }
  void SetText(Control control, const std::string &text) override { texts[control] = text; }
  void SetCaption(const std::string &text) override { caption = text; }
  bool Enabled(Control control) const override { return enabled.count(control) != 0 && enabled.at(control); }
  void SetEnabled(Control control, bool on) override { enabled[control] = on; }
  bool Checked(Control control) const override { return checked.count(control) != 0 && checked.at(control); }
  void SetChecked(Control control, bool on) override { checked[control] = on; }
  void ShowTab(Page page, bool shown) override { tabs[static_cast<int>(page)] = shown; }
  void SetActivePage(Page page) override { Log("page " + std::to_string(static_cast<int>(page))); }
  void Focus(Control control) override { Log(::Focus(control)); }
  void ShowMessageBox(const std::string &text, MessageIcon icon) override {
    Log("box " + std::to_string(static_cast<unsigned>(icon)) + " " + text);
  }
  short WhileWaiting(const std::function<short()> &call) override { return Log("wait"), call(); }
  StoreAccess ReadStoredAddress(std::string &address) override { return address = stored, access; }
  StoreAccess WriteStoredAddress(const std::string &address) override { return stored = address, access; }
  bool RunConnectDialog(std::string &address) override {
    Log("dialog " + address);
    if (dialogAccepted) address = "10.0.0.7";
    return dialogAccepted;
  }
  void PostConnect() override { Log("post"); }

  std::string Text(DlgControl) const override { return dialogText; }
  void SetText(DlgControl, const std::string &text) override { dialogText = text; }
  void Focus(DlgControl) override { Log("focus dialog"); }
  void CloseWithOk() override { Log("ok"); }
};

class ToolLogic : public ::testing::Test {
 protected:
  ToolLogic() {
    events.clear();
    lib = {};
    for (int edit = 0; edit <= static_cast<int>(Control::Edit7); ++edit)
      form.texts[static_cast<Control>(edit)] = "e" + std::to_string(edit + 1);
  }
  FakeForm form;
  Form1Logic logic{form};
};

TEST_F(ToolLogic, RejectedCodeLeadsToPageAndField) {
  const struct {
    short code;
    Events shown;
  } rows[] = {
      {RELAYLINK_BAD_IP_ADDR, {"page 0", Focus(Control::Edit1), "box 64 msg"}},
      {RELAYLINK_BAD_SUB_MASK, {"page 0", Focus(Control::Edit2), "box 64 msg"}},
      {RELAYLINK_BAD_GATEWAY, {"page 0", Focus(Control::Edit3), "box 64 msg"}},
      {RELAYLINK_BAD_DNS, {"page 1", Focus(Control::Edit5), "box 64 msg"}},
      {RELAYLINK_BAD_WEB_SERVER, {"page 1", Focus(Control::Edit6), "box 64 msg"}},
      {RELAYLINK_BAD_PASSWORD, {"page 1", Focus(Control::Edit7), "box 64 msg"}},
      {RELAYLINK_CONNECT_FAILED, {"save", "box 16 msg"}},
      {RELAYLINK_NOT_READY, {"save", "box 16 msg"}},
  };
  for (const auto &row : rows) {
    lib.save = 0;
    lib.code = row.code;
    logic.BitBtn2Click();
    EXPECT_EQ(Events(events.end() - static_cast<long>(row.shown.size()), events.end()), row.shown) << row.code;
  }
}

TEST_F(ToolLogic, SettersPerCapabilityInOrderThenDisconnected) {
  const Events network{"SetIpAddr e1", "SetSubMask e2", "SetGateway e3"};
  const Events remote{"SetEnableWeb 1", "SetDns e5", "SetWebServer e6", "SetPassword e7"};
  const Events keys{"SetButtonCfg 12", "SetButtonCfg 33"};
  const struct {
    short web, button;
    bool enableRemote;
    std::vector<Events> parts;
  } rows[] = {
      {1, 1, true, {network, remote, keys}},
      {1, 0, false, {network, {"SetEnableWeb 0"}}},
      {0, 1, true, {network, keys}},
  };
  for (const auto &row : rows) {
    events.clear();
    lib = {1, 1, 0, 0, row.web, row.button};
    form.checked = {
        {Control::CheckBox3, row.enableRemote}, {Control::RadioButton2, true}, {Control::RadioButton9, true}};
    logic.BitBtn2Click();
    Events expected;
    for (const Events &part : row.parts) expected.insert(expected.end(), part.begin(), part.end());
    expected.insert(expected.end(), {"SetRestoreState 0", "wait", "save", "box 64 msg", Focus(Control::BitBtn1)});
    EXPECT_EQ(events, expected) << row.web << row.button << row.enableRemote;
    EXPECT_EQ(form.texts[Control::BitBtn1], "Connect");
  }
}

TEST_F(ToolLogic, ConnectShowsWhatEachCapabilityAllows) {
  const struct {
    short web, button, misc, enableWeb;
    std::array<bool, 4> tabs;
    bool firstModeOfKey4;  // a mode none of 1..3 leaves its key unchecked
  } rows[] = {
      {1, 1, 1, 1, {true, true, true, true}, false},
      {0, 1, 0, 0, {true, false, true, false}, false},
      {1, 0, 1, 0, {true, true, false, true}, true},
  };
  for (const auto &row : rows) {
    lib = {1, 1, 0, 1, row.web, row.button, row.misc, row.enableWeb};
    form.enabled.clear();
    form.texts[Control::Edit7] = "e7";
    form.checked = {{Control::RadioButton10, true}};
    logic.OnConnect();
    EXPECT_EQ(form.tabs, row.tabs);
    EXPECT_EQ(form.Checked(Control::RadioButton5), row.button == 1);
    EXPECT_EQ(form.Checked(Control::RadioButton10), row.firstModeOfKey4);
    EXPECT_EQ(form.texts[Control::Edit7], row.web == 1 ? "GetPassword" : "e7");
    EXPECT_EQ(form.Enabled(Control::Edit5), row.web == 1 && row.enableWeb == 1);
    EXPECT_EQ(form.texts[Control::lblVersion], "Firmware version: GetVersion");
    EXPECT_EQ(form.caption, std::string(kApplicationTitle) + " - ");
  }
}

TEST_F(ToolLogic, AddressStepsOfStartAndClose) {
  const struct {
    StoreAccess access;
    std::string stored, address;
    Events boxes;
  } rows[] = {
      {StoreAccess::Done, "10.0.0.7", "10.0.0.7", {}},
      {StoreAccess::Done, "", kDefaultTargetAddress, {}},
      {StoreAccess::NoKey, "", kDefaultTargetAddress, {}},
      {StoreAccess::ValueFailed, "x", "", {"box 16 Invalid data type for 'Target Address'",
                                           "box 16 Failed to set data for 'Target Address'"}},
  };
  for (const auto &row : rows) {
    events.clear();
    Form1Logic start{form};
    form.access = row.access;
    form.stored = row.stored;
    start.FormCreate();
    EXPECT_EQ(start.CurrentTargetAddress(), row.address);
    start.FormClose();
    EXPECT_EQ(events, row.boxes);
  }
}

TEST_F(ToolLogic, ConnectAsksThenPostsAndReadsTheAcceptedAddress) {
  form.dialogAccepted = false;
  logic.BitBtn1Click();
  form.dialogAccepted = true;
  logic.BitBtn1Click();
  lib.read = 0;
  logic.OnConnect();
  EXPECT_EQ(events, (Events{"dialog ", "dialog ", "post", "wait", "ReadDeviceCfg 10.0.0.7", "box 16 msg"}));
  EXPECT_FALSE(form.Enabled(Control::Edit1));
}

TEST_F(ToolLogic, OkChecksTheAddress) {
  const struct {
    std::string typed, kept;
    Events shown;
  } rows[] = {
      {" 192.168.001.100 ", "192.168.1.100", {"ok"}},
      {" 192.168.1 ", "192.168.1", {"focus dialog", "box 64 IP address is wrong."}},
      {"", "", {"focus dialog", "box 64 IP address is wrong."}},
  };
  for (const auto &row : rows) {
    events.clear();
    form.dialogText = row.typed;
    OKBtnClick(form);
    EXPECT_EQ(form.dialogText, row.kept);
    EXPECT_EQ(events, row.shown);
  }
  form.dialogText = "192.168.1.a";
  EXPECT_THROW(OKBtnClick(form), relay::ConversionError);
  EXPECT_EQ(form.dialogText, "192.168.1.a");
}

TEST(FullStop, AddedAfterACharacterAboveTheFullStop) {
  for (const auto &[text, shown] : std::vector<std::pair<std::string, std::string>>{
           {"Disk on fire", "Disk on fire."}, {"a/", "a/."}, {"Done.", "Done."}, {"a-", "a-"},
           {"'x'", "'x'"}, {"", ""}, {"\xe9", "\xe9."}})
    EXPECT_EQ(WithFullStop(text), shown) << text;
}

}  // namespace

// Each control of the main window once, under a name of its own, after its
// parent: the Windows window is made in this order, a parent first.
TEST(Form1Layout, EveryControlOnceAfterItsParent) {
  std::map<Form1Item, int> position;
  std::map<std::string, int> names;
  for (const Form1Control &control : Form1Controls()) {
    EXPECT_TRUE(control.parent == Form1Item::Form || position.count(control.parent) != 0) << control.name;
    position[control.item] = static_cast<int>(position.size());
    ++names[control.name];
  }
  EXPECT_EQ(position.size(), Form1Controls().size()) << "an item twice";
  EXPECT_EQ(position.size(), static_cast<std::size_t>(Form1Item::Count)) << "an item missing";
  EXPECT_EQ(names.size(), position.size()) << "a name twice";
  for (int number = 1; number <= kModeButtons; ++number)
    EXPECT_EQ(Form1ControlOf(static_cast<Form1Item>(RadioButton(number))).name, "RadioButton" + std::to_string(number));
}
