// apply: one backup, without its network addresses, onto many boards.
#include <iostream>
#include <memory>

#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "commands/Inputs.h"
#include "commands/ResultJson.h"
#include "commands/WriteBoards.h"
#include "io/BackupFile.h"
#include "io/Report.h"
#include "link/ApplyPlan.h"
#include "link/BoardLink.h"
#include "platform/Interrupt.h"

namespace relayctl {
namespace {

// A board of apply: the backup's settings but its network addresses.
relay::Task<WriteResult> ApplyTo(relay::DeviceContext &context, const std::string &address, const Backup &backup,
                                 const WriteOptions &options) {
  const BoardRead read = co_await ReadBoard(context, address);
  WriteResult result = NotRead(read.failure);
  if (read.board) result = co_await ApplyBackup(context, *read.board, backup, options);
  if (!backup.note.empty()) result.message = backup.note + ". " + result.message;
  co_return result;
}

int RunApply(const std::string &backupPath, std::vector<std::string> addresses, const std::string &listPath,
             const WriteOptions &options, int parallel, bool json) {
  const std::optional<Backup> backup = LoadBackup(backupPath);
  if (!backup) return kExitUsage;
  if (!GatherTargets(addresses, listPath)) return kExitUsage;
  if (addresses.empty()) {
    Report("no boards to apply to: give --to ADDRESS... or --to-list FILE");
    return kExitUsage;
  }

  const BoardJob apply = [&](relay::DeviceContext &context, const std::string &address) {
    return ApplyTo(context, address, *backup, options);
  };
  const BoardsWritten run = WriteBoards(addresses, parallel, json, options.check, apply);
  const ExitStatus overall = run.overall;
  const std::size_t succeeded = run.succeeded, started = run.started;
  const std::size_t notStarted = addresses.size() - started;
  if (json) std::cout << SummaryJson(addresses.size(), succeeded, notStarted, InterruptedStatus(overall)) << std::endl;
  Report(std::to_string(succeeded) + " of " + std::to_string(addresses.size()) + " boards took " + backupPath +
         (notStarted == 0 ? "" : "; stopped, " + std::to_string(notStarted) + " not started"));
  return overall;
}

}  // namespace

void AddApplyCommand(CLI::App &app, int &status) {
  struct Options {
    std::string file, listPath;
    std::vector<std::string> targets;
    WriteCommandOptions write;
    int parallel = kDefaultBoardsAtOnce;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App *apply = app.add_subcommand("apply", "Apply a backup, without its network addresses, to many boards");
  apply->add_option("file", options->file, "Backup file")->required();
  apply->add_option("--to", options->targets, "Addresses of the boards")->transform(BoardAddress());
  apply->add_option("--to-list", options->listPath, "File with one address per line ('#' starts a comment)");
  AddWriteOptions(*apply, options->write);
  AddParallelOption(*apply, options->parallel);
  AddJsonResultOption(*apply, options->json);
  apply->callback([options, &status] {
    status = RunApply(options->file, options->targets, options->listPath, options->write.Resolved(),
                      options->parallel, options->json);
  });
}

}  // namespace relayctl
