#include "IntConversion.h"

#include <optional>

namespace relay {
namespace {

std::optional<unsigned> DigitValue(char c, unsigned base) {
  unsigned value;
  if (c >= '0' && c <= '9') {
    value = static_cast<unsigned>(c - '0');
  } else if (base == 16 && c >= 'a' && c <= 'f') {
    value = static_cast<unsigned>(c - 'a' + 10);
  } else if (base == 16 && c >= 'A' && c <= 'F') {
    value = static_cast<unsigned>(c - 'A' + 10);
  } else {
    return std::nullopt;
  }
  return value;
}

// Length of the hexadecimal prefix at the start of `digits`, 0 for none.
std::size_t HexPrefixLength(std::string_view digits) {
  if (digits.starts_with("0x") || digits.starts_with("0X")) return 2;
  if (digits.starts_with('$') || digits.starts_with('x') || digits.starts_with('X')) return 1;
  return 0;
}

}  // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

std::int32_t StrToInt(std::string_view text) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  const std::size_t prefix = HexPrefixLength(digits);
  const unsigned base = prefix != 0 ? 16 : 10;
  digits.remove_prefix(prefix);
  if (digits.empty()) throw ConversionError(text);

  // Decimal allows magnitudes up to 2^31 (for the negative end); hexadecimal
  // allows the full 32 bits and wraps.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (const char c : digits) {
    const auto digit = DigitValue(c, base);
    if (!digit) throw ConversionError(text);
    magnitude = magnitude * base + *digit;
    if (magnitude > limit) throw ConversionError(text);
  }
  auto bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

}  // namespace relay
