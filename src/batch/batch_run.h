#pragma once

#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "batch/operations.h"
#include "batch/reporter.h"

namespace dlslab::batch {

enum class OutputFormat { kDefault, kCollection, kTsv };

struct BatchOptions {
  Operation operation = Operation::kValidate;
  std::vector<std::string> inputs;  ///< file names; "-" is standard input
  std::string output;               ///< empty: the stream given to run_batch, no partial file
  OutputFormat format = OutputFormat::kDefault;  ///< kDefault: collection for cf/scf, else TSV
  unsigned threads = 0;                          ///< 0: one per processor
  bool strict = false;                           ///< stop at the first unreadable line or block
  bool resume = false;                           ///< continue from "<output>.partial"
  std::size_t block_size = 0;  ///< squares per unit of work; 0: the operation's own
  /// Chunk K of N (1 <= K <= N): only squares (K-1)T/N + 1 .. KT/N of the T squares of the
  /// inputs, their lines numbered as in the whole input. 0: all.
  unsigned chunk = 0;
  unsigned chunks = 0;
};

/// How a run ended and what it did; the figures count this run only, except `done`.
struct BatchSummary {
  enum class End { kComplete, kInterrupted, kStrictStop, kFailed };
  End end = End::kComplete;
  std::uint64_t read = 0;     ///< squares read
  std::uint64_t skipped = 0;  ///< unreadable lines and blocks
  std::uint64_t results = 0;  ///< result lines (forms for cf/scf) in the output
  std::uint64_t done = 0;     ///< input squares whose results are in the output, resumed included
  std::uint64_t resumed = 0;  ///< squares taken over from the partial file
  double seconds = 0;
  std::string last_place;   ///< "file:line" of the last square in the output, if any
  std::string output_name;  ///< where the results are (the partial file unless complete)
  std::string error;        ///< why a kFailed run failed
};

/// Runs the operation over every square of the inputs with one engine per thread and writes
/// the results in input order, whatever the number of threads. The output goes to
/// "<output>.partial", renamed to the output when the run completes. Unreadable lines and
/// blocks are reported with their file and line and skipped. Once `stop` becomes true (a
/// signal handler sets it) the run ends at a square boundary, with every result up to there
/// in the partial file.
BatchSummary run_batch(const BatchOptions& options, std::ostream& out, Reporter& reporter,
                       const std::atomic<bool>& stop);

/// The summary line of a run.
[[nodiscard]] std::string summary_line(const BatchOptions& options, const BatchSummary& summary);

}  // namespace dlslab::batch
