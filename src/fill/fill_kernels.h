#pragma once

#include <cstdint>

#include "model/isa_path.h"
#include "model/types.h"

// The counting search of the fillings, one per instruction-set path (count_search_<path>.cpp).
namespace dlslab::fill_kernels {

/// A speed report to Diag() every this many fillings of a reporting count.
inline constexpr std::uint64_t kReportEvery = 100000;
/// The speed report of a count that has just reached a multiple of kReportEvery; the timer
/// was started with the count.
void ReportSpeed(std::uint64_t counter);

/// The number of fillings of the order-10 square, counting no further than limit, with a
/// speed report when report is set; with forbid_cell >= 0 only those that do not put
/// forbid_value into that (empty) cell.
using CountFn = std::uint64_t (*)(const TLatinSquare& square, std::uint64_t limit, bool report,
                                  int forbid_cell, int forbid_value);

namespace scalar {
std::uint64_t Count(const TLatinSquare& square, std::uint64_t limit, bool report, int forbid_cell,
                    int forbid_value);
}
namespace avx2 {
std::uint64_t Count(const TLatinSquare& square, std::uint64_t limit, bool report, int forbid_cell,
                    int forbid_value);
}
namespace avx512 {
std::uint64_t Count(const TLatinSquare& square, std::uint64_t limit, bool report, int forbid_cell,
                    int forbid_value);
}

/// The count of a path.
[[nodiscard]] CountFn CountOn(IsaPath path);

}  // namespace dlslab::fill_kernels
