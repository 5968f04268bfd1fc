#include "ValueRules.h"

#include <array>
#include <cstdint>

#include "IntConversion.h"
#include "TextItems.h"

namespace relay {

namespace {

// Whether `text` is an address in normal form already: four decimal numbers
// 0..255 without leading zeros, dots between and nothing else. The rule
// would leave such a text as it is; every read meets four of them, so they
// skip the splitting and rewriting.
bool IsNormalQuad(std::string_view text) {
  std::size_t at = 0;
  for (int part = 1;; ++part) {
    const std::size_t start = at;
    int value = 0;
    while (at < text.size() && at - start < 3 && text[at] >= '0' && text[at] <= '9') {
      value = value * 10 + (text[at++] - '0');
    }
    const std::size_t digits = at - start;
    if (digits == 0 || (digits > 1 && text[start] == '0') || value > 255) return false;
    if (part == 4) return at == text.size();
    if (at == text.size() || text[at++] != '.') return false;
  }
}

}  // namespace

bool IsValidIpAddr(std::string &text) {
  if (IsNormalQuad(text)) return true;
  text = TrimControl(text);
  const auto items = SplitItems(text, '.');
  if (items.size() != 4) return false;

  std::array<std::int32_t, 4> parts{};
  for (std::size_t i = 0; i < parts.size(); ++i) parts[i] = StrToInt(TrimControl(items[i]));
  for (const auto part : parts) {
    if (part < 0 || part > 255) return false;
  }
  text = std::to_string(parts[0]) + '.' + std::to_string(parts[1]) + '.' + std::to_string(parts[2]) + '.' +
         std::to_string(parts[3]);
  return true;
}

bool IsValidPassword(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.size() != kPasswordLength) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace relay
