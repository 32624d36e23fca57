#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "batch/square_reader.h"
#include "model/types.h"

namespace dlslab::batch {

/// What a batch run computes for every square.
enum class Operation {
  kCf,            ///< canonical forms, deduplicated with multiplicities
  kScf,           ///< strong canonical forms, likewise
  kOdls,          ///< the number of orthogonal diagonal mates and the mates
  kType,          ///< the ODLS type name
  kTransversals,  ///< total and diagonal transversal counts
  kProperties,    ///< the status-line text
  kFillings,      ///< the number of fillings of a partial square
  kValidate,      ///< whether the square is a complete DLS, and if not, why
};

/// The operation named by its command word ("cf", "odls", ...).
[[nodiscard]] std::optional<Operation> operation_by_name(std::string_view name);
[[nodiscard]] std::string_view operation_name(Operation operation);
/// cf and scf: one result per distinct form instead of one line per square.
[[nodiscard]] bool is_deduplicating(Operation operation);
/// The header line of the operation's TSV output, without its line break.
[[nodiscard]] std::string_view tsv_header(Operation operation);

using Digits = std::array<char, kOrder * kOrder>;

/// The square of a digit string; '-' and anything not a digit is an empty cell.
[[nodiscard]] TLatinSquare digits_to_square(const Digits& digits);
/// Why a square is not a complete diagonal Latin square (the first rule it breaks, cells as
/// (row, column) from 0), or an empty text when it is one.
[[nodiscard]] std::string validation_problem(const TLatinSquare& square);

/// The engines one thread needs for an operation, made on first use and kept between squares:
/// one instance per worker thread, never shared.
class OperationEngine {
 public:
  explicit OperationEngine(Operation operation);
  ~OperationEngine();
  OperationEngine(const OperationEngine&) = delete;
  OperationEngine& operator=(const OperationEngine&) = delete;

  /// cf and scf: the form of the square, as "Get canonical form (CF)" or "Get strong canonical
  /// form (SCF)" leaves it in the window.
  [[nodiscard]] Digits form(const Digits& square);
  /// The other operations: appends the square's TSV line (index, digit string, results, line
  /// break) to `out`. The results are what the single-square command shows.
  void append_line(std::uint64_t index, const Digits& square, std::string& out);

 private:
  struct Engines;
  Operation operation_;
  std::unique_ptr<Engines> engines_;
};

}  // namespace dlslab::batch
