// The windows' handlers against a fake window and a fake relaylink: the steps
// of a connect per capability, the order of the setters, the rejected-field
// table, the address steps and the full-stop rule, with no toolkit and no board.
#include <WindowLogic.h>

#include <IntConversion.h>
#include <relaylink.h>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

using namespace relaytool;

namespace {

std::vector<std::string> events;  // library calls and window actions, in order
void Log(const std::string &event) { events.push_back(event); }

struct FakeLibrary {
  short read = 1, save = 1, code = 0, ready = 1, web = 1, button = 1, misc = 1, enableWeb = 1;
  std::string keys = "12304123";
} lib;

short Copy(const char *text, char *buffer, unsigned short length) {
  buffer[std::string(text).copy(buffer, length)] = '\0';
  return 1;
}

std::string Name(Control control) { return "control " + std::to_string(static_cast<int>(control)); }

}  // namespace

extern "C" {
short RELAYLINK_CALL ReadDeviceCfg(const char *address) { return Log(std::string("read ") + address), lib.read; }
short RELAYLINK_CALL SaveDeviceCfg(void) { return Log("save"), lib.save; }
short RELAYLINK_CALL GetErrorCode(void) { return lib.code; }
char *RELAYLINK_CALL GetErrorMsg(char *buffer, unsigned short length) { return Copy("msg", buffer, length), buffer; }
short RELAYLINK_CALL DeviceCfgReady(void) { return lib.ready; }
short RELAYLINK_CALL CanCfgWeb(void) { return lib.web; }
short RELAYLINK_CALL CanCfgButton(void) { return lib.button; }
short RELAYLINK_CALL CanCfgMisc(void) { return lib.misc; }
short RELAYLINK_CALL GetEnableWeb(void) { return lib.enableWeb; }
short RELAYLINK_CALL GetRestoreState(void) { return 1; }
short RELAYLINK_CALL GetButtonCfg(short key) { return static_cast<short>(lib.keys.at(key - 1) - '0'); }
#define TEXT_GETTER(name) \
  short RELAYLINK_CALL name(char *buffer, unsigned short length) { return Copy(#name, buffer, length); }
TEXT_GETTER(GetVersion) TEXT_GETTER(GetIpAddr) TEXT_GETTER(GetSubMask) TEXT_GETTER(GetGateway)
TEXT_GETTER(GetDeviceId) TEXT_GETTER(GetDns) TEXT_GETTER(GetWebServer) TEXT_GETTER(GetPassword)
#define SETTER(name, type) \
  short RELAYLINK_CALL name(type value) { return Log(#name " " + std::string(value)), 1; }
SETTER(SetIpAddr, const char *) SETTER(SetSubMask, const char *) SETTER(SetGateway, const char *)
SETTER(SetDns, const char *) SETTER(SetWebServer, const char *) SETTER(SetPassword, const char *)
short RELAYLINK_CALL SetEnableWeb(short flag) { return Log("SetEnableWeb " + std::to_string(flag)), 1; }
short RELAYLINK_CALL SetRestoreState(short flag) { return Log("SetRestoreState " + std::to_string(flag)), 1; }
short RELAYLINK_CALL SetButtonCfg(short key, short mode) {
  return Log("SetButtonCfg " + std::to_string(key) + " " + std::to_string(mode)), 1;
}
}

namespace {

class FakeForm : public Form1View, public ConnectDlgView {
 public:
  std::map<Control, std::string> texts;
  std::map<Control, bool> enabled, checked;
  std::array<bool, 4> tabs{true, false, false, false};
  std::string caption, stored, dialogText = "Edit1";
  StoreAccess access = StoreAccess::Done;
  bool dialogAccepted = true;

  std::string Text(Control control) const override { return texts.at(control); }
  void SetText(Control control, const std::string &text) override { texts[control] = text; }
  void SetCaption(const std::string &text) override { caption = text; }
  bool Enabled(Control control) const override { return enabled.at(control); }
  void SetEnabled(Control control, bool on) override { enabled[control] = on; }
  bool Checked(Control control) const override { return checked.at(control); }
  void SetChecked(Control control, bool on) override { checked[control] = on; }
  void ShowTab(Page page, bool shown) override { tabs[static_cast<int>(page)] = shown; }
  void SetActivePage(Page page) override { Log("page " + std::to_string(static_cast<int>(page))); }
  void Focus(Control control) override { Log("focus " + Name(control)); }
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

  // The radio buttons checked, by number.
  std::vector<int> CheckedModes() const {
    std::vector<int> numbers;
    for (int number = 1; number <= 24; ++number)
      if (checked.count(RadioButton(number)) != 0 && checked.at(RadioButton(number))) numbers.push_back(number);
    return numbers;
  }
};

class ToolLogic : public ::testing::Test {
 protected:
  ToolLogic() {
    events.clear();
    lib = {};
    for (int i = 0; i <= static_cast<int>(Control::RadioButton24); ++i) {
      const auto control = static_cast<Control>(i);
      form.texts[control] = "e" + std::to_string(i + 1);
      form.enabled[control] = form.checked[control] = false;
    }
  }
  FakeForm form;
  Form1Logic logic{form};
};

TEST_F(ToolLogic, RejectedCodeLeadsToPageAndField) {
  const struct {
    short code;
    std::vector<std::string> shown;
  } rows[] = {
      {RELAYLINK_BAD_IP_ADDR, {"page 0", "focus " + Name(Control::Edit1), "box 64 msg"}},
      {RELAYLINK_BAD_SUB_MASK, {"page 0", "focus " + Name(Control::Edit2), "box 64 msg"}},
      {RELAYLINK_BAD_GATEWAY, {"page 0", "focus " + Name(Control::Edit3), "box 64 msg"}},
      {RELAYLINK_BAD_DNS, {"page 1", "focus " + Name(Control::Edit5), "box 64 msg"}},
      {RELAYLINK_BAD_WEB_SERVER, {"page 1", "focus " + Name(Control::Edit6), "box 64 msg"}},
      {RELAYLINK_BAD_PASSWORD, {"page 1", "focus " + Name(Control::Edit7), "box 64 msg"}},
      {RELAYLINK_CONNECT_FAILED, {"box 16 msg"}},
      {RELAYLINK_NOT_READY, {"box 16 msg"}},
  };
  for (const auto &row : rows) {
    events.clear();
    lib.save = 0;
    lib.code = row.code;
    logic.BitBtn2Click();
    const std::vector<std::string> shown(events.end() - static_cast<long>(row.shown.size()), events.end());
    EXPECT_EQ(shown, row.shown) << row.code;
  }
}

TEST_F(ToolLogic, SettersPerCapabilityInOrder) {
  const std::vector<std::string> network{"SetIpAddr e1", "SetSubMask e2", "SetGateway e3"};
  const std::vector<std::string> remote{"SetEnableWeb 1", "SetDns e5", "SetWebServer e6", "SetPassword e7"};
  const std::vector<std::string> keys{"SetButtonCfg 1 2", "SetButtonCfg 3 3"};
  const struct {
    short web, button;
    bool enableRemote;
    std::vector<std::vector<std::string>> parts;
  } rows[] = {
      {1, 1, true, {network, remote, keys}},
      {1, 0, false, {network, {"SetEnableWeb 0"}}},
      {0, 1, true, {network, keys}},
      {0, 0, true, {network}},
  };
  for (const auto &row : rows) {
    events.clear();
    lib.web = row.web;
    lib.button = row.button;
    lib.ready = 0;
    form.checked[Control::CheckBox3] = row.enableRemote;
    form.checked[Control::RadioButton2] = form.checked[Control::RadioButton9] = true;
    logic.BitBtn2Click();
    std::vector<std::string> expected;
    for (const auto &part : row.parts) expected.insert(expected.end(), part.begin(), part.end());
    for (const std::string last : {"SetRestoreState 0", "wait", "save", "box 64 msg"}) expected.push_back(last);
    expected.push_back("focus " + Name(Control::BitBtn1));
    EXPECT_EQ(events, expected) << row.web << row.button << row.enableRemote;
    EXPECT_FALSE(form.enabled[Control::BitBtn2]);
    EXPECT_EQ(form.texts[Control::BitBtn1], "Connect");
  }
}

TEST_F(ToolLogic, ConnectShowsWhatEachCapabilityAllows) {
  const struct {
    short web, button, misc, enableWeb;
    std::array<bool, 4> tabs;
    std::vector<int> modes;
  } rows[] = {
      {1, 1, 1, 1, {true, true, true, true}, {1, 5, 9, 16, 20, 24}},
      {0, 1, 1, 0, {true, false, true, true}, {1, 5, 9, 16, 20, 24}},
      {1, 0, 0, 0, {true, true, false, false}, {}},
  };
  for (const auto &row : rows) {
    FakeForm fresh;
    Form1Logic connect{fresh};
    lib = {1, 1, 0, 1, row.web, row.button, row.misc, row.enableWeb};
    connect.OnConnect();
    EXPECT_EQ(fresh.tabs, row.tabs);
    EXPECT_EQ(fresh.CheckedModes(), row.modes);
    EXPECT_EQ(fresh.texts[Control::Edit3], "GetGateway");
    EXPECT_EQ(fresh.texts[Control::lblVersion], "Firmware version: GetVersion");
    EXPECT_EQ(fresh.texts.count(Control::Edit7) != 0, row.web == 1);
    EXPECT_EQ(fresh.enabled[Control::Edit5], row.web == 1 && row.enableWeb == 1);
    EXPECT_EQ(fresh.caption, std::string(kApplicationTitle) + " - ");
    EXPECT_TRUE(fresh.enabled[Control::BitBtn2]);
  }
}

TEST_F(ToolLogic, FailedReadLeavesTheWindowAlone) {
  lib.read = 0;
  logic.FormCreate();
  logic.OnConnect();
  EXPECT_EQ(events, (std::vector<std::string>{"wait", "read 192.168.1.100", "box 16 msg"}));
  EXPECT_FALSE(form.enabled[Control::Edit1]);
}

TEST_F(ToolLogic, AddressStepsOfStartAndClose) {
  const struct {
    StoreAccess access;
    std::string stored, address;
    std::vector<std::string> boxes;
    bool closes;
  } rows[] = {
      {StoreAccess::Done, "10.0.0.7", "10.0.0.7", {}, true},
      {StoreAccess::Done, "", kDefaultTargetAddress, {}, true},
      {StoreAccess::NoKey, "", kDefaultTargetAddress, {}, true},
      {StoreAccess::ValueFailed, "x", "", {"box 16 Invalid data type for 'Target Address'",
                                           "box 16 Failed to set data for 'Target Address'"}, false},
  };
  for (const auto &row : rows) {
    events.clear();
    FakeForm fresh;
    Form1Logic start{fresh};
    fresh.access = row.access;
    fresh.stored = row.stored;
    start.FormCreate();
    EXPECT_EQ(start.CurrentTargetAddress(), row.address);
    EXPECT_EQ(start.FormClose(), row.closes);
    EXPECT_EQ(fresh.stored, row.address);
    EXPECT_EQ(events, row.boxes);
  }
}

TEST_F(ToolLogic, ConnectButtonAsksThenPosts) {
  logic.FormCreate();
  form.dialogAccepted = false;
  logic.BitBtn1Click();
  form.dialogAccepted = true;
  logic.BitBtn1Click();
  EXPECT_EQ(events, (std::vector<std::string>{"dialog 192.168.1.100", "dialog 192.168.1.100", "post"}));
  EXPECT_EQ(logic.CurrentTargetAddress(), "10.0.0.7");
}

TEST_F(ToolLogic, OkChecksTheAddress) {
  const struct {
    std::string typed, kept;
    std::vector<std::string> shown;
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
