#include "BoardWrite.h"

#include <cstdio>

#include "BoardLink.h"
#include "Verify.h"

namespace relayctl {
namespace {

constexpr int kRestarted = 3001;

std::string Joined(const std::vector<std::string> &names) {
  std::string text;
  for (const std::string &name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

WriteResult WriteChanges(const BoardState &before, const Settings &changes, const VerifyOptions &options) {
  const std::vector<std::string> unsupported = UnsupportedNames(changes, before.capabilities);
  if (!unsupported.empty()) {
    return {kExitRejected, "refused, nothing sent: a " + ModelName(before.capabilities) + " board cannot take " +
                               Joined(unsupported)};
  }
  const Settings expected = ExpectedAfterSave(before, changes);
  const Outcome saved = SaveChanges(changes);
  WriteResult result{ExitStatusOfCode(saved.code), saved.message};
  if (result.status != kExitDone) result.message += " (" + std::to_string(saved.code) + ")";
  const bool remoteValuesUnwritten =
      (changes.dns || changes.server || changes.password) && !(expected.dns || expected.server || expected.password);
  if (remoteValuesUnwritten && result.status == kExitDone) {
    result.message += " (dns, server and password are written only while remote control is on)";
  }
  if (result.status != kExitDone || !options.verify || saved.code != kRestarted) return result;

  std::vector<std::string> addresses;
  if (expected.ip && *expected.ip != before.address) addresses.push_back(*expected.ip);
  addresses.push_back(before.address);
  const std::optional<BoardState> after = WaitForBoard(addresses, options.waitMs);
  if (!after) {
    result.status = kExitCommunication;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", options.waitMs / 1000.0);
    result.message += std::string(" Not verified: the board did not answer within ") + seconds + " s.";
    return result;
  }
  const std::vector<Difference> differences = Compare(expected, after->settings);
  if (!differences.empty()) {
    result.status = kExitNotVerified;
    result.message += " Not taken: " + Describe(differences) + ".";
  } else {
    result.message += " Verified at " + after->address + ".";
  }
  return result;
}

}  // namespace relayctl
