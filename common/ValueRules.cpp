#include "ValueRules.h"

#include <array>
#include <cstdint>

#include "IntConversion.h"
#include "TextItems.h"

namespace relay {

bool IsValidIpAddr(std::string &text) {
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
