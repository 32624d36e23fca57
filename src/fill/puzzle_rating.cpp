#include "fill/puzzle_rating.h"

#include <array>
#include <bit>
#include <cassert>
#include <cctype>
#include <cstdint>
#include <utility>

// The solver keeps one 10-bit candidate mask per cell and the 22 lines of an order-10 DLS
// (10 rows, 10 columns, the main diagonal and the anti-diagonal). Each round it takes the first
// technique, in order of difficulty, that changes something:
//   1. a naked single: an empty cell with one candidate gets it;
//   2. a hidden single: a value with one possible cell left in a line goes there;
//   3. a naked pair: two cells of a line with the same two candidates strike those two values
//      from the rest of the line; a hidden pair (two values whose only places in a line are the
//      same two cells) strikes every other candidate from those cells.
// When no technique applies and cells are still empty, the puzzle needs search.
namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;
constexpr int kLines = 2 * kOrder + 2;
constexpr std::uint16_t kAllValues = (1u << kOrder) - 1;

using Line = std::array<std::uint8_t, kOrder>;

constexpr std::array<Line, kLines> make_lines() {
  std::array<Line, kLines> lines{};
  for (int i = 0; i < kOrder; ++i)
    for (int j = 0; j < kOrder; ++j) {
      lines[i][j] = static_cast<std::uint8_t>(i * kOrder + j);           // row i
      lines[kOrder + i][j] = static_cast<std::uint8_t>(j * kOrder + i);  // column i
    }
  for (int j = 0; j < kOrder; ++j) {
    lines[2 * kOrder][j] = static_cast<std::uint8_t>(j * kOrder + j);
    lines[2 * kOrder + 1][j] = static_cast<std::uint8_t>(j * kOrder + kOrder - 1 - j);
  }
  return lines;
}

constexpr std::array<Line, kLines> kLineCells = make_lines();

class PersonSolver {
 public:
  explicit PersonSolver(const TLatinSquare& puzzle) {
    value_.fill(kEmpty);
    candidates_.fill(kAllValues);
    for (int cell = 0; cell < kCells; ++cell) {
      const int v = puzzle.data()[cell];
      if (v >= 0 && v < kOrder && (candidates_[cell] >> v & 1u))
        place(cell, v);
      else if (v != kEmpty)
        contradiction_ = true;
    }
  }

  PuzzleRating solve() {
    PuzzleRating rating;
    while (!contradiction_ && empty_cells_ > 0) {
      if (naked_single())
        ++rating.naked_singles;
      else if (hidden_single())
        ++rating.hidden_singles;
      else if (pair())
        ++rating.pairs;
      else
        break;
    }
    rating.cells_left = empty_cells_;
    rating.board = TLatinSquare(kOrder);
    for (int cell = 0; cell < kCells; ++cell) rating.board.data()[cell] = value_[cell];
    if (contradiction_ || empty_cells_ > 0)
      rating.difficulty = Difficulty::kHard;
    else if (rating.hidden_singles + rating.pairs > 0)
      rating.difficulty = Difficulty::kMedium;
    else
      rating.difficulty = Difficulty::kEasy;
    return rating;
  }

 private:
  static bool on_main(int cell) { return cell / kOrder == cell % kOrder; }
  static bool on_anti(int cell) { return cell / kOrder + cell % kOrder == kOrder - 1; }

  void strike_line(const Line& line, std::uint16_t bit) {
    for (const std::uint8_t other : line) candidates_[other] &= static_cast<std::uint16_t>(~bit);
  }

  void place(int cell, int v) {
    const auto bit = static_cast<std::uint16_t>(1u << v);
    const int row = cell / kOrder, col = cell % kOrder;
    strike_line(kLineCells[row], bit);
    strike_line(kLineCells[kOrder + col], bit);
    if (on_main(cell)) strike_line(kLineCells[2 * kOrder], bit);
    if (on_anti(cell)) strike_line(kLineCells[2 * kOrder + 1], bit);
    value_[cell] = v;
    candidates_[cell] = 0;
    --empty_cells_;
  }

  bool naked_single() {
    for (int cell = 0; cell < kCells; ++cell) {
      if (value_[cell] != kEmpty) continue;
      const std::uint16_t m = candidates_[cell];
      if (m == 0) {
        contradiction_ = true;
        return false;
      }
      if (std::has_single_bit(m)) {
        place(cell, std::countr_zero(m));
        return true;
      }
    }
    return false;
  }

  /// The values still unplaced in `line`, and for each its possible cells as a 10-bit mask.
  std::uint16_t places(const Line& line, std::array<std::uint16_t, kOrder>& where) const {
    std::uint16_t placed = 0;
    where.fill(0);
    for (int j = 0; j < kOrder; ++j) {
      const int cell = line[j];
      if (value_[cell] != kEmpty) placed |= static_cast<std::uint16_t>(1u << value_[cell]);
      for (unsigned m = candidates_[cell]; m != 0; m &= m - 1)
        where[std::countr_zero(m)] |= static_cast<std::uint16_t>(1u << j);
    }
    return static_cast<std::uint16_t>(kAllValues & ~placed);
  }

