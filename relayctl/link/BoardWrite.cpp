#include "link/BoardWrite.h"

#include <cstdio>
#include <nlohmann/json.hpp>

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

std::optional<WriteResult> RefusedBeforeSending(const BoardState &before, const Settings &changes,
                                                const Settings &expected, bool force) {
  const std::vector<std::string> unsupported = UnsupportedNames(changes, before.capabilities);
  if (!unsupported.empty()) {
    return Refused("a " + ModelName(before.capabilities) + " board cannot take " + Joined(unsupported));
  }
  if (force) return std::nullopt;
  const std::vector<std::string> unusable = UnusableSettings(before, expected);
  if (!unusable.empty()) return Refused(Joined(unusable) + " (--force writes it anyway)");
  if (expected.ip && *expected.ip != before.address) {
    if (const std::optional<std::string> other = BoardAnsweringAt(*expected.ip)) {
      return Refused(*other + " already answers at " + *expected.ip + " (--force writes it anyway)");
    }
  }
  return std::nullopt;
}

// The truth after a save that stopped at a failed write: what the board,
// read again, holds of what was to be written.
WriteResult AfterFailedWrite(const BoardState &before, const Settings &expected, WriteResult result) {
  Outcome ignored;
  const std::optional<BoardState> now = ReadBoard(before.address, ignored);
  if (!now || now->deviceId != before.deviceId) {
    result.status = kExitPartlyWritten;
    result.changed = true;  // as far as anyone knows
    result.message += " What was written is unknown: the board does not answer now. It has not been restarted.";
    return result;
  }
  const WrittenSplit split = SplitWritten(before.settings, expected, now->settings);
  if (split.written.empty()) {
    result.message += " Nothing was written.";
    return result;
  }
  result.status = kExitPartlyWritten;
  result.changed = true;
  result.message += " Partly written, not restarted: the board holds the new " + Joined(split.written) +
                    (split.unwritten.empty() ? "" : "; not written: " + Joined(split.unwritten)) + ".";
  return result;
}

