#include "commands/CommandLine.h"

#include <cmath>
#include <cstdlib>

#include "board/AddressRange.h"

namespace relayctl {

CLI::Validator BoardAddress() {
  return CLI::Validator(
      [](std::string &text) {
        std::string error;
        const std::optional<std::string> address = NormalBoardAddress(text, error);
        if (!address) return error;
        text = *address;
        return std::string();
      },
      "ADDRESS");
}

namespace {

// Seconds of --wait: a finite number from 0 to 3600. A range alone lets nan
// through, which fails every comparison.
CLI::Validator WaitSeconds() {
  return CLI::Validator(
      [](std::string &text) {
        char *end = nullptr;
        const double seconds = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > 3600) {
          return "'" + text + "' is not a number of seconds from 0 to 3600";
        }
        return std::string();
      },
      "FLOAT in [0 - 3600]");
}

}  // namespace

WriteOptions WriteCommandOptions::Resolved() const {
  WriteOptions resolved = write;
  resolved.waitMs = static_cast<int>(waitSeconds * 1000);
  return resolved;
}

void AddWriteOptions(CLI::App &command, WriteCommandOptions &options) {
  command.add_flag("--check", options.write.check,
                   "Only read each board and tell what would change (the password's digits never shown); write and "
                   "restart nothing. Exit status 5 when something would change");
  command.add_flag("--verify", options.write.verify,
                   "After the restart, read the board again, check that it is the same board and report any value "
                   "that did not take");
  command.add_option("--wait", options.waitSeconds, "Seconds to wait for the board to answer after its restart (with --verify)")
      ->check(WaitSeconds())
      ->capture_default_str();
  command.add_flag("--force", options.write.force,
                   "Write settings that would leave the board unreachable, or an ip where another board answers");
}

void AddJsonResultOption(CLI::App &command, bool &json) {
  command.add_flag("--json", json, "One JSON object per board as it finishes, then a summary object");
}

void AddParallelOption(CLI::App &command, int &parallel) {
  command.add_option("--parallel", parallel,
                     "Boards at once, up to every board given, as far as the limit of open files allows")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
}

}  // namespace relayctl