  bool hidden_single() {
    std::array<std::uint16_t, kOrder> where;
    for (const Line& line : kLineCells) {
      const std::uint16_t open = places(line, where);
      for (unsigned m = open; m != 0; m &= m - 1) {
        const int v = std::countr_zero(m);
        if (where[v] == 0) {
          contradiction_ = true;
          return false;
        }
        if (std::has_single_bit(where[v])) {
          place(line[std::countr_zero(where[v])], v);
          return true;
        }
      }
    }
    return false;
  }

  bool pair() {
    std::array<std::uint16_t, kOrder> where;
    for (const Line& line : kLineCells) {
      // Naked pairs.
      for (int a = 0; a < kOrder; ++a) {
        const std::uint16_t m = candidates_[line[a]];
        if (std::popcount(m) != 2) continue;
        for (int b = a + 1; b < kOrder; ++b) {
          if (candidates_[line[b]] != m) continue;
          bool struck = false;
          for (int j = 0; j < kOrder; ++j) {
            if (j == a || j == b || (candidates_[line[j]] & m) == 0) continue;
            candidates_[line[j]] &= static_cast<std::uint16_t>(~m);
            struck = true;
          }
          if (struck) return true;
        }
      }
      // Hidden pairs.
      const std::uint16_t open = places(line, where);
      for (unsigned ma = open; ma != 0; ma &= ma - 1) {
        const int va = std::countr_zero(ma);
        if (std::popcount(where[va]) != 2) continue;
        for (unsigned mb = ma & (ma - 1); mb != 0; mb &= mb - 1) {
          const int vb = std::countr_zero(mb);
          if (where[vb] != where[va]) continue;
          const auto keep = static_cast<std::uint16_t>(1u << va | 1u << vb);
          bool struck = false;
          for (unsigned cells = where[va]; cells != 0; cells &= cells - 1) {
            std::uint16_t& c = candidates_[line[std::countr_zero(cells)]];
            if (c & ~keep) {
              c &= keep;
              struck = true;
            }
          }
          if (struck) return true;
        }
      }
    }
    return false;
  }

  std::array<int, kCells> value_;
  std::array<std::uint16_t, kCells> candidates_;
  int empty_cells_ = kCells;
  bool contradiction_ = false;
};

}  // namespace

PuzzleRating rate_puzzle(const TLatinSquare& puzzle) {
  assert(puzzle.order() == kOrder);
  return PersonSolver(puzzle).solve();
}

PuzzleRating ease_puzzle(TLatinSquare& puzzle, const TLatinSquare& solution, Difficulty target,
                         std::uint32_t seed) {
  assert(puzzle.order() == kOrder && solution.order() == kOrder);
  PuzzleRating rating = rate_puzzle(puzzle);
  if (rating.difficulty <= target) return rating;
  // The empty cells in a shuffled order: a Fisher-Yates shuffle driven by the same linear
  // congruential step as the system's generator, kept local so the deal's stream is untouched.
  std::array<std::uint8_t, kCells> order{};
  int empty = 0;
  for (int cell = 0; cell < kCells; ++cell)
    if (puzzle.data()[cell] == kEmpty) order[empty++] = static_cast<std::uint8_t>(cell);
  std::uint32_t state = seed ^ 0x9E3779B9u;
  const auto draw = [&state](int n) {
    state = state * 134775813u + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(n) * state) >> 32);
  };
  for (int i = empty - 1; i > 0; --i) std::swap(order[i], order[draw(i + 1)]);
  for (int i = 0; i < empty && rating.difficulty > target; ++i) {
    puzzle.data()[order[i]] = solution.data()[order[i]];
    rating = rate_puzzle(puzzle);
  }
  return rating;
}

std::string_view difficulty_name(Difficulty difficulty) {
  switch (difficulty) {
    case Difficulty::kEasy:
      return "easy";
    case Difficulty::kMedium:
      return "medium";
    case Difficulty::kHard:
      break;
  }
  return "hard";
}

bool parse_difficulty(std::string_view name, Difficulty& difficulty) {
  for (const Difficulty d : {Difficulty::kEasy, Difficulty::kMedium, Difficulty::kHard}) {
    const std::string_view known = difficulty_name(d);
    if (name.size() != known.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size(); ++i)
      same = same && std::tolower(static_cast<unsigned char>(name[i])) == known[i];
    if (same) {
      difficulty = d;
      return true;
    }
  }
  return false;
}

}  // namespace dlslab
