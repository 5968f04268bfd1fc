// The rules that decide which texts count as an address and as a password.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace relay {

// Checks a dotted-quad IPv4 address. Always replaces `text` with its trimmed
// form; on success replaces it again with the normal form (four plain decimal
// numbers 0..255 joined by dots). Empty items are dropped, so stray dots are
// absorbed. An item that is not an integer raises ConversionError, after the
// text has been trimmed.
bool IsValidIpAddr(std::string &text);

// The number of digits of a password, which the windows' password edit also
// takes at most.
inline constexpr std::size_t kPasswordLength = 6;

// True for exactly kPasswordLength characters '0'..'9' (up to the first zero
// character).
bool IsValidPassword(std::string_view text);

}  // namespace relay
