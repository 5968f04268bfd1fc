#include "commands/WriteBoards.h"

#include "commands/ResultLines.h"
#include "io/Progress.h"
#include "platform/Interrupt.h"

namespace relayctl {

BoardsWritten WriteBoards(const std::vector<std::string> &addresses, int parallel, bool json, const WorkerJob &job,
                          const WriteOptions &options, const std::string &input) {
  BoardsWritten run;
  std::size_t finished = 0;
  Progress progress(addresses.size());
  progress.Show(0);
  run.started = RunInWorkers(
      job, addresses.size(), parallel,
      [&](std::size_t i) { return EncodeRequest({addresses[i], options, input}); },
      [&](std::size_t i, const std::string &text) {
        WriteResult result = Decode(text);
        result.planned = options.check;  // also for boards refused or not read
        run.overall = Worse(run.overall, result.status);
        if (result.status == kExitDone || result.status == kExitWouldChange) ++run.succeeded;
        progress.Clear();
        PrintResult(addresses[i], result, json);
        progress.Show(++finished, addresses[i]);
      },
      Interrupted);
  return run;
}

}  // namespace relayctl
