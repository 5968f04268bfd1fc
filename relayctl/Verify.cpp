#include "Verify.h"

#include "IntConversion.h"
#include "SettingTable.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace relayctl {
namespace {

std::optional<std::string> NormalAddress(std::optional<std::string> text) {
  if (!text) return text;
  try {
    relay::IsValidIpAddr(*text);
  } catch (const relay::ConversionError &) {
    // The library refuses such a value before anything is sent.
  }
  return text;
}

std::optional<std::string> Trimmed(const std::optional<std::string> &text) {
  if (!text) return text;
  return relay::TrimControl(*text);
}
}  // namespace

Settings ExpectedAfterSave(const BoardState &before, const Settings &changes) {
  Settings expected;
  expected.ip = NormalAddress(changes.ip);
  expected.mask = NormalAddress(changes.mask);
  expected.gateway = NormalAddress(changes.gateway);
  expected.restore = changes.restore;
  if (changes.keys) {
    std::string keys = *changes.keys;
    const std::string current = before.settings.keys.value_or(std::string(8, '-'));
    for (std::size_t i = 0; i < keys.size() && i < current.size(); ++i) {
      if (keys[i] == '-') keys[i] = current[i];
    }
    expected.keys = keys;
  }
  expected.remote = changes.remote;
  if (changes.remote.value_or(before.settings.remote.value_or(false))) {
    expected.dns = NormalAddress(changes.dns);
    expected.server = Trimmed(changes.server);
    expected.password = Trimmed(changes.password);
  }
  return expected;
}

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
