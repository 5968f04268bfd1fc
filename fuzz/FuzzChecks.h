// What every fuzz target asserts with: a broken invariant aborts with its
// description, which libFuzzer reports as a crash with the input saved.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace relay::fuzz {

inline void Require(bool holds, const char *invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

// Four plain decimal numbers 0..255 without leading zeros or signs, joined
// by single dots and nothing else.
inline bool IsNormalAddress(std::string_view text) {
  int parts = 0;
  while (true) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
      value = value * 10 + (text[digits] - '0');
      if (++digits > 3) return false;
    }
    if (digits == 0 || value > 255 || (digits > 1 && text[0] == '0')) return false;
    text.remove_prefix(digits);
    if (++parts == 4) return text.empty();
    if (text.empty() || text[0] != '.') return false;
    text.remove_prefix(1);
  }
}

}  // namespace relay::fuzz
