// The standard text-to-integer conversion used by the address rule.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace relay {

// Raised when a text is not an integer; carries
// "'<text>' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(std::string_view text);
};

// Converts an optional sign followed by decimal digits, or by hexadecimal
// digits introduced by "$", "x", "X", "0x" or "0X", to a signed 32-bit
// integer. Hexadecimal values of up to eight digits wrap into the negative
// range (FFFFFFFF is -1). Anything else, an empty text or a decimal number
// outside the signed 32-bit range raises ConversionError.
std::int32_t StrToInt(std::string_view text);

}  // namespace relay
