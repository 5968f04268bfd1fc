#include "AddressRange.h"

#include <charconv>

namespace relayctl {
namespace {

std::optional<unsigned> ParseNumber(std::string_view text, unsigned max) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::vector<std::uint32_t>> Span(std::uint64_t first, std::uint64_t last, std::string_view text,
                                               std::string &error) {
  if (last < first) {
    error = "range " + std::string(text) + " ends before it starts";
    return std::nullopt;
  }
  if (last - first + 1 > kMaxRangeAddresses) {
    error = "range " + std::string(text) + " has " + std::to_string(last - first + 1) +
            " addresses, more than " + std::to_string(kMaxRangeAddresses);
    return std::nullopt;
  }
  std::vector<std::uint32_t> addresses;
  addresses.reserve(static_cast<std::size_t>(last - first + 1));
  for (std::uint64_t address = first; address <= last; ++address) addresses.push_back(static_cast<std::uint32_t>(address));
  return addresses;
}

struct Bounds {
  std::uint64_t first, last;
};

// First and last address of the range's text, before any check of its size.
std::optional<Bounds> RangeBounds(std::string_view text) {
  if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
    const std::optional<std::uint32_t> base = ParseAddress(text.substr(0, slash));
    const std::optional<unsigned> prefix = ParseNumber(text.substr(slash + 1), 32);
    if (!base || !prefix) return std::nullopt;
    const std::uint64_t size = std::uint64_t{1} << (32 - *prefix);
    const std::uint64_t first = *base & ~(size - 1);
    const std::uint64_t hostsOnly = *prefix <= 30 ? 1 : 0;  // without network and broadcast address
    return Bounds{first + hostsOnly, first + size - 1 - hostsOnly};
  }
  if (const std::size_t dash = text.find('-'); dash != std::string_view::npos) {
    const std::optional<std::uint32_t> first = ParseAddress(text.substr(0, dash));
    if (!first) return std::nullopt;
    const std::string_view end = text.substr(dash + 1);
    std::optional<std::uint32_t> last = ParseAddress(end);
    if (!last) {
      const std::optional<unsigned> lastNumber = ParseNumber(end, 255);
      if (!lastNumber) return std::nullopt;
      last = (*first & 0xFFFFFF00u) | *lastNumber;
    }
    return Bounds{*first, *last};
  }
  const std::optional<std::uint32_t> single = ParseAddress(text);
  if (!single) return std::nullopt;
  return Bounds{*single, *single};
}

}  // namespace

std::optional<std::uint32_t> ParseAddress(std::string_view text) {
  std::uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const std::optional<unsigned> number = ParseNumber(text.substr(0, dot), 255);
    if (!number) return std::nullopt;
    address = address << 8 | *number;
    text.remove_prefix(part < 3 ? dot + 1 : dot);
  }
  return address;
}

std::string FormatAddress(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 255) + "." +
         std::to_string(address >> 8 & 255) + "." + std::to_string(address & 255);
}

std::optional<std::vector<std::uint32_t>> ParseRange(std::string_view text, std::string &error) {
  const std::optional<Bounds> bounds = RangeBounds(text);
  if (!bounds) {
    error = "cannot read range '" + std::string(text) +
            "': give a CIDR block (10.0.0.0/24), a range (10.0.0.5-10.0.0.40 or 10.0.0.5-40) or one address";
    return std::nullopt;
  }
  return Span(bounds->first, bounds->last, text, error);
}

std::optional<std::vector<std::string>> ParseAddressList(std::string_view text, std::string &error) {
  std::vector<std::string> addresses;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    if (!ParseAddress(line)) {
      error = "line " + std::to_string(lineNumber) + ": '" + std::string(line) + "' is not an IPv4 address";
      return std::nullopt;
    }
    addresses.emplace_back(line);
  }
  return addresses;
}

}  // namespace relayctl
