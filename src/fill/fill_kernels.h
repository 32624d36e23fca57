#pragma once

#include <cstdint>

#include "model/isa_dispatch.h"
#include "model/types.h"

// The counting search of the fillings, one per instruction-set path (count_search_<path>.cpp;
// the avx512vp2i path runs the avx512 one).
namespace dlslab::fill_kernels {

/// A speed report to diag() every this many fillings of a reporting count.
inline constexpr std::uint64_t kReportEvery = 100000;
/// The speed report of a count that has just reached a multiple of kReportEvery; the timer
/// was started with the count.
void report_speed(std::uint64_t counter);

/// The number of fillings of the order-10 square, counting no further than limit, with a
/// speed report when report is set; with forbid_cell >= 0 only those that do not put
/// forbid_value into that (empty) cell.
using CountFn = std::uint64_t (*)(const TLatinSquare& square, std::uint64_t limit, bool report,
                                  int forbid_cell, int forbid_value);

namespace scalar {
std::uint64_t count(const TLatinSquare& square, std::uint64_t limit, bool report, int forbid_cell,
                    int forbid_value);
}
namespace avx2 {
std::uint64_t count(const TLatinSquare& square, std::uint64_t limit, bool report, int forbid_cell,
                    int forbid_value);
}
namespace avx512 {
std::uint64_t count(const TLatinSquare& square, std::uint64_t limit, bool report, int forbid_cell,
                    int forbid_value);
}

inline constexpr IsaTable<CountFn> kCounts = {scalar::count, avx2::count, avx512::count,
                                              avx512::count};

}  // namespace dlslab::fill_kernels
