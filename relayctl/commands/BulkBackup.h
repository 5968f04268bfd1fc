// backup --dir: the boards of a range or a list, each backed up to a file of
// its own in a folder, several boards at once.
#pragma once

#include <string>
#include <vector>

namespace relayctl {

// What a board's backup file is named after: its device ID when that is 14
// characters of A-Z, a-z, 0-9, '-' and '_', else its address. A board's text
// never picks a path.
std::string BackupFileStem(const std::string &deviceId, const std::string &address);

// "STEM-DATE.json"; from the second attempt on, "-2", "-3" ... before ".json".
std::string BackupFileName(const std::string &deviceId, const std::string &address, const std::string &date,
                           int attempt);

// Backs up the boards that answer in `range` (when not empty) and the boards
// at `addresses`, `parallel` at a time, into `folder` (made when missing).
// A file that holds another board's backup, one written earlier in the same
// run, or anything but a regular file (never opened) is not replaced: the
// backup goes to the next free name. Boards that do not answer are listed.
// Returns the exit status: the highest of the boards'.
int RunBulkBackup(const std::string &folder, const std::string &range, std::vector<std::string> addresses,
                  int parallel);

}  // namespace relayctl
