#include "link/ApplyPlan.h"

#include "board/ChangeFilters.h"

namespace relayctl {

relay::Task<WriteResult> ApplyBackup(relay::DeviceContext &context, const BoardState &board, const Backup &backup,
                                     const WriteOptions &options) {
  WriteResult result = co_await WriteChanges(context, board, WithoutNetwork(backup.settings), options);
  co_return result;
}

}  // namespace relayctl
