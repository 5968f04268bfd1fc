#include "Exposition.h"

#include <charconv>

#include "board/BoardText.h"

namespace relay_exporter {

std::string LabelValue(std::string_view bytes) {
  std::string out;
  for (const char c : relayctl::JsonFromBytes(bytes)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Family(std::string_view name, std::string_view type, std::string_view help) {
  std::string out = "# HELP ";
  out.append(name).append(" ").append(help).append("\n# TYPE ").append(name).append(" ").append(type).append("\n");
  return out;
}

std::string Sample(std::string_view name, const Labels &labels, double value) {
  std::string out(name);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    out += (i == 0 ? "{" : ",") + labels[i].first + "=\"" + LabelValue(labels[i].second) + "\"";
  }
  if (!labels.empty()) out += "}";
  char number[32];
  const auto end = std::to_chars(number, number + sizeof number, value).ptr;  // the shortest exact form
  return out.append(" ").append(number, end).append("\n");
}

}  // namespace relay_exporter
