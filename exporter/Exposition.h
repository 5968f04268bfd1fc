// The Prometheus text exposition format (version 0.0.4): families, samples
// and label values. Pure.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace relay_exporter {

inline constexpr char kExpositionType[] = "text/plain; version=0.0.4; charset=utf-8";

// A label value as it stands between the quotes. A board's texts are single
// bytes: each byte becomes the character of the same number, as in
// relayctl's JSON (BoardText.h), so that any bytes, UTF-8 or not, give valid
// UTF-8 and the value reads the same as `relayctl show --json` prints it;
// then backslash, double quote and line feed are escaped (\\, \", \n).
std::string LabelValue(std::string_view bytes);

// A label: its name and its value's bytes.
using Labels = std::vector<std::pair<std::string, std::string>>;

// "# HELP name help\n# TYPE name type\n".
std::string Family(std::string_view name, std::string_view type, std::string_view help);

// "name{label="value",...} value\n", without braces when there are no labels.
std::string Sample(std::string_view name, const Labels &labels, double value);

}  // namespace relay_exporter
