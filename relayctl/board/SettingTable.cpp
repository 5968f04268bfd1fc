#include "board/SettingTable.h"

namespace relayctl {

const std::vector<SettingInfo> &SettingTable() {
  using K = SettingKind;
  using C = relay::Command;
  static const std::vector<SettingInfo> table = {
      {"ip", K::Address, false, false, true, C::SetIpAddr, &Settings::ip, nullptr, GetIpAddr, SetIpAddr, nullptr,
       nullptr},
      {"mask", K::Address, false, false, true, C::SetSubMask, &Settings::mask, nullptr, GetSubMask, SetSubMask, nullptr,
       nullptr},
      {"gateway", K::Address, false, false, true, C::SetGateway, &Settings::gateway, nullptr, GetGateway, SetGateway,
       nullptr, nullptr},
      {"keys", K::KeyModes, true, false, false, C::SetButtonCfg, &Settings::keys, nullptr, nullptr, nullptr, nullptr,
       nullptr},
      {"restore", K::Flag, false, false, false, C::SetRestoreState, nullptr, &Settings::restore, nullptr, nullptr,
       GetRestoreState, SetRestoreState},
      {"remote", K::Flag, false, true, false, C::SetEnableWeb, nullptr, &Settings::remote, nullptr, nullptr,
       GetEnableWeb, SetEnableWeb},
      {"dns", K::Address, false, true, false, C::SetDns, &Settings::dns, nullptr, GetDns, SetDns, nullptr, nullptr},
      {"server", K::Text, false, true, false, C::SetWebServer, &Settings::server, nullptr, GetWebServer, SetWebServer,
       nullptr, nullptr},
      {"password", K::Password, false, true, false, C::SetPassword, &Settings::password, nullptr, GetPassword,
       SetPassword, nullptr, nullptr},
  };
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
  return (!setting.needsKeys || capabilities.keys) && (!setting.needsRemoteControl || capabilities.remoteControl);
}

std::string SettingNames() {
  std::string names;
  for (const SettingInfo &setting : SettingTable()) names += (names.empty() ? "" : ", ") + std::string(setting.name);
  return names;
}

}  // namespace relayctl
