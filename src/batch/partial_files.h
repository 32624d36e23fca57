#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "batch/form_set.h"
#include "batch/operations.h"

namespace dlslab::batch {

// The files a batch run writes and reads back when --resume continues it: the TSV of the
// one-line-per-square operations, grown line by line, and the forms of cf / scf, written whole.

/// Hands the deduplicated forms to `write` in pieces of about a megabyte: TSV (header, then
/// index, form, count) or a collection file whose separator line after each form holds its
/// count. Stops at the first piece `write` refuses; returns whether all were taken.
bool write_forms(Operation operation, bool tsv, const FormSet& forms,
                 const std::function<bool(std::string_view)>& write);

/// What a partial file of a one-line-per-square operation holds: its complete lines.
struct TsvPartial {
  std::uint64_t done = 0;        ///< result lines after the header
  std::uint64_t keep_bytes = 0;  ///< the header and the complete lines; a cut last line is not
  std::optional<Digits> last;    ///< the square of the last line
  std::string error;             ///< non-empty: the file cannot be resumed from
};

/// Reads a partial TSV file back; a file without even a complete header holds nothing.
/// `first_index`: the number of the first square the file has a line for.
[[nodiscard]] TsvPartial scan_tsv_partial(const std::string& name, std::string_view header,
                                          std::uint64_t first_index = 1);

/// Adds the forms and counts of a partial cf / scf file (as write_forms writes them) to
/// `forms`; returns the number of squares they stand for, or sets `error`.
[[nodiscard]] std::uint64_t load_forms_partial(const std::string& name, bool tsv,
                                               Operation operation, FormSet& forms,
                                               std::string& error);

}  // namespace dlslab::batch
