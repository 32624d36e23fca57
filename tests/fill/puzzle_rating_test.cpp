#include "fill/puzzle_rating.h"

#include <gtest/gtest.h>

#include "cmd/crossword_commands.h"
#include "model/square_catalogue.h"

namespace dlslab {
namespace {

int clue_count(const TLatinSquare& square) {
  int clues = 0;
  for (int cell = 0; cell < square.size(); ++cell) clues += square.data()[cell] != kEmpty;
  return clues;
}

TEST(RatePuzzle, AFullSquareAndSinglesAreEasy) {
  TLatinSquare square = cmd::plain_deal_of(7).solution;
  PuzzleRating rating = rate_puzzle(square);
  EXPECT_EQ(rating.difficulty, Difficulty::kEasy);
  EXPECT_EQ(rating.naked_singles + rating.hidden_singles + rating.pairs, 0);

  // One empty cell per row on different columns and off the diagonals' crossing: each is the
  // only candidate left in its cell.
  const TLatinSquare solution = square;
  for (int r = 0; r < kOrder; ++r) square[r][(r + 3) % kOrder] = kEmpty;
  rating = rate_puzzle(square);
  EXPECT_EQ(rating.difficulty, Difficulty::kEasy);
  EXPECT_EQ(rating.naked_singles, kOrder);
  EXPECT_EQ(rating.cells_left, 0);
  EXPECT_EQ(rating.board, solution);
}

TEST(RatePuzzle, ContradictoryCluesAreHard) {
  TLatinSquare square(kOrder);
  square[0][0] = 4;
  square[0][7] = 4;  // the same value twice in row 0
  EXPECT_EQ(rate_puzzle(square).difficulty, Difficulty::kHard);
  TLatinSquare diagonal(kOrder);
  diagonal[1][1] = 2;
  diagonal[6][6] = 2;  // twice on the main diagonal, in different rows and columns
  EXPECT_EQ(rate_puzzle(diagonal).difficulty, Difficulty::kHard);
  TLatinSquare out_of_range(kOrder);
  out_of_range[3][3] = 12;
  EXPECT_EQ(rate_puzzle(out_of_range).difficulty, Difficulty::kHard);
}

TEST(RatePuzzle, NeverFillsAWrongValue) {
  // The dealt clue sets are minimal, so the techniques mostly get stuck; wherever they get,
  // every value they set is the solution's.
  for (std::uint32_t seed = 100; seed < 130; ++seed) {
    const cmd::PlainDeal deal = cmd::plain_deal_of(seed);
    const PuzzleRating rating = rate_puzzle(deal.puzzle);
    int filled = 0;
    for (int cell = 0; cell < deal.solution.size(); ++cell) {
      const int v = rating.board.data()[cell];
      if (v == kEmpty) continue;
      ++filled;
      EXPECT_EQ(v, deal.solution.data()[cell]) << "seed " << seed << " cell " << cell;
    }
    EXPECT_EQ(filled + rating.cells_left, deal.solution.size()) << seed;
    EXPECT_EQ(rating.cells_left == 0, rating.difficulty != Difficulty::kHard) << seed;
  }
}

TEST(EasePuzzle, AddsCluesOfTheSolutionUntilTheTargetIsMet) {
  for (const Difficulty target : {Difficulty::kEasy, Difficulty::kMedium}) {
    for (std::uint32_t seed = 200; seed < 210; ++seed) {
      const cmd::PlainDeal deal = cmd::plain_deal_of(seed);
      TLatinSquare puzzle = deal.puzzle;
      const PuzzleRating rating = ease_puzzle(puzzle, deal.solution, target, seed);
      EXPECT_LE(rating.difficulty, target) << seed;
      EXPECT_EQ(rating.difficulty, rate_puzzle(puzzle).difficulty) << seed;
      EXPECT_EQ(rating.board, deal.solution) << seed;
      if (rate_puzzle(deal.puzzle).difficulty > target) {
        EXPECT_GT(clue_count(puzzle), clue_count(deal.puzzle)) << seed;
      }
      for (int cell = 0; cell < puzzle.size(); ++cell) {
        const int dealt = deal.puzzle.data()[cell];
        const int now = puzzle.data()[cell];
        EXPECT_TRUE(dealt == kEmpty || now == dealt) << seed << " cell " << cell;
        EXPECT_TRUE(now == kEmpty || now == deal.solution.data()[cell]) << seed << " cell " << cell;
      }
      // The same seed adds the same clues.
      TLatinSquare again = deal.puzzle;
      (void)ease_puzzle(again, deal.solution, target, seed);
      EXPECT_EQ(again, puzzle);
    }
  }
}

TEST(EasePuzzle, LeavesAPuzzleAlreadyEasyEnough) {
  const cmd::PlainDeal deal = cmd::plain_deal_of(300);
  TLatinSquare puzzle = deal.puzzle;
  EXPECT_EQ(ease_puzzle(puzzle, deal.solution, Difficulty::kHard, 1).difficulty,
            rate_puzzle(deal.puzzle).difficulty);
  EXPECT_EQ(puzzle, deal.puzzle);
}

TEST(DifficultyName, RoundTripsAndIgnoresCase) {
  for (const Difficulty d : {Difficulty::kEasy, Difficulty::kMedium, Difficulty::kHard}) {
    Difficulty parsed = Difficulty::kEasy;
    EXPECT_TRUE(parse_difficulty(difficulty_name(d), parsed));
    EXPECT_EQ(parsed, d);
  }
  Difficulty parsed = Difficulty::kEasy;
  EXPECT_TRUE(parse_difficulty("HaRd", parsed));
  EXPECT_EQ(parsed, Difficulty::kHard);
  EXPECT_FALSE(parse_difficulty("expert", parsed));
  EXPECT_FALSE(parse_difficulty("", parsed));
}

}  // namespace
}  // namespace dlslab
