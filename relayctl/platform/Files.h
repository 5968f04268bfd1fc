// Whole-file reads and writes for backups and address lists.
#pragma once

#include <cstddef>
#include <filesystem>
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
// (backups hold the remote-control password; on Windows an access list of
// the user alone, where the file system keeps one): written to a new file in the
// same folder, synced, then renamed over the target, so that a failed write
// leaves the old file as it was. A symbolic link is followed; a target that is
// not a regular file is refused and left alone. "-" writes standard output.
// False with `error` set to a message naming the file and the reason.
bool WritePrivateFile(const std::string &path, const std::string &text, std::string &error);

// The platform's halves of WritePrivateFile; each gives nullopt on success,
// else the system's reason.
// All of `text` to standard output, unchanged (no line-end translation).
std::optional<std::string> WriteStandardOutput(const std::string &text);
// A new owner-only file beside `target` with `text`, flushed to the disk,
// then renamed over `target`; on failure the new file is removed again.
std::optional<std::string> ReplaceWithPrivateFile(const std::filesystem::path &target, const std::string &text);

}  // namespace relayctl
