#include "board.h"

TEST(Board, ClueCount) {
  const Board board(10);
  EXPECT_EQ(board.clue_count(), 0);
}
