#include "SimFleet.h"

#include <cstdint>
#include <cstdio>

namespace relay::sim {
namespace {

// Strict dotted quad to a host-order number.
std::optional<std::uint32_t> ParseQuad(std::string_view text) {
  std::uint32_t value = 0;
  int parts = 0;
  while (parts < 4) {
    std::size_t digits = 0;
    unsigned part = 0;
    while (digits < text.size() && digits < 3 && text[digits] >= '0' && text[digits] <= '9') {
      part = part * 10 + static_cast<unsigned>(text[digits] - '0');
      ++digits;
    }
    if (digits == 0 || part > 255) return std::nullopt;
    value = value << 8 | part;
    text.remove_prefix(digits);
    if (++parts < 4) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
  }
  if (!text.empty()) return std::nullopt;
  return value;
}

std::string FormatQuad(std::uint32_t value) {
  return std::to_string(value >> 24) + "." + std::to_string(value >> 16 & 255) + "." +
         std::to_string(value >> 8 & 255) + "." + std::to_string(value & 255);
}

}  // namespace

std::optional<BoardConfig> ModelConfig(BoardConfig base, std::string_view name) {
  if (base.buttonCfg.empty()) base.buttonCfg = "12312312";
  if (name == "remote") {
    base.model = Model::RemoteControl;
  } else if (name == "keys") {
    base.model = Model::Basic;
  } else if (name == "basic") {
    base.model = Model::Basic;
    base.buttonCfg.clear();
  } else {
    return std::nullopt;
  }
  return base;
}

std::optional<std::vector<FleetBoard>> PlanFleet(const BoardConfig &base, int count, std::string_view first,
                                                 const std::vector<std::string> &models) {
  const std::optional<std::uint32_t> start = ParseQuad(first);
  if (!start || *start >> 24 != 127 || count < 0 || models.empty()) return std::nullopt;
  if (static_cast<std::uint64_t>(*start) + static_cast<std::uint64_t>(count) > 0x80000000ull) return std::nullopt;
  std::vector<FleetBoard> plan;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t address = *start + static_cast<std::uint32_t>(i);
    std::optional<BoardConfig> config = ModelConfig(base, models[static_cast<std::size_t>(i) % models.size()]);
    if (!config) return std::nullopt;
    config->ipAddr = FormatQuad(address);
    char id[15];
    std::snprintf(id, sizeof id, "RB%012u", address);
    config->deviceId = id;
    plan.push_back({config->ipAddr, *config});
  }
  return plan;
}

bool SimFleet::Start(const std::vector<FleetBoard> &plan, const SimOptions &options) {
  Stop();
  for (const FleetBoard &entry : plan) {
    auto board = std::make_unique<RelaySim>(entry.config, options);
    if (!board->Start(entry.address)) {
      Stop();
      return false;
    }
    boards_.push_back(std::move(board));
  }
  return true;
}

void SimFleet::Stop() { boards_.clear(); }

}  // namespace relay::sim
