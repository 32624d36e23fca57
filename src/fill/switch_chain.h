#pragma once

#include <array>
#include <cstdint>

#include "model/isa_path.h"
#include "model/splitmix.h"
#include "model/types.h"

// The `switch` generator: DLS of order 10 reached from a "Random search v3" square by a chain of
// random cycle switches, each about ten cycles drawn and followed (half a microsecond) where a
// fresh square costs ten microseconds.
namespace dlslab {

/// Seeds per run: the seeds of run b start from the rsv3 square of seed b.
inline constexpr std::uint64_t kSwitchRunLength = 1024;
/// Runs: one per rsv3 seed.
inline constexpr std::uint64_t kSwitchRuns = std::uint64_t{1} << 32;

/// Square s is the DLS after s % kSwitchRunLength + 1 accepted cycle switches from the rsv3
/// square of seed b = s / kSwitchRunLength, drawn from splitmix64 started at b: the same square
/// for the same seed on every machine and instruction-set path. The object keeps the last
/// square, so that a later seed of the same run costs the switches between the two; any other
/// seed is walked to from its run's start.
class SwitchChain {
 public:
  explicit SwitchChain(IsaPath path = default_isa_path());

  /// The square of `seed` (< kSwitchRuns * kSwitchRunLength) into `square`, of order 10.
  void square(std::uint64_t seed, TLatinSquare& square);

 private:
  void start_run(std::uint64_t run);
  void switch_once();
  using Grid = std::array<std::uint8_t, kOrder * kOrder>;
  /// A row cycle (lines = rows) or a column cycle (lines = columns) of lines l1 and l2.
  static bool try_line_cycle(Grid& lines, Grid& place, Grid& positions, Grid& line_of, int l1,
                             int l2, int start);
  bool try_symbol_cycle(int u, int v, int start);
  void index_diagonals();

  IsaPath path_;
  std::uint64_t run_ = ~std::uint64_t{0};  // the run walked, none yet
  std::uint64_t switches_ = 0;             // accepted switches since the run's start
  Splitmix random_{0};
  Grid cell_;                                  // [row * 10 + column]: symbol
  Grid by_column_;                             // [column * 10 + row]: symbol
  Grid column_;                                // [row * 10 + symbol]: column
  Grid row_;                                   // [column * 10 + symbol]: row
  std::array<std::uint8_t, kOrder> main_row_;  // [symbol]: its row on the main diagonal
  std::array<std::uint8_t, kOrder> anti_row_;  // [symbol]: its row on the anti-diagonal
};

/// The square of `seed` walked from its run's start: the baseline of SwitchChain's shortcuts.
[[nodiscard]] TLatinSquare switch_chain_square(std::uint64_t seed);

}  // namespace dlslab
