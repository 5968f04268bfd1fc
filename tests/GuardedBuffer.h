// A caller's output buffer with guard bytes on both sides, for checking that
// an export writes at most `length` characters and a terminating zero.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace relay::testing {

class GuardedBuffer {
 public:
  static constexpr std::size_t kGuard = 64;
  static constexpr char kFill = '#';

  explicit GuardedBuffer(std::size_t length) : length_(length), bytes_(kGuard + length + 1 + kGuard, kFill) {}

  char *data() { return bytes_.data() + kGuard; }
  unsigned short length() const { return static_cast<unsigned short>(length_); }

  // The buffer holds `text` cut to `length` characters and a zero; every
  // other byte, inside the buffer or in the guards, is as it was.
  ::testing::AssertionResult Holds(std::string_view text) const {
    std::string expected(kGuard, kFill);
    expected += text.substr(0, length_);
    expected += '\0';
    expected.resize(bytes_.size(), kFill);
    return Compare(expected);
  }

  // Nothing was written at all.
  ::testing::AssertionResult Untouched() const { return Compare(std::string(bytes_.size(), kFill)); }

 private:
  ::testing::AssertionResult Compare(const std::string &expected) const {
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
      if (bytes_[i] != expected[i]) {
        return ::testing::AssertionFailure()
               << "byte " << static_cast<long long>(i) - static_cast<long long>(kGuard) << " of a buffer of length "
               << length_ << " is " << static_cast<int>(bytes_[i]) << ", expected " << static_cast<int>(expected[i]);
      }
    }
    return ::testing::AssertionSuccess();
  }

  std::size_t length_;
  std::string bytes_;
};

}  // namespace relay::testing
