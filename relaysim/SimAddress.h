// Dotted-quad addresses as the stand-in board takes them: strictly four
// decimal numbers 0..255, with loopback (127.0.0.0/8) the only place it serves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace relay::sim {

// Four decimal numbers 0..255 joined by dots, nothing else, to a host-order
// number.
std::optional<std::uint32_t> ParseQuad(std::string_view text);
std::string FormatQuad(std::uint32_t address);

bool IsLoopback(std::uint32_t address);
// A strict dotted quad in 127.0.0.0/8.
bool IsLoopbackQuad(std::string_view text);

}  // namespace relay::sim
