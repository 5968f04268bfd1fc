// Whole-file reads and writes for backups and address lists.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace relayctl {

// Input files are refused beyond this size, before they are parsed.
inline constexpr std::size_t kMaxInputFileBytes = 1 << 20;

// The file's content, or nullopt with `error` set to a message naming the
// file and the system's reason, or the size limit. "-" reads standard input.
// Never reads more than kMaxInputFileBytes + 1 bytes.
std::optional<std::string> ReadTextFile(const std::string &path, std::string &error);

// Replaces the file with `text`, readable and writable by its owner only
// (backups hold the remote-control password): written to a new file in the
// same folder, synced, then renamed over the target, so that a failed write
// leaves the old file as it was. A symbolic link is followed; a target that is
// not a regular file is refused and left alone. "-" writes standard output.
// False with `error` set to a message naming the file and the reason.
bool WritePrivateFile(const std::string &path, const std::string &text, std::string &error);

}  // namespace relayctl
