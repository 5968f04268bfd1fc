#include "SimFleet.h"

#include <cstdint>
#include <cstdio>

#include "SimAddress.h"
#include "Socket.h"

namespace relay::sim {

static_assert(kMaxFleetBoards <= net::kMaxWaitedSockets);

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
  if (!start || !IsLoopback(*start) || count < 1 || count > kMaxFleetBoards || models.empty()) return std::nullopt;
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
    auto board = std::make_unique<RelaySim>(host_, entry.config, options);
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
