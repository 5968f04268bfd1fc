// The rule cases and the random boards' description that these tests and
// the Python binding's tests both read (tests/cases/*.json).
#pragma once

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

namespace relay::testing {

// The content of tests/cases/`file`.json.
inline nlohmann::json CaseFile(const std::string &file) {
  std::ifstream in(std::string(RELAY_RULE_CASES) + "/" + file + ".json", std::ios::binary);
  return nlohmann::json::parse(in);
}

// The rows of `table` in tests/cases/`file`.json, or of the file's own
// "cases" when `table` is empty.
inline nlohmann::json RuleCases(const std::string &file, const std::string &table = "") {
  const nlohmann::json content = CaseFile(file);
  return (table.empty() ? content : content.at(table)).at("cases");
}

// A case's text as the board's bytes: each character (U+0000..U+00FF) the
// byte of the same number.
inline std::string BoardBytes(const std::string &utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80 || i + 1 == utf8.size()) {
      bytes += utf8[i];
    } else {
      bytes += static_cast<char>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    }
  }
  return bytes;
}

}  // namespace relay::testing
