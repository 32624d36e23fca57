#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/reporter.h"
#include "model/progress.h"

namespace dlslab::batch {

/// What one search covers: squares first .. first + count - 1 of a generator, or (inputs not
/// empty) every square of the inputs, read as batch reads them, or one chunk of those.
struct SearchUnit {
  std::string generator = "rsv3";
  std::uint64_t first = 0;
  std::uint64_t count = 0;
  std::vector<std::string> inputs;
  /// What the output calls the inputs (the header, the file:line places); empty: their names.
  std::vector<std::string> input_names;
  /// Only the chunk-th of `chunks` equal parts of the inputs' squares, split by square index as
  /// batch --chunk splits them, lines keeping their number in the whole file. 0: all of them.
  unsigned chunk = 0;
  unsigned chunks = 0;
};

/// A square with at least one orthogonal diagonal mate.
struct SearchHit {
  std::string place;  ///< the seed, or "file:line"
  std::string line;   ///< its output line: place, square, mate count, canonical form, mates
};

struct SearchOptions {
  unsigned threads = 0;             ///< 0: one per processor
  std::string output;               ///< empty: the stream given to run_search
  std::string forms;                ///< the distinct forms as a collection file; empty: none
  bool resume = false;              ///< continue from "<output>.partial"
  double checkpoint_seconds = 5.0;  ///< how often the partial file is made durable
  Progress* progress = nullptr;     ///< reports squares done; its cancel stops the run
  std::function<void(const SearchHit&)> on_hit;  ///< each hit, in output order
};

struct SearchSummary {
  enum class End { kComplete, kInterrupted, kFailed };
  End end = End::kComplete;
  std::uint64_t checked = 0;  ///< squares checked, those before a resume included
  std::uint64_t skipped = 0;  ///< input squares that are not complete DLS, unreadable lines
  std::uint64_t hits = 0;
  std::uint64_t forms = 0;    ///< distinct canonical forms of the hits
  std::uint64_t resumed = 0;  ///< squares checked before the resume
  double seconds = 0;         ///< of this run
  std::string output_name;
  std::string error;
};

/// The first line of a search's output: it names the generator and the seed range (or the
/// inputs and the chunk), so that merge can check which units it joins.
[[nodiscard]] std::string search_header(const SearchUnit& unit);

/// The ODLS search: every square of the unit is checked for diagonal mates (its diagonal
/// transversals, then the exact cover), every hit canonized; one TSV line per hit, in seed
/// (input) order whatever the number of threads, between the header and an end line with
/// the counts. With an output file the lines go to "<output>.partial", made durable with the
/// position reached every checkpoint_seconds (and when stopped), so that --resume continues
/// after SIGINT, SIGTERM or kill -9 and ends with the bytes of an uninterrupted run.
SearchSummary run_search(const SearchUnit& unit, const SearchOptions& options, std::ostream& out,
                         Reporter& reporter, const std::atomic<bool>& stop);

/// The summary line of a run.
[[nodiscard]] std::string search_summary_line(const SearchUnit& unit, const SearchSummary& summary);

}  // namespace dlslab::batch
