// What `apply` does with a backup on one board that has just been read: the
// backup's settings without its network addresses, handed to WriteChanges.
// With options.check this is the plan of `apply --check`, which writes
// nothing; relay_exporter's drift series come from the same call.
#pragma once

#include "io/BackupFile.h"
#include "link/BoardWrite.h"

namespace relayctl {

// `context` is the one that read `board`, last.
relay::Task<WriteResult> ApplyBackup(relay::DeviceContext &context, const BoardState &board, const Backup &backup,
                                     const WriteOptions &options);

}  // namespace relayctl
