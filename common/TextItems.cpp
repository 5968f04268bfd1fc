#include "TextItems.h"

namespace relay {
namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

bool IsControlOrSpace(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::vector<std::string> SplitItems(std::string_view text, char separator) {
  std::vector<std::string> items;
  items.reserve(16);  // a configuration reply has ten
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsLineBreak(text[pos])) ++pos;
    const std::size_t start = pos;
    char quote = 0;
    for (; pos < text.size(); ++pos) {
      const char c = text[pos];
      if (c == '\0') break;
      if (quote != 0) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == separator || IsLineBreak(c)) break;
      if (c == '\'' || c == '"') quote = c;
    }
    if (pos > start) items.emplace_back(text.substr(start, pos - start));
    ++pos;  // step over the character that ended the item
  }
  return items;
}

std::string TrimControl(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsControlOrSpace(text[first])) ++first;
  while (last > first && IsControlOrSpace(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

}  // namespace relay
