// Whole-file reads and writes for backups and address lists.
#pragma once

#include <optional>
#include <string>

namespace relayctl {

// The file's content, or nullopt when it cannot be read. "-" reads standard input.
std::optional<std::string> ReadTextFile(const std::string &path);

// Replaces the file with `text`, readable and writable by its owner only
// (backups hold the remote-control password). "-" writes standard output.
bool WritePrivateFile(const std::string &path, const std::string &text);

}  // namespace relayctl
