#include "board/SettingTable.h"

namespace relayctl {

namespace {

using TextGetter = short(RELAYLINK_CALL *)(char *buffer, unsigned short length);
using TextSetter = short(RELAYLINK_CALL *)(const char *text);
using FlagGetter = short(RELAYLINK_CALL *)();
using FlagSetter = short(RELAYLINK_CALL *)(short flag);
using KeyGetter = short(RELAYLINK_CALL *)(short key);
using KeySetter = short(RELAYLINK_CALL *)(short key, short mode);

// ip, mask and gateway, the addresses of every board: what `apply` leaves alone.
bool IsNetwork(const relay::SettingFacts &facts) {
  return facts.kind == SettingKind::Address && facts.needs == relay::SettingNeeds::Nothing;
}

// A row from the setting's facts, its member and the library's exports: a
// text, a switch, or key modes, which go key by key and so have no getter
// and setter of the whole value here.
SettingInfo Row(const relay::SettingFacts &facts, std::optional<std::string> Settings::*text, TextGetter get,
                TextSetter set) {
  return {facts.name, facts.kind, facts.needs, IsNetwork(facts), relay::Command(facts.command), text, nullptr, get,
          set, nullptr, nullptr};
}

SettingInfo Row(const relay::SettingFacts &facts, std::optional<bool> Settings::*flag, FlagGetter get,
                FlagSetter set) {
  return {facts.name, facts.kind, facts.needs, IsNetwork(facts), relay::Command(facts.command), nullptr, flag, nullptr,
          nullptr, get, set};
}

SettingInfo Row(const relay::SettingFacts &facts, std::optional<std::string> Settings::*text, KeyGetter, KeySetter) {
  return {facts.name, facts.kind, facts.needs, IsNetwork(facts), relay::Command(facts.command), text, nullptr, nullptr,
          nullptr, nullptr, nullptr};
}

}  // namespace

const std::vector<SettingInfo> &SettingTable() {
#define RELAYCTL_SETTING_ROW(name, Stem, ...) Row(relay::Setting(#name), &Settings::name, Get##Stem, Set##Stem),
  static const std::vector<SettingInfo> table = {RELAY_SETTINGS(RELAYCTL_SETTING_ROW)};
#undef RELAYCTL_SETTING_ROW
  return table;
}

const SettingInfo *FindSetting(const std::string &name) {
  for (const SettingInfo &setting : SettingTable()) {
    if (name == setting.name) return &setting;
  }
  return nullptr;
}

bool Has(const SettingInfo &setting, const Settings &settings) {
  return setting.flag ? (settings.*setting.flag).has_value() : (settings.*setting.text).has_value();
}

std::string ValueText(const SettingInfo &setting, const Settings &settings) {
  if (setting.flag) {
    const std::optional<bool> &value = settings.*setting.flag;
    return value ? (*value ? "on" : "off") : "(none)";
  }
  return (settings.*setting.text).value_or("(none)");
}

bool SameValue(const SettingInfo &setting, const Settings &a, const Settings &b) {
  return setting.flag ? a.*setting.flag == b.*setting.flag : a.*setting.text == b.*setting.text;
}

bool BoardHas(const SettingInfo &setting, const Capabilities &capabilities) {
  return relay::BoardHas(setting.needs, capabilities.remoteControl, capabilities.keys);
}

std::string SettingNames() {
  std::string names;
  for (const SettingInfo &setting : SettingTable()) names += (names.empty() ? "" : ", ") + std::string(setting.name);
  return names;
}

}  // namespace relayctl
