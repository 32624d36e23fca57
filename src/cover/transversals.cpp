// Transversal enumeration of order-10 squares.
//
// Both enumerators list the transversals in lexicographic order of (t[0], ..., t[9]), so the
// list is grouped by the row-0 column and Starts/Counts describe the groups.
//
// GetTransversals is the plain depth-first search over rows 0..9 with flag arrays for the used
// columns, values and diagonal cells: about 120,000 search nodes on a random square. The fast
// enumerators, one per instruction-set path, are in transversals_<path>.cpp.
//
// Cells whose value is outside 0..9 are in no transversal; a square of order below 10 has none.
#include "cover/transversals.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "cover/transversal_kernels.h"

namespace dlslab {
namespace {

using transversal_kernels::kNoValue;
using transversal_kernels::usable_value;

// The reference search's marks and output.
struct PlainSearch {
  std::array<std::array<std::uint8_t, kOrder>, kOrder> value{};
  bool diagonal_only = false;
  std::array<bool, kOrder> column_used{};
  std::array<bool, kOrder> value_used{};
  bool main_taken = false;
  bool anti_taken = false;
  TTransversal current{};
  TransversalsResult* result = nullptr;

  void search(int r) {
    if (r == kOrder) {
      if (diagonal_only && !(main_taken && anti_taken)) return;
      result->Transversals.push_back(current);
      ++result->Counts[current[0]];
      return;
    }
    for (int c = 0; c < kOrder; ++c) {
      const int v = value[r][c];
      if (v == kNoValue || column_used[c] || value_used[v]) continue;
      const bool on_main = c == r;
      const bool on_anti = r + c == kOrder - 1;
      if (diagonal_only && ((on_main && main_taken) || (on_anti && anti_taken))) continue;
      current[r] = c;
      column_used[c] = value_used[v] = true;
      const bool main_before = main_taken;
      const bool anti_before = anti_taken;
      if (diagonal_only) {
        main_taken = main_taken || on_main;
        anti_taken = anti_taken || on_anti;
      }
      search(r + 1);
      column_used[c] = value_used[v] = false;
      main_taken = main_before;
      anti_taken = anti_before;
    }
  }
};

void fill_starts(const TTransversalCounts& counts, TTransversalStarts& starts) {
  starts[0] = 0;
  for (int k = 0; k < kOrder; ++k) starts[k + 1] = starts[k] + counts[k];
}

}  // namespace

TransversalsResult GetTransversals(const TLatinSquare& square, bool diagonal_only) {
  TransversalsResult result;
  PlainSearch search;
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) search.value[r][c] = usable_value(square, r, c);
  search.diagonal_only = diagonal_only;
  search.result = &result;
  search.search(0);
  fill_starts(result.Counts, result.Starts);
  return result;
}

struct TransversalSearch::State {
  IsaPath path;
  std::unique_ptr<transversal_kernels::Kernel> kernel;
};

TransversalSearch::TransversalSearch() : TransversalSearch(default_isa_path()) {}
TransversalSearch::TransversalSearch(IsaPath path)
    : state_(std::make_unique<State>(State{path, nullptr})) {}
TransversalSearch::~TransversalSearch() = default;
TransversalSearch::TransversalSearch(TransversalSearch&&) noexcept = default;
TransversalSearch& TransversalSearch::operator=(TransversalSearch&&) noexcept = default;

IsaPath TransversalSearch::path() const { return state_->path; }

void TransversalSearch::GetTransversalsFast(const TLatinSquare& square, bool diagonal_only,
                                            TTransversalStarts& starts, TTransversalCounts& counts,
                                            TTransversalsTable& table) {
  // The scratch is a megabyte: made only once it is used.
  if (!state_->kernel) state_->kernel = kernel_for(transversal_kernels::kKernels, state_->path)();
  state_->kernel->run(square, diagonal_only, counts, table);
  fill_starts(counts, starts);
}

bool TransversalsIntersect(const TTransversal& a, const TTransversal& b) {
  for (int r = 0; r < kOrder; ++r)
    if (a[r] == b[r] && a[r] >= 0) return true;
  return false;
}

bool TransversalsEqual(const TTransversal& a, const TTransversal& b) { return a == b; }

TLatinSquare GetTransversalsCoverageMap(const TTransversalsTable& table) {
  TLatinSquare map(kOrder);
  for (int i = 0; i < kOrder * kOrder; ++i) map.data()[i] = 0;
  const int count = table.Count();
  for (int i = 0; i < count; ++i)
    for (int r = 0; r < kOrder; ++r) {
      const int c = table.Items[i][r];
      if (c >= 0 && c < kOrder) ++map[r][c];
    }
  return map;
}

}  // namespace dlslab
