#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dlslab::batch {

/// What a merge joined.
struct MergeSummary {
  std::uint64_t units = 0;
  std::uint64_t checked = 0;
  std::uint64_t hits = 0;
  std::uint64_t forms = 0;
  std::string error;  ///< non-empty: nothing was written
};

/// Joins the outputs of search units of one generator, given in any order, into the bytes one
/// search over their union writes (to `output`, and the distinct forms to `forms` unless it is
/// empty), each written atomically. Refuses, naming the ranges, units whose seed ranges leave
/// a gap or overlap, outputs of unfinished runs and outputs of other generators. The outputs of
/// the chunks K/N of a search over input files join the same way, in any order, into the
/// unchunked search's bytes; a chunk missing or given twice, or other inputs, are refused.
[[nodiscard]] MergeSummary merge_search_outputs(const std::vector<std::string>& inputs,
                                                const std::string& output,
                                                const std::string& forms);

/// Joins the outputs of the chunks of one batch run into the bytes the unchunked run writes:
/// TSV outputs of any operation in any order (their lines carry the squares' numbers), cf / scf
/// collection files in chunk order (forms in the order first met, counts summed). `units`
/// counts the chunks; checked and hits stay 0.
[[nodiscard]] MergeSummary merge_batch_outputs(const std::vector<std::string>& inputs,
                                               const std::string& output);

}  // namespace dlslab::batch
