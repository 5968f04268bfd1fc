// Read/save cycles through the exports leave the heap where it was: nothing
// of a cycle stays behind in the library (or in the stand-in board, which
// runs in the same process and forgets its frames every cycle).
// RELAY_MEMORY_CYCLES sets the number of cycles (default 10,000).
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <string>

#include "TestBoard.h"
#include "relaylink.h"

namespace relay::testing {
namespace {

std::size_t HeapInUse() { return mallinfo2().uordblks; }

int Cycles() {
  const char *text = std::getenv("RELAY_MEMORY_CYCLES");
  return text != nullptr ? std::stoi(text) : 10000;
}

// One read, one changed value, one save with the restart.
void Cycle(TestBoard &board) {
  ASSERT_EQ(ReadDeviceCfg(board.address().c_str()), 1);
  ASSERT_EQ(SetRestoreState(GetRestoreState() == 0 ? 1 : 0), 1);
  ASSERT_EQ(SaveDeviceCfg(), 1);
  ASSERT_EQ(GetErrorCode(), 3001);
  board.sim().WaitUntilIdle();
  board.sim().ClearFrames();
}

TEST(Memory, ReadSaveCyclesLeaveTheHeapFlat) {
  TestBoard board;
  for (int i = 0; i < 100; ++i) ASSERT_NO_FATAL_FAILURE(Cycle(board));  // caches and pools settle
  const std::size_t before = HeapInUse();
  const int cycles = Cycles();
  for (int i = 0; i < cycles; ++i) ASSERT_NO_FATAL_FAILURE(Cycle(board));
  const std::size_t after = HeapInUse();
  // A leak of even two bytes per cycle shows over 10,000 cycles; a few
  // kilobytes of slack absorb the board's threads coming and going.
  EXPECT_LT(after, before + 16 * 1024) << "heap grew from " << before << " to " << after << " bytes over "
                                       << cycles << " cycles";
}

}  // namespace
}  // namespace relay::testing
