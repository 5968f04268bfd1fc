// The address rule and the password rule fed arbitrary bytes. The address
// rule either accepts and leaves the normal form, or rejects (or raises the
// conversion failure) and leaves the trimmed text; the password rule answers
// as its definition says.
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "IntConversion.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace {

using relay::fuzz::Require;

bool IsSixDigits(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.size() != 6) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string trimmed = relay::TrimControl(input);
  std::string text = input;
  try {
    if (relay::IsValidIpAddr(text)) {
      Require(relay::fuzz::IsNormalAddress(text), "accepted address is in normal form");
      std::string again = text;
      Require(relay::IsValidIpAddr(again) && again == text, "normal form is accepted unchanged");
    } else {
      Require(text == trimmed, "rejected address is left trimmed");
    }
  } catch (const relay::ConversionError &failure) {
    Require(text == trimmed, "address with a non-number is left trimmed");
    const std::string_view message = failure.what();
    Require(message.starts_with('\'') && message.ends_with("' is not a valid integer value"),
            "conversion failure carries its message");
  }
  Require(relay::IsValidPassword(input) == IsSixDigits(input), "password rule");
  return 0;
}
