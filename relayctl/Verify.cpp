#include "Verify.h"

#include "IntConversion.h"
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

std::string Text(const std::optional<std::string> &value) { return value ? *value : "(none)"; }
std::string Text(const std::optional<bool> &value) { return value ? (*value ? "on" : "off") : "(none)"; }

template <typename T>
void CompareOne(const char *name, const std::optional<T> &wanted, const std::optional<T> &found,
                std::vector<Difference> &differences) {
  if (wanted && wanted != found) differences.push_back({name, Text(wanted), Text(found)});
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

std::vector<Difference> Compare(const Settings &expected, const Settings &found) {
  std::vector<Difference> differences;
  CompareOne("ip", expected.ip, found.ip, differences);
  CompareOne("mask", expected.mask, found.mask, differences);
  CompareOne("gateway", expected.gateway, found.gateway, differences);
  CompareOne("keys", expected.keys, found.keys, differences);
  CompareOne("restore", expected.restore, found.restore, differences);
  CompareOne("remote", expected.remote, found.remote, differences);
  CompareOne("dns", expected.dns, found.dns, differences);
  CompareOne("server", expected.server, found.server, differences);
  CompareOne("password", expected.password, found.password, differences);
  return differences;
}

std::string Describe(const std::vector<Difference> &differences) {
  std::string text;
  for (const Difference &d : differences) {
    if (!text.empty()) text += "; ";
    text += d.name + ": wanted " + d.wanted + ", board has " + d.found;
  }
  return text;
}

}  // namespace relayctl
