// Test program of the "DLS of order 9 generation" benchmarks: a systematic backtracking search
// over the diagonal Latin squares of order 9 whose first row is 0 1 .. 8, stopped after the
// first ten million complete squares. Prints one line, the squares counted, a checksum of them
// and the seconds taken, and exits 0. The benchmark starts it without arguments; the optional
// arguments serve the build and the tests: a square count (the profile training run counts
// fewer), and "--print" to write each square as a line of 81 digits, row by row.
//
// The search fills the cells in one fixed order, each from the values its row, column and
// diagonals still lack, kept as 9-bit masks (bit v = value v free). The order is what makes it
// fast: both diagonals first (a diagonal left to the end fails late and often), then always the
// cell that shares a line with the most cells already placed, so that dead ends show early.
//
// The checksum is a sum over the squares of a Zobrist hash (a random word per cell and value,
// XORed in as the cell gets the value), which the search keeps up to date at no cost.
#include <array>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Everything has external linkage, in a named namespace and without lambdas: GCC matches the
// training counts of a local function by the object file's name, which differs between the
// instrumented and the optimised build.
namespace runa9 {

constexpr int kN = 9;
constexpr std::uint64_t kSquares = 10'000'000;
constexpr std::uint16_t kAllValues = (1u << kN) - 1;

// Mask slots: rows 0..8, columns 9..17, main diagonal 18, anti-diagonal 19, and slot 20, which
// always holds every value, for a cell off a diagonal.
constexpr int kColumnSlot = kN;
constexpr int kMainSlot = 2 * kN;
constexpr int kAntiSlot = 2 * kN + 1;
constexpr int kFreeSlot = 2 * kN + 2;
constexpr int kSlots = 2 * kN + 3;

struct Cell {
  std::uint8_t slot[4];  // row, column, main diagonal or free, anti-diagonal or free
};

/// The search order described at the top.
class Order {
 public:
  Order();

  std::array<Cell, kN * kN> cells{};
  int count = 0;  // cells searched: all but the first row

 private:
  void Add(int r, int c);
  bool placed_[kN][kN] = {};
};

Order::Order() {
  for (int c = 0; c < kN; ++c) placed_[0][c] = true;
  for (int i = 1; i < kN; ++i) {
    Add(i, i);
    Add(i, kN - 1 - i);
  }
  while (true) {
    int best = -1;
    int best_score = -1;
    for (int r = 1; r < kN; ++r)
      for (int c = 0; c < kN; ++c) {
        if (placed_[r][c]) continue;
        int score = 0;
        for (int k = 0; k < kN; ++k) score += placed_[r][k] + placed_[k][c];
        if (score > best_score) {
          best_score = score;
          best = kN * r + c;
        }
      }
    if (best < 0) break;
    Add(best / kN, best % kN);
  }
}

void Order::Add(int r, int c) {
  if (placed_[r][c]) return;
  placed_[r][c] = true;
  cells[count++] = {{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(kColumnSlot + c),
                     static_cast<std::uint8_t>(r == c ? kMainSlot : kFreeSlot),
                     static_cast<std::uint8_t>(r + c == kN - 1 ? kAntiSlot : kFreeSlot)}};
}

struct Result {
  std::uint64_t squares = 0;
  std::uint64_t checksum = 0;
};

class Generator {
 public:
  Generator();
  Result Run(std::uint64_t target, bool print);

 private:
  void Print(const std::array<std::uint16_t, kN * kN>& placed, std::uint16_t last_bit) const;
  void Toggle(const Cell& cell, std::uint16_t bit) {
    free_values_[cell.slot[0]] ^= bit;
    free_values_[cell.slot[1]] ^= bit;
    free_values_[cell.slot[2]] ^= bit;
    free_values_[cell.slot[3]] ^= bit;
    free_values_[kFreeSlot] = kAllValues;
  }
  std::uint16_t Candidates(const Cell& cell) const {
    return static_cast<std::uint16_t>(free_values_[cell.slot[0]] & free_values_[cell.slot[1]] &
                                      free_values_[cell.slot[2]] & free_values_[cell.slot[3]]);
  }

  Order order_;
  std::array<std::uint16_t, kSlots> free_values_;
  std::array<std::array<std::uint64_t, kN>, kN * kN> zobrist_;
};

Generator::Generator() {
  free_values_.fill(kAllValues);
  // The first row is 0 1 .. 8.
  for (int c = 0; c < kN; ++c) free_values_[kColumnSlot + c] &= ~(1u << c);
  free_values_[0] = 0;
  free_values_[kMainSlot] &= ~1u;
  free_values_[kAntiSlot] &= ~(1u << (kN - 1));

  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (auto& per_value : zobrist_)
    for (std::uint64_t& word : per_value) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      word = state;
    }
}

void Generator::Print(const std::array<std::uint16_t, kN * kN>& placed,
                      std::uint16_t last_bit) const {
  char line[kN * kN + 2];
  for (int c = 0; c < kN; ++c) line[c] = static_cast<char>('0' + c);
  for (int d = 0; d < order_.count; ++d) {
    const Cell& cell = order_.cells[d];
    const int value = std::countr_zero(d == order_.count - 1 ? last_bit : placed[d]);
    line[kN * cell.slot[0] + cell.slot[1] - kColumnSlot] = static_cast<char>('0' + value);
  }
  line[kN * kN] = '\n';
  line[kN * kN + 1] = '\0';
  std::fputs(line, stdout);
}

Result Generator::Run(std::uint64_t target, bool print) {
  const int last = order_.count - 1;
  // Per depth: the values still to try and the value now placed (as a bit, 0 for none).
  std::array<std::uint16_t, kN * kN> to_try{};
  std::array<std::uint16_t, kN * kN> placed{};
  Result result;
  std::uint64_t hash = 0;
  int depth = 0;
  to_try[0] = Candidates(order_.cells[0]);
  while (depth >= 0) {
    const Cell& cell = order_.cells[depth];
    if (const std::uint16_t bit = placed[depth]; bit != 0) {
      Toggle(cell, bit);
      hash ^= zobrist_[depth][std::countr_zero(bit)];
      placed[depth] = 0;
    }
    const std::uint16_t values = to_try[depth];
    if (values == 0) {
      --depth;
      continue;
    }
    const std::uint16_t bit = values & -values;
    to_try[depth] = values & (values - 1);
    const std::uint64_t cell_hash = zobrist_[depth][std::countr_zero(bit)];
    if (depth == last) {
      result.checksum += (hash ^ cell_hash) * 0xD6E8FEB86659FD93u;
      if (print) Print(placed, bit);
      if (++result.squares == target) break;
      continue;
    }
    Toggle(cell, bit);
    hash ^= cell_hash;
    placed[depth] = bit;
    ++depth;
    to_try[depth] = Candidates(order_.cells[depth]);
  }
  return result;
}

}  // namespace runa9

int main(int argc, char** argv) {
  const std::uint64_t target = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : runa9::kSquares;
  const bool print = argc > 2 && std::strcmp(argv[2], "--print") == 0;
  const auto start = std::chrono::steady_clock::now();
  runa9::Generator generator;
  const runa9::Result result = generator.Run(target, print);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("runa9: %llu squares, checksum %016llx, %.3f s\n",
              static_cast<unsigned long long>(result.squares),
              static_cast<unsigned long long>(result.checksum), seconds.count());
  return result.squares == target ? 0 : 1;
}
