#include "board/ChangeFilters.h"

#include "board/SettingTable.h"

namespace relayctl {

std::vector<std::string> UnsupportedNames(const Settings &changes, const Capabilities &capabilities) {
  std::vector<std::string> names;
  for (const SettingInfo &setting : SettingTable()) {
    if (Has(setting, changes) && !BoardHas(setting, capabilities)) names.push_back(setting.name);
  }
  return names;
}

Settings WithoutNetwork(Settings changes) {
  for (const SettingInfo &setting : SettingTable()) {
    if (setting.network) (changes.*setting.text).reset();
  }
  return changes;
}

}  // namespace relayctl
