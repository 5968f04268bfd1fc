// Many stand-in boards in one process, on consecutive loopback addresses, with
// their models taken in turn from a list.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BoardHost.h"
#include "RelaySim.h"
#include "SimBoard.h"

namespace relay::sim {

struct FleetBoard {
  std::string address;
  BoardConfig config;
};

// Board kinds by name: "remote" (remote control and key modes), "keys" (key
// modes only) and "basic" (neither). Nullopt for any other name.
std::optional<BoardConfig> ModelConfig(BoardConfig base, std::string_view name);

// The most boards a fleet holds: its host waits on all their listeners at once.
inline constexpr int kMaxFleetBoards = 4096;

// `count` boards (1..kMaxFleetBoards) from `first` on (a 127.x.y.z address),
// each one's models taken in turn from `models`. Every board's own IP address
// is the address it listens on and its device ID is made from that address,
// so all differ. The other settings come from `base`. Nullopt for a count out
// of range, when `first` is no loopback address, the addresses would leave
// 127.0.0.0/8, or a model name is unknown.
std::optional<std::vector<FleetBoard>> PlanFleet(const BoardConfig &base, int count, std::string_view first,
                                                 const std::vector<std::string> &models);

class SimFleet {
 public:
  SimFleet() = default;
  SimFleet(const SimFleet &) = delete;
  SimFleet &operator=(const SimFleet &) = delete;

  // Starts one board per plan entry, each with `options`. When an address
  // cannot be bound, stops what had started and returns false.
  bool Start(const std::vector<FleetBoard> &plan, const SimOptions &options = {});
  void Stop();

  std::size_t Size() const { return boards_.size(); }
  RelaySim &Board(std::size_t index) { return *boards_.at(index); }

 private:
  BoardHost host_;  // declared first: it outlives the boards it serves
  std::vector<std::unique_ptr<RelaySim>> boards_;
};

}  // namespace relay::sim
