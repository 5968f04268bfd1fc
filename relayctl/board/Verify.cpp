#include "board/Verify.h"

#include "board/SettingTable.h"

namespace relayctl {

Settings Differing(const Settings &before, const Settings &expected) {
  Settings differing = expected;
  for (const SettingInfo &setting : SettingTable()) {
    if (!Has(setting, expected) || !SameValue(setting, expected, before)) continue;
    if (setting.flag) {
      (differing.*setting.flag).reset();
    } else {
      (differing.*setting.text).reset();
    }
  }
  return differing;
}

std::vector<Change> Changes(const Settings &before, const Settings &expected) {
  const Settings differing = Differing(before, expected);
  std::vector<Change> changes;
  for (const SettingInfo &setting : SettingTable()) {
    if (Has(setting, differing)) {
      changes.push_back({setting.name, ValueText(setting, before), ValueText(setting, differing)});
    }
  }
  return changes;
}

std::string DescribeChanges(const std::vector<Change> &changes, TextEncoding encoding) {
  std::string text;
  for (const Change &change : changes) {
    if (!text.empty()) text += ", ";
    const SettingInfo *setting = FindSetting(change.setting);
    text += change.setting + (setting && setting->kind == SettingKind::Password
                                  ? " (changes)"
                                  : " " + Shown(change.before, encoding) + " -> " + Shown(change.after, encoding));
  }
  return text;
}

std::vector<Difference> Compare(const Settings &expected, const Settings &found) {
  std::vector<Difference> differences;
  for (const SettingInfo &setting : SettingTable()) {
    if (Has(setting, expected) && !SameValue(setting, expected, found)) {
      differences.push_back({setting.name, ValueText(setting, expected), ValueText(setting, found)});
    }
  }
  return differences;
}

WrittenSplit SplitWritten(const Settings &before, const Settings &expected, const Settings &now) {
  const Settings differing = Differing(before, expected);
  WrittenSplit split;
  for (const SettingInfo &setting : SettingTable()) {
    if (!Has(setting, differing)) continue;
    (SameValue(setting, expected, now) ? split.written : split.unwritten).push_back(setting.name);
  }
  return split;
}

std::vector<std::string> ChangedNames(const std::vector<Change> &changes) {
  std::vector<std::string> names;
  for (const Change &change : changes) names.push_back(change.setting);
  return names;
}

std::string Joined(const std::vector<std::string> &names) {
  std::string text;
  for (const std::string &name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string Describe(const std::vector<Difference> &differences, TextEncoding encoding) {
  std::string text;
  for (const Difference &d : differences) {
    if (!text.empty()) text += "; ";
    text += d.name + ": wanted " + Shown(d.wanted, encoding) + ", board has " + Shown(d.found, encoding);
  }
  return text;
}

}  // namespace relayctl