WriteResult Verified(const BoardState &before, const Settings &expected, const WriteOptions &options,
                     WriteResult result) {
  std::vector<std::string> addresses;
  if (expected.ip && *expected.ip != before.address) addresses.push_back(*expected.ip);
  addresses.push_back(before.address);
  std::vector<std::string> others;
  const WaitOutcome waited = WaitForBoard(addresses, options.waitMs, before.deviceId, others);
  if (waited.stopped) {  // the board may well be back: the stop's status, not a board that did not answer
    result.status = InterruptedStatus(result.status);
    result.message += " Not verified: stopped after " + Seconds(waited.waitedMs) + " s of waiting for the board.";
    return result;
  }
  const std::optional<BoardState> &after = waited.board;
  if (!after) {
    result.status = kExitCommunication;
    result.message += " Not verified: the board did not answer within " + Seconds(options.waitMs) + " s" +
                      (others.empty() ? "" : "; other boards answered: " + Joined(others)) + ".";
    return result;
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
  return result;
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

// Texts cross between the processes as JSON, byte for byte (BoardText.h):
// messages, values and folder names may hold any bytes.
std::string Encode(const WriteResult &result) {
  nlohmann::json changes = nlohmann::json::array();
  for (const Change &change : result.changes) {
    changes.push_back({change.setting, JsonFromBytes(change.before), JsonFromBytes(change.after)});
  }
  return nlohmann::json{{"status", static_cast<int>(result.status)},
                        {"message", JsonFromBytes(result.message)},
                        {"changes", changes},
                        {"flags", {result.changed, result.restarted, result.verified}}}
      .dump();
}

namespace {

// The bytes of the JSON text `entry`, or nullopt when it is none.
std::optional<std::string> TextOf(const nlohmann::json &entry) {
  if (!entry.is_string()) return std::nullopt;
  std::string ignored;
  return BytesFromJson(entry.get_ref<const std::string &>(), ignored);
}

std::optional<WriteResult> Decoded(const nlohmann::json &object) {
  if (!object.is_object() || !object.contains("status") || !object["status"].is_number_integer()) return std::nullopt;
  const std::optional<std::string> message = TextOf(object.value("message", nlohmann::json()));
  const nlohmann::json changes = object.value("changes", nlohmann::json());
  const nlohmann::json flags = object.value("flags", nlohmann::json());
  if (!message || !changes.is_array() || !flags.is_array() || flags.size() != 3) return std::nullopt;
  WriteResult result{static_cast<ExitStatus>(object["status"].get<int>()), *message};
  for (const nlohmann::json &change : changes) {
    if (!change.is_array() || change.size() != 3) return std::nullopt;
    const auto setting = TextOf(change[0]), before = TextOf(change[1]), after = TextOf(change[2]);
    if (!setting || !before || !after) return std::nullopt;
    result.changes.push_back({*setting, *before, *after});
  }
  bool *const targets[] = {&result.changed, &result.restarted, &result.verified};
  for (std::size_t i = 0; i < 3; ++i) {
    if (!flags[i].is_boolean()) return std::nullopt;
    *targets[i] = flags[i].get<bool>();
  }
  return result;
}

}  // namespace

WriteResult Decode(const std::string &text) {
  if (std::optional<WriteResult> result = Decoded(nlohmann::json::parse(text, nullptr, false))) return *result;
  WriteResult unknown{kExitPartlyWritten,
                      "the worker for this board ended without a report: what was written is unknown"};
  unknown.changed = true;  // as far as anyone knows
  return unknown;
}

std::string EncodeRequest(const WriteJobRequest &request) {
  return nlohmann::json{{"address", request.address},
                        {"check", request.options.check},
                        {"verify", request.options.verify},
                        {"wait_ms", request.options.waitMs},
                        {"force", request.options.force},
                        {"input", JsonFromBytes(request.input)}}
      .dump();
}

// The request comes from this program's own parent: a text it cannot read
// gives a request for no board, which fails to be read.
WriteJobRequest DecodeRequest(const std::string &text) {
  const nlohmann::json object = nlohmann::json::parse(text, nullptr, false);
  if (!object.is_object()) return {};
  WriteOptions options;
  options.check = object.value("check", false);
  options.verify = object.value("verify", false);
  options.waitMs = object.value("wait_ms", 0);
  options.force = object.value("force", false);
  return {TextOf(object.value("address", nlohmann::json())).value_or(""), options,
          TextOf(object.value("input", nlohmann::json())).value_or("")};
}

WriteResult WriteChanges(const BoardState &before, const Settings &changes, const WriteOptions &options) {
  const SaveDecision decision = DecideSave(before, changes);
  const Settings &expected = decision.written;
  if (auto refused = RefusedBeforeSending(before, changes, expected, options.force)) return *refused;
  const bool remoteValuesUnwritten = (changes.dns || changes.server || changes.password) &&
                                     !changes.remote.value_or(before.settings.remote.value_or(false));
  const std::string remoteNote =
      remoteValuesUnwritten ? " (dns, server and password are written only while remote control is on)" : "";
  if (options.check) return Planned(before, decision, remoteNote);

  const Outcome saved = SaveChanges(changes);
  WriteResult result{ExitStatusOfCode(saved.code), saved.message};
  result.changes = Changes(before.settings, expected);
  if (saved.code == RELAYLINK_SAVED) result.message += " Nothing to change.";
  if (result.status == kExitDone) result.message += remoteNote;
  if (saved.code == RELAYLINK_SAVED) {
    result.changes.clear();  // the board held every value already
    return result;
  }
  if (result.status != kExitDone) result.message += " (" + std::to_string(saved.code) + ")";
  result.restarted = saved.code == RELAYLINK_SAVED_AND_RESTARTED;
  result.changed = result.restarted || saved.completed;
  if (saved.completed && !result.restarted) {  // every write taken, the restart not
    result.status = kExitPartlyWritten;
    result.message += " Written, not restarted: the board holds the new " +
                      Joined(ChangedNames(result.changes)) + " but did not take the restart.";
    return result;
  }
  if (!saved.completed && result.status == kExitCommunication && saved.code != RELAYLINK_CONNECT_FAILED) {
    return AfterFailedWrite(before, expected, result);
  }
  if (result.status != kExitDone || !options.verify) return result;
  return Verified(before, expected, options, result);
}

}  // namespace relayctl
