#include "link/BoardWrite.h"

#include <cstdio>

#include "Status.h"
#include "board/BoardText.h"
#include "board/ChangeFilters.h"
#include "board/Guards.h"
#include "board/SaveDecision.h"
#include "board/Verify.h"
#include "link/BoardLink.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"
#include "relaylink.h"

namespace relayctl {
namespace {

std::string Seconds(int ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", ms / 1000.0);
  return text;
}

// What a refused-before-sending message starts with.
WriteResult Refused(const std::string &why) { return {kExitRejected, "refused, nothing sent: " + why}; }

relay::Task<std::optional<WriteResult>> RefusedBeforeSending(relay::StepDriver *driver, const BoardState &before,
                                                             const Settings &changes, const Settings &expected,
                                                             bool force) {
  const std::vector<std::string> unsupported = UnsupportedNames(changes, before.capabilities);
  if (!unsupported.empty()) {
    co_return Refused("a " + ModelName(before.capabilities) + " board cannot take " + Joined(unsupported));
  }
  if (force) co_return std::nullopt;
  const std::vector<std::string> unusable = UnusableSettings(before, expected);
  if (!unusable.empty()) co_return Refused(Joined(unusable) + " (--force writes it anyway)");
  if (expected.ip && *expected.ip != before.address) {
    const std::optional<std::string> other = co_await BoardAnsweringAt(driver, *expected.ip);
    if (other) {
      co_return Refused(*other + " already answers at " + *expected.ip + " (--force writes it anyway)");
    }
  }
  co_return std::nullopt;
}

// The truth after a save that stopped at a failed write: what the board,
// read again, holds of what was to be written.
relay::Task<WriteResult> AfterFailedWrite(relay::DeviceContext &context, const BoardState &before,
                                          const Settings &expected, WriteResult result) {
  const BoardRead read = co_await ReadBoard(context, before.address);
  const std::optional<BoardState> &now = read.board;
  if (!now || now->deviceId != before.deviceId) {
    result.status = kExitPartlyWritten;
    result.changed = true;  // as far as anyone knows
    result.message += " What was written is unknown: the board does not answer now. It has not been restarted.";
    co_return result;
  }
  const WrittenSplit split = SplitWritten(before.settings, expected, now->settings);
  if (split.written.empty()) {
    result.message += " Nothing was written.";
    co_return result;
  }
  result.status = kExitPartlyWritten;
  result.changed = true;
  result.message += " Partly written, not restarted: the board holds the new " + Joined(split.written) +
                    (split.unwritten.empty() ? "" : "; not written: " + Joined(split.unwritten)) + ".";
  co_return result;
}

relay::Task<WriteResult> Verified(relay::DeviceContext &context, const BoardState &before, const Settings &expected,
                                  const WriteOptions &options, WriteResult result) {
  std::vector<std::string> addresses;
  if (expected.ip && *expected.ip != before.address) addresses.push_back(*expected.ip);
  addresses.push_back(before.address);
  std::vector<std::string> others;
  const WaitOutcome waited = co_await WaitForBoard(context, addresses, options.waitMs, before.deviceId, others);
  if (waited.stopped) {  // the board may well be back: the stop's status, not a board that did not answer
    result.status = InterruptedStatus(result.status);
    result.message += " Not verified: stopped after " + Seconds(waited.waitedMs) + " s of waiting for the board.";
    co_return result;
  }
  const std::optional<BoardState> &after = waited.board;
  if (!after) {
    result.status = kExitCommunication;
    result.message += " Not verified: the board did not answer within " + Seconds(options.waitMs) + " s" +
                      (others.empty() ? "" : "; other boards answered: " + Joined(others)) + ".";
    co_return result;
  }
  const std::vector<Difference> differences = Compare(expected, after->settings);
  if (!differences.empty()) {
    result.status = kExitNotVerified;
    result.message += " Not taken: " + Describe(differences, TerminalEncoding()) + ".";
  } else if (before.deviceId.empty()) {
    result.message += " Read back at " + after->address +
                      " with every value, but not verified: a board without a device ID cannot be told apart "
                      "from another.";
  } else {
    result.message += " Verified at " + after->address + ".";
    result.verified = true;
  }
  co_return result;
}

// What a save would do, as the library decides it. Nothing is sent.
WriteResult Planned(const BoardState &before, const SaveDecision &decision, const std::string &remoteNote) {
  WriteResult plan;
  plan.planned = true;
  if (decision.rejected) {
    plan.status = kExitRejected;
    plan.message = std::string(relay::StatusMessage(*decision.rejected)) + " (" +
                   std::to_string(static_cast<int>(*decision.rejected)) + ") Nothing sent.";
    return plan;
  }
  plan.changes = Changes(before.settings, decision.written);
  plan.changed = !plan.changes.empty();
  if (plan.changed) {
    plan.status = kExitWouldChange;
    plan.message = "Would change " + DescribeChanges(plan.changes, TerminalEncoding()) + "; nothing written.";
  } else {
    plan.message = "Nothing would change.";
  }
  plan.message += remoteNote;
  return plan;
}

}  // namespace

relay::Task<WriteResult> WriteChanges(relay::DeviceContext &context, const BoardState &before, const Settings &changes,
                                      const WriteOptions &options) {
  const SaveDecision decision = DecideSave(before, changes);
  const Settings &expected = decision.written;
  const std::optional<WriteResult> refused =
      co_await RefusedBeforeSending(context.State().DeviceSocket.Driver(), before, changes, expected, options.force);
  if (refused) co_return *refused;
  const bool remoteValuesUnwritten = (changes.dns || changes.server || changes.password) &&
                                     !changes.remote.value_or(before.settings.remote.value_or(false));
  const std::string remoteNote =
      remoteValuesUnwritten ? " (dns, server and password are written only while remote control is on)" : "";
  if (options.check) co_return Planned(before, decision, remoteNote);

  const Outcome saved = co_await SaveChanges(context, changes);
  WriteResult result{ExitStatusOfCode(saved.code), saved.message};
  result.changes = Changes(before.settings, expected);
  if (saved.code == RELAYLINK_SAVED) result.message += " Nothing to change.";
  if (result.status == kExitDone) result.message += remoteNote;
  if (saved.code == RELAYLINK_SAVED) {
    result.changes.clear();  // the board held every value already
    co_return result;
  }
  if (result.status != kExitDone) result.message += " (" + std::to_string(saved.code) + ")";
  result.restarted = saved.code == RELAYLINK_SAVED_AND_RESTARTED;
  result.changed = result.restarted || saved.completed;
  if (saved.completed && !result.restarted) {  // every write taken, the restart not
    result.status = kExitPartlyWritten;
    result.message += " Written, not restarted: the board holds the new " +
                      Joined(ChangedNames(result.changes)) + " but did not take the restart.";
    co_return result;
  }
  if (!saved.completed && result.status == kExitCommunication && saved.code != RELAYLINK_CONNECT_FAILED) {
    WriteResult found = co_await AfterFailedWrite(context, before, expected, result);
    co_return found;
  }
  if (result.status != kExitDone || !options.verify) co_return result;
  WriteResult verified = co_await Verified(context, before, expected, options, result);
  co_return verified;
}

}  // namespace relayctl
