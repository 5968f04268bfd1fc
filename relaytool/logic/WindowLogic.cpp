#include "WindowLogic.h"

#include <BoardSettings.h>
#include <ValueRules.h>
#include <relaylink.h>

namespace relaytool {
namespace {

// Output buffers handed to the library hold this many characters and a zero.
constexpr unsigned short kTextLength = 100;

// Where the library's rejection of a setting's value leads the user.
struct RejectedField {
  const char *setting;
  Page page;
  Control field;
};

constexpr RejectedField kRejectedFields[] = {
    {"ip", Page::TabSheet1, Control::Edit1},      {"mask", Page::TabSheet1, Control::Edit2},
    {"gateway", Page::TabSheet1, Control::Edit3}, {"dns", Page::TabSheet4, Control::Edit5},
    {"server", Page::TabSheet4, Control::Edit6},  {"password", Page::TabSheet4, Control::Edit7},
};

// Every setting the library's save can reject has its field.
constexpr bool EveryRejectionHasAField() {
  for (const relay::SettingFacts &setting : relay::kSettings) {
    if (setting.code == 0) continue;
    bool found = false;
    for (const RejectedField &rejected : kRejectedFields) found = found || &relay::Setting(rejected.setting) == &setting;
    if (!found) return false;
  }
  return true;
}
static_assert(EveryRejectionHasAField(), "a setting the save rejects needs its field in kRejectedFields");

// RadioButton(3k-2), (3k-1) and (3k) stand for modes 1, 2 and 3 of key k.
struct KeyMode {
  short key;
  short mode;
};

constexpr KeyMode KeyModeOf(int number) {
  return {static_cast<short>((number - 1) / 3 + 1), static_cast<short>((number - 1) % 3 + 1)};
}

// The library's getters and setters of texts.
using TextGetter = short(RELAYLINK_CALL *)(char *, unsigned short);
using TextSetter = short(RELAYLINK_CALL *)(const char *);

// A failure of the per-user store: `message` followed by the quoted value name.
std::string StoreFailure(const char *message) {
  return message + ("'" + std::string(kTargetAddressValue) + "'");
}

}  // namespace

std::string WithFullStop(std::string text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void Form1Logic::ReportFailure(const std::string &text) {
  view_.ShowMessageBox(WithFullStop(text), MessageIcon::Error);
}

void Form1Logic::FormCreate() {
  std::string stored;
  switch (view_.ReadStoredAddress(stored)) {
    case StoreAccess::ValueFailed:
      // The default is not applied: the address stays empty.
      ReportFailure(StoreFailure("Invalid data type for "));
      return;
    case StoreAccess::Done: TargetAddress = stored; break;
    case StoreAccess::NoKey: break;
  }
  if (TargetAddress.empty()) TargetAddress = kDefaultTargetAddress;
}

void Form1Logic::FormClose() {
  // A key that cannot be created is passed over in silence. A value that
  // cannot be set is reported, and the window closes all the same: a store
  // that refuses writes must never keep the user from quitting.
  if (view_.WriteStoredAddress(TargetAddress) == StoreAccess::ValueFailed)
    ReportFailure(StoreFailure("Failed to set data for "));
}

void Form1Logic::BitBtn1Click() {
  if (view_.Enabled(Control::Edit1)) {
    ShowDisconnected();
    return;
  }
  if (!view_.RunConnectDialog(TargetAddress)) return;
  view_.PostConnect();
}

void Form1Logic::OnConnect() {
  if (view_.WhileWaiting([this] { return ReadDeviceCfg(TargetAddress.c_str()); }) != 1) {
    ShowLastError(MessageIcon::Error);
    return;
  }
  view_.ShowTab(Page::TabSheet4, CanCfgWeb() == 1);
  view_.ShowTab(Page::TabSheet2, CanCfgButton() == 1);
  view_.ShowTab(Page::TabSheet3, CanCfgMisc() == 1);

  // One buffer for every getter, not cleared between them; a control takes its
  // text up to the first zero.
  char buffer[kTextLength + 1] = {};
  const auto show = [&](TextGetter getter, Control control) {
    if (getter(buffer, kTextLength) == 1) view_.SetText(control, buffer);
  };
  show(GetIpAddr, Control::Edit1);
  show(GetSubMask, Control::Edit2);
  show(GetGateway, Control::Edit3);
  if (GetVersion(buffer, kTextLength) == 1)
    view_.SetText(Control::lblVersion, std::string("Firmware version: ") + buffer);

  if (CanCfgWeb() == 1) {
    show(GetDeviceId, Control::Edit4);
    show(GetDns, Control::Edit5);
    show(GetWebServer, Control::Edit6);
    show(GetPassword, Control::Edit7);
    view_.SetChecked(Control::CheckBox3, GetEnableWeb() == 1);
    CheckBox3Click();
  }
  if (CanCfgButton() == 1) {
    for (int number = 1; number <= kModeButtons; ++number) {
      const KeyMode button = KeyModeOf(number);
      view_.SetChecked(RadioButton(number), GetButtonCfg(button.key) == button.mode);
    }
  }
  view_.SetChecked(Control::CheckBox1, GetRestoreState() == 1);

  view_.SetCaption(kApplicationTitle + (" - " + TargetAddress));
  view_.SetEnabled(Control::Edit1, true);
  view_.SetEnabled(Control::Edit2, true);
  view_.SetEnabled(Control::Edit3, true);
  view_.SetText(Control::BitBtn1, "Disconnect");
  view_.SetEnabled(Control::BitBtn2, true);
}

void Form1Logic::BitBtn2Click() {
  // The texts are handed over as they stand: the library checks them.
  const auto hand = [this](TextSetter setter, Control control) { setter(view_.Text(control).c_str()); };
  hand(SetIpAddr, Control::Edit1);
  hand(SetSubMask, Control::Edit2);
  hand(SetGateway, Control::Edit3);
  if (CanCfgWeb() == 1) {
    if (view_.Checked(Control::CheckBox3)) {
      SetEnableWeb(1);
      hand(SetDns, Control::Edit5);
      hand(SetWebServer, Control::Edit6);
      hand(SetPassword, Control::Edit7);
    } else {
      SetEnableWeb(0);
    }
  }
  if (CanCfgButton() == 1) {
    for (int number = 1; number <= kModeButtons; ++number) {
      const KeyMode button = KeyModeOf(number);
      if (view_.Checked(RadioButton(number))) SetButtonCfg(button.key, button.mode);
    }
  }
  SetRestoreState(view_.Checked(Control::CheckBox1) ? 1 : 0);

  if (view_.WhileWaiting(SaveDeviceCfg) == 1) {
    ShowLastError(MessageIcon::Information);
  } else {
    const short code = GetErrorCode();
    MessageIcon icon = MessageIcon::Error;
    for (const RejectedField &rejected : kRejectedFields) {
      if (relay::Setting(rejected.setting).code != code) continue;
      // A rejected value leads the user to its field before the message.
      view_.SetActivePage(rejected.page);
      view_.Focus(rejected.field);
      icon = MessageIcon::Information;
    }
    ShowLastError(icon);
  }
  if (DeviceCfgReady() == 0) {
    ShowDisconnected();
    // Not left on the disabled Save, nor moved on to Exit.
    view_.Focus(Control::BitBtn1);
  }
}

void Form1Logic::CheckBox3Click() {
  const bool enabled = view_.Checked(Control::CheckBox3);
  view_.SetEnabled(Control::Edit5, enabled);
  view_.SetEnabled(Control::Edit6, enabled);
  view_.SetEnabled(Control::Edit7, enabled);
}

void Form1Logic::ShowDisconnected() {
  view_.SetCaption(kApplicationTitle);
  view_.SetText(Control::lblVersion, "");
  view_.SetEnabled(Control::Edit1, false);
  view_.SetEnabled(Control::Edit2, false);
  view_.SetEnabled(Control::Edit3, false);
  view_.ShowTab(Page::TabSheet2, false);
  view_.ShowTab(Page::TabSheet3, false);
  view_.ShowTab(Page::TabSheet4, false);
  view_.SetText(Control::BitBtn1, "Connect");
  view_.SetEnabled(Control::BitBtn2, false);
}

void Form1Logic::ShowLastError(MessageIcon icon) {
  char buffer[kTextLength + 1] = {};
  GetErrorMsg(buffer, kTextLength);
  view_.ShowMessageBox(buffer, icon);
}

bool CheckIpEdit(ConnectDlgView &owner, DlgControl edit, const std::string &message) {
  std::string text = owner.Text(edit);
  const bool valid = relay::IsValidIpAddr(text);
  if (!valid) {
    owner.Focus(edit);
    owner.ShowMessageBox(message, MessageIcon::Information);
  }
  owner.SetText(edit, text);
  return valid;
}

void OKBtnClick(ConnectDlgView &dialog) {
  if (CheckIpEdit(dialog, DlgControl::Edit1, "IP address is wrong.")) dialog.CloseWithOk();
}

}  // namespace relaytool
