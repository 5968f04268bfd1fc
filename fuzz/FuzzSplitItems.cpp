// Item splitting and trimming fed arbitrary bytes. The first byte picks the
// separator. Items are never empty, never hold a zero character or start
// with a line break, and appear in the text in order; without quotes the
// split equals a plain reference split.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "TextItems.h"

namespace {

using relay::fuzz::Require;

bool EndsItem(char c, char separator) { return c == separator || c == '\r' || c == '\n' || c == '\0'; }

std::vector<std::string> PlainSplit(std::string_view text, char separator) {
  std::vector<std::string> items;
  std::string item;
  for (const char c : text) {
    if (!EndsItem(c, separator)) {
      item += c;
    } else if (!item.empty()) {
      items.push_back(std::move(item));
      item.clear();
    }
  }
  if (!item.empty()) items.push_back(std::move(item));
  return items;
}

void CheckTrim(std::string_view text) {
  const std::string trimmed = relay::TrimControl(text);
  Require(text.find(trimmed) != std::string_view::npos, "trimmed text is part of the text");
  if (trimmed.empty()) return;
  Require(static_cast<unsigned char>(trimmed.front()) > 32 && static_cast<unsigned char>(trimmed.back()) > 32,
          "trimmed text starts and ends above code 32");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const char separator = (data[0] & 1) != 0 ? ',' : '.';
  const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
  const std::vector<std::string> items = relay::SplitItems(text, separator);

  std::size_t from = 0;
  for (const std::string &item : items) {
    Require(!item.empty(), "no empty items");
    Require(item.find('\0') == std::string::npos, "no zero character inside an item");
    Require(item.front() != '\r' && item.front() != '\n', "line breaks before an item are skipped");
    const std::size_t at = text.find(item, from);
    Require(at != std::string_view::npos, "items appear in the text in order");
    from = at + item.size();
  }
  if (text.find_first_of("'\"") == std::string_view::npos) {
    Require(items == PlainSplit(text, separator), "without quotes the split is the plain split");
  }
  CheckTrim(text);
  return 0;
}
