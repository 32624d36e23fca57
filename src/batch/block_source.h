#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "batch/operations.h"
#include "batch/square_reader.h"

namespace dlslab::batch {

/// A run of consecutive input squares, the unit a worker takes: the squares as read, the
/// problems met on the way, and what the worker made of them.
struct Block {
  struct Problem {
    InputProblem problem;
    std::size_t before;  ///< squares of the block read before it
  };
  std::uint64_t number = 0;       ///< blocks are numbered from 0 in input order
  std::uint64_t first_index = 0;  ///< input number of squares[0], from 1
  std::vector<InputSquare> squares;
  std::vector<Problem> problems;
  std::size_t done = 0;   ///< squares with results
  bool ends_run = false;  ///< --strict: the block ends at an unreadable line
  std::string text;       ///< one line per square
  std::vector<Digits> forms;
  std::vector<std::uint64_t> hashes;  ///< of the forms, made by the worker
};

/// One chunk of the inputs: their squares before + 1 .. last, numbered from 1 across all inputs.
struct ChunkBounds {
  std::uint64_t before = 0;
  std::uint64_t last = 0;
};

/// The `chunk`-th of `chunks` equal parts of the inputs' squares (1 <= chunk <= chunks): a fixed
/// split by square index, the same on every machine. Reads the inputs once to count them.
[[nodiscard]] ChunkBounds chunk_bounds(const std::vector<std::string>& inputs, unsigned chunk,
                                       unsigned chunks);

/// The inputs cut into numbered blocks, for any number of workers: one reads at a time, so the
/// block numbers follow the input order. On --resume the squares done before are read and
/// dropped, the last of them checked against the partial file's.
class BlockSource {
 public:
  BlockSource(std::vector<std::string> inputs, std::size_t block_size, bool strict);

  /// Squares 1..count are done already; `last`, when known, is square count's digits.
  void skip_done(std::uint64_t count, std::optional<Digits> last);
  /// Only squares before + 1 .. last are taken (one chunk of the inputs); the problems met
  /// before a square of another chunk are that chunk's.
  void set_chunk(std::uint64_t before, std::uint64_t last);
  /// What place() calls the inputs, in their order, instead of their file names.
  void set_names(std::vector<std::string> names);

  /// Reads the next block; false when there is none: the inputs are exhausted (or, --strict,
  /// stopped at a problem) and nothing was read. `error` is set when the inputs are not those
  /// the partial file was made from.
  bool next(Block& block, std::string& error);

  [[nodiscard]] bool exhausted() const { return exhausted_.load(std::memory_order_relaxed); }
  /// The number the next block will get.
  [[nodiscard]] std::uint64_t next_number() const {
    return next_number_.load(std::memory_order_relaxed);
  }
  /// Squares read so far, those skipped on --resume included.
  [[nodiscard]] std::uint64_t read() const;
  [[nodiscard]] double fraction_read() const;
  [[nodiscard]] std::uint64_t total_bytes() const { return reader_.total_bytes(); }
  /// "file:line" of a square or problem.
  [[nodiscard]] std::string place(std::uint32_t source, std::uint64_t line) const;

 private:
  void fill(Block& block, std::string& error);

  const std::size_t block_size_;
  const bool strict_;
  mutable std::mutex mutex_;  // guards everything below but the atomics
  SquareReader reader_;
  std::uint64_t read_ = 0;
  std::uint64_t skip_ = 0;
  std::optional<Digits> skip_last_;
  std::uint64_t chunk_before_ = 0;
  std::uint64_t chunk_last_ = UINT64_MAX;
  std::vector<std::string> names_;
  std::atomic<std::uint64_t> next_number_{0};
  std::atomic<bool> exhausted_{false};
};

}  // namespace dlslab::batch
