#include "link/FleetEngine.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "io/Report.h"

namespace relayctl {
namespace {

namespace net = relay::net;

// While a pause waits, the engine looks at least this often whether a stop
// was asked for (a signal also ends its wait at once).
constexpr int kStopCheckMs = 100;

}  // namespace

void FleetEngine::AfterStep(std::size_t index) {
  if (const std::optional<relay::StepDriver::Suspended> suspended = TakeSuspended()) {
    const relay::Wait &wait = suspended->wait;
    const std::uint64_t token = nextToken_++;
    auto deadline = wait.deadline;
    if (wait.socket == net::kInvalidSocket ? stopping_ : !poller_.Watch(wait.socket, wait.writable, token)) {
      deadline = relay::StepClock::now();  // a pause after a stop, or a socket that cannot be watched: over at once
    }
    if (wait.socket == net::kInvalidSocket) ++pauses_;
    waiting_.emplace(token, Waiting{*suspended, index});
    deadlines_.emplace(deadline, token);
    return;
  }
  std::unique_ptr<Job> ended = std::move(running_[index]);  // the step ended its job
  --jobsRunning_;
  ended->Finish();
}

void FleetEngine::Resume(std::uint64_t token, bool ready) {
  const auto found = waiting_.find(token);
  if (found == waiting_.end()) return;  // resumed already (a deadline after the socket was ready)
  const Waiting waiting = found->second;
  waiting_.erase(found);
  const net::SocketHandle socket = waiting.suspended.wait.socket;
  if (socket == net::kInvalidSocket) {
    --pauses_;
  } else if (!ready) {
    poller_.Forget(socket);
  }
  *waiting.suspended.ready = ready;
  waiting.suspended.step.resume();
  AfterStep(waiting.job);
}

void FleetEngine::EndPauses() {
  std::vector<std::uint64_t> pauses;
  for (const auto &[token, waiting] : waiting_) {
    if (waiting.suspended.wait.socket == net::kInvalidSocket) pauses.push_back(token);
  }
  for (const std::uint64_t token : pauses) Resume(token, false);
}

int FleetEngine::MillisecondsToNextDeadline() {
  while (!deadlines_.empty() && !waiting_.contains(deadlines_.top().second)) deadlines_.pop();  // resumed already
  if (deadlines_.empty()) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadlines_.top().first - relay::StepClock::now());
  return static_cast<int>(std::max<long long>(0, left.count()));
}

std::size_t FleetEngine::Drive(std::size_t count, std::size_t parallel,
                               const std::function<std::unique_ptr<Job>(std::size_t)> &make,
                               const std::function<bool()> &stop) {
  running_.clear();
  running_.resize(count);
  std::size_t next = 0;
  parallel = std::max<std::size_t>(1, parallel);
  for (;;) {
    if (!stopping_ && stop()) {
      stopping_ = true;
      EndPauses();
    }
    while (!stopping_ && next < count && jobsRunning_ < parallel) {
      const std::size_t index = next++;
      running_[index] = make(index);
      ++jobsRunning_;
      running_[index]->Start();
      AfterStep(index);
    }
    if (jobsRunning_ == 0) break;
    int timeoutMs = MillisecondsToNextDeadline();
    if (pauses_ > 0 && !stopping_ && (timeoutMs < 0 || timeoutMs > kStopCheckMs)) timeoutMs = kStopCheckMs;
    for (const std::uint64_t token : poller_.Wait(timeoutMs)) Resume(token, true);
    const auto now = relay::StepClock::now();
    while (!deadlines_.empty() && deadlines_.top().first <= now) {
      const std::uint64_t token = deadlines_.top().second;
      deadlines_.pop();
      Resume(token, false);
    }
  }
  return next;
}

std::size_t BoardsAtOnce(int parallel, std::size_t boards) {
  const std::size_t wanted =
      std::min(static_cast<std::size_t>(std::max(1, parallel)), std::max<std::size_t>(1, boards));
  const std::size_t allowed = net::SocketsAtOnce(wanted);
  if (allowed < wanted) {
    Report("the limit of open files allows " + std::to_string(allowed) + " boards at once, not " +
           std::to_string(wanted));
  }
  return allowed;
}

}  // namespace relayctl
