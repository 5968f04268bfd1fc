#include "BoardWrite.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "BoardLink.h"
#include "BoardText.h"
#include "Guards.h"
#include "Interrupt.h"
#include "Verify.h"
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
    result.message += " What was written is unknown: the board does not answer now. It has not been restarted.";
    return result;
  }
  const WrittenSplit split = SplitWritten(before.settings, expected, now->settings);
  if (split.written.empty()) {
    result.message += " Nothing was written.";
    return result;
  }
  result.status = kExitPartlyWritten;
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
  }
  return result;
}

}  // namespace

// Texts cross between the processes as JSON, byte for byte (BoardText.h):
// messages and folder names may hold any bytes.
std::string Encode(const WriteResult &result) {
  return nlohmann::json{{"status", static_cast<int>(result.status)}, {"message", JsonFromBytes(result.message)}}
      .dump();
}

namespace {

// The bytes of the text `name` of `object`, or nullopt when it has none.
std::optional<std::string> TextField(const nlohmann::json &object, const char *name) {
  const auto entry = object.find(name);
  if (entry == object.end() || !entry->is_string()) return std::nullopt;
  std::string ignored;
  return BytesFromJson(entry->get_ref<const std::string &>(), ignored);
}

}  // namespace

WriteResult Decode(const std::string &text) {
  const nlohmann::json object = nlohmann::json::parse(text, nullptr, false);
  if (object.is_object() && object.contains("status") && object["status"].is_number_integer()) {
    if (const std::optional<std::string> message = TextField(object, "message")) {
      return {static_cast<ExitStatus>(object["status"].get<int>()), *message};
    }
  }
  return {kExitPartlyWritten, "the worker for this board ended without a report: what was written is unknown"};
}

std::string EncodeRequest(const WriteJobRequest &request) {
  return nlohmann::json{{"address", request.address},
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
  return {TextField(object, "address").value_or(""),
          {object.value("verify", false), object.value("wait_ms", 0), object.value("force", false)},
          TextField(object, "input").value_or("")};
}

WriteResult WriteChanges(const BoardState &before, const Settings &changes, const WriteOptions &options) {
  const Settings expected = ExpectedAfterSave(before, changes);
  if (auto refused = RefusedBeforeSending(before, changes, expected, options.force)) return *refused;

  const Outcome saved = SaveChanges(changes);
  WriteResult result{ExitStatusOfCode(saved.code), saved.message};
  if (saved.code == RELAYLINK_SAVED) result.message += " Nothing to change.";
  const bool remoteValuesUnwritten =
      (changes.dns || changes.server || changes.password) && !(expected.dns || expected.server || expected.password);
  if (remoteValuesUnwritten && result.status == kExitDone) {
    result.message += " (dns, server and password are written only while remote control is on)";
  }
  if (saved.code == RELAYLINK_SAVED) return result;
  if (result.status != kExitDone) result.message += " (" + std::to_string(saved.code) + ")";
  if (saved.completed && saved.code != RELAYLINK_SAVED_AND_RESTARTED) {  // every write taken, the restart not
    result.status = kExitPartlyWritten;
    result.message += " Written, not restarted: the board holds the new " +
                      Joined(ChangedNames(before.settings, expected)) + " but did not take the restart.";
    return result;
  }
  if (!saved.completed && result.status == kExitCommunication && saved.code != RELAYLINK_CONNECT_FAILED) {
    return AfterFailedWrite(before, expected, result);
  }
  if (result.status != kExitDone || !options.verify) return result;
  return Verified(before, expected, options, result);
}

}  // namespace relayctl
