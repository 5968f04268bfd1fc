#include "commands/WriteBoards.h"

#include "ArpCache.h"
#include "commands/ResultLines.h"
#include "io/Progress.h"
#include "link/FleetEngine.h"
#include "platform/Interrupt.h"

namespace relayctl {
namespace {

// A board's job on a context of its own, which lives as long as the job.
relay::Task<WriteResult> OnOwnContext(relay::StepDriver *driver, std::string address, const BoardJob &job,
                                      bool flushArpCache) {
  relay::DeviceContext context(driver, flushArpCache);
  WriteResult result = co_await job(context, address);
  co_return result;
}

}  // namespace

BoardsWritten WriteBoards(const std::vector<std::string> &addresses, int parallel, bool json, bool check,
                          const BoardJob &job) {
  const std::size_t atOnce = BoardsAtOnce(parallel, addresses.size());
  BoardsWritten run;
  std::size_t finished = 0;
  Progress progress(addresses.size());
  progress.Show(0);
  relay::FlushArpCache();  // once for the run, not before each board's read
  FleetEngine engine;
  run.started = engine.Run<WriteResult>(
      addresses.size(), atOnce,
      [&](std::size_t i) { return OnOwnContext(engine.Driver(), addresses[i], job, false); },
      [&](std::size_t i, WriteResult result) {
        result.planned = check;  // also for boards refused or not read
        run.overall = Worse(run.overall, result.status);
        if (result.status == kExitDone || result.status == kExitWouldChange) ++run.succeeded;
        progress.Clear();
        PrintResult(addresses[i], result, json);
        progress.Show(++finished, addresses[i]);
      },
      Interrupted);
  return run;
}

WriteResult WriteBoard(const std::string &address, const BoardJob &job) {
  return RunAlone<WriteResult>([&](relay::StepDriver *driver) { return OnOwnContext(driver, address, job, true); },
                               Interrupted);
}

WriteResult NotRead(const Outcome &failure) {
  return {kExitCommunication, failure.message + " (" + std::to_string(failure.code) + ")"};
}

}  // namespace relayctl
