#include "SimAddress.h"

namespace relay::sim {

std::optional<std::uint32_t> ParseQuad(std::string_view text) {
  std::uint32_t value = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    std::size_t digits = 0;
    unsigned number = 0;
    while (digits < text.size() && digits < 3 && text[digits] >= '0' && text[digits] <= '9') {
      number = number * 10 + static_cast<unsigned>(text[digits] - '0');
      ++digits;
    }
    if (digits == 0 || number > 255) return std::nullopt;
    value = value << 8 | number;
    text.remove_prefix(digits);
  }
  if (!text.empty()) return std::nullopt;
  return value;
}

std::string FormatQuad(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 255) + "." +
         std::to_string(address >> 8 & 255) + "." + std::to_string(address & 255);
}

bool IsLoopback(std::uint32_t address) { return address >> 24 == 127; }

bool IsLoopbackQuad(std::string_view text) {
  const std::optional<std::uint32_t> address = ParseQuad(text);
  return address && IsLoopback(*address);
}

}  // namespace relay::sim
