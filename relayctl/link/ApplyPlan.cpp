#include "link/ApplyPlan.h"

#include "board/ChangeFilters.h"

namespace relayctl {

WriteResult ApplyBackup(const BoardState &board, const Backup &backup, const WriteOptions &options) {
  return WriteChanges(board, WithoutNetwork(backup.settings), options);
}

}  // namespace relayctl
