// The board's wire protocol as pure functions over text: request frames, the
// write acknowledgement and the configuration reply. No I/O here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "BoardSettings.h"
#include "DeviceValues.h"

namespace relay {

// Command codes, one character each in the request frame: the read, the
// restart and one write per setting (SetIpAddr, ..., SetPassword).
#define RELAY_WRITE_COMMAND(name, Stem, command, ...) Set##Stem = command,
enum class Command : char {
  ReportConfig = '1',
  Restart = '7',
  RELAY_SETTINGS(RELAY_WRITE_COMMAND)
};
#undef RELAY_WRITE_COMMAND

// Replies longer than this are malformed; the exchange stops reading there.
inline constexpr std::size_t kMaxReplyBytes = 64 * 1024;

// Where a frame ends, for requests and replies alike: a frame is complete at
// its first ";". Returns the position just past it, or npos while no ";" has
// arrived. A reply is judged as everything that arrived with its ";", so
// bytes after it in the same piece make it malformed at once.
std::size_t FrameEnd(std::string_view received);

// "#" + code + tag in plain decimal + ";" for commands without a value.
std::string BuildCommand(Command command, int tag);
// "#" + code + tag + "," + value + ";"; the value is sent unchanged.
std::string BuildCommand(Command command, int tag, std::string_view value);

// True only for the exact acknowledgement ">OK;".
bool IsAcknowledgement(std::string_view reply);

// Replaces every ",," by ",.," in one left-to-right pass that resumes after
// each replacement, so only every other item of a run of empty items is filled.
std::string FillEmptyItems(std::string_view reply);

// Checks a configuration reply and stores its items in `dev`, rewriting the
// addresses into normal form. `versionItem` receives item 6 (empty for 5 and 9
// item replies). On failure the fields reached before the fault have already
// been overwritten. An address item that is not a number counts as a failure.
bool ParseCfgReply(std::string_view reply, DeviceSideValues &dev, std::string &versionItem);

}  // namespace relay
