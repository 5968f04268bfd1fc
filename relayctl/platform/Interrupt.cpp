#include "platform/Interrupt.h"

#include <atomic>

namespace relayctl {
namespace {

std::atomic<int> requested{kExitDone};  // lock-free, so safe in a signal handler
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void RequestStop(ExitStatus stopStatus) { requested = stopStatus; }

bool Interrupted() { return requested != kExitDone; }

ExitStatus InterruptedStatus(ExitStatus status) {
  return Interrupted() ? static_cast<ExitStatus>(requested.load()) : status;
}

}  // namespace relayctl
