// Canonical form by branch and bound.
//
// Every candidate is Q[s(i)][s(j)] for one of four base squares Q (the square, its transpose,
// and both flipped left to right) and a simultaneous row-and-column arrangement s that maps
// mirror lines onto mirror lines: s(9-i) = 9-s(i). Relabelled by its first row, a candidate
// reads, with a = s(0) and pos_a[v] the column of v in row a of Q,
//
//     N[i][j] = s^-1(pos_a[Q[s(i)][s(j)]])
//
// so row 0 is always 0..9 and the order is decided from row 1 on. Row 1 is built position by
// position: N[1][j] needs s(j), which is either already fixed or chosen here (a branch over the
// free source lines), and s^-1(x) for x = pos_a[Q[b][s(j)]], which is either fixed or free. A
// free x can only be given the lowest free position: any other choice puts a larger value into
// the same cell. Positions are therefore fixed in ascending order, and once row 1 is complete
// the arrangement is complete too. Row 1 is compared with the best one so far as it grows;
// only arrangements that tie on the final row 1 are expanded to rows 2..9, usually one or two
// per square.

#include "canon/canon_search.h"

#include <algorithm>
#include <bit>

namespace dlslab {

namespace {
constexpr std::int8_t kUnset = -1;
constexpr std::int8_t kAbove = 127;  // a bound above every value
}  // namespace

void CanonSearch::assign(int position, int source) {
  sigma_[position] = static_cast<std::int8_t>(source);
  sigma_[kOrder - 1 - position] = static_cast<std::int8_t>(kOrder - 1 - source);
  sinv_[source] = static_cast<std::int8_t>(position);
  sinv_[kOrder - 1 - source] = static_cast<std::int8_t>(kOrder - 1 - position);
  ++next_;
}

void CanonSearch::unassign(int position) {
  sinv_[sigma_[position]] = kUnset;
  sinv_[sigma_[kOrder - 1 - position]] = kUnset;
  sigma_[position] = kUnset;
  sigma_[kOrder - 1 - position] = kUnset;
  --next_;
}

void CanonSearch::descend(int j) {
  if (j == kOrder) {
    leaf();
    return;
  }
  if (sigma_[j] != kUnset) {
    step(j);
    return;
  }
  for (int x = 0; x < kOrder; ++x) {
    if (sinv_[x] != kUnset) continue;
    assign(j, x);
    step(j);
    unassign(j);
  }
}

void CanonSearch::step(int j) {
  const int b = sigma_[1];
  const int x = pos_a_[q_[b * kOrder + sigma_[j]]];
  int v = sinv_[x];
  const bool chosen_here = v == kUnset;
  if (chosen_here) {
    v = next_;
    assign(v, x);
  }
  std::int8_t& bound = best_[kOrder + j];
  if (v <= bound) {
    if (v < bound) {
      bound = static_cast<std::int8_t>(v);
      std::fill(best_.begin() + kOrder + j + 1, best_.begin() + 2 * kOrder, kAbove);
      exact_ = false;
      pending_count_ = 0;
    }
    descend(j + 1);
  }
  if (chosen_here) unassign(v);
}

// Row 1 is complete and equal to the bound. Rows 2..9 are compared later, once the bound has
// stopped falling, so that arrangements overtaken meanwhile cost a copy of their lines only.
void CanonSearch::leaf() {
  ++leaves_;
  if (pending_count_ == kPendingCapacity) flush();
  pending_[pending_count_++] = Pending{sigma_, static_cast<std::int8_t>(q_index_)};
}

void CanonSearch::flush() {
  for (int k = 0; k < pending_count_; ++k) {
    const Line& sigma = pending_[k].sigma;
    const std::int8_t* q = base_[pending_[k].q].data();
    const std::int8_t* pos_a = pos_[pending_[k].q][sigma[0]].data();
    Line sinv;
    for (int p = 0; p < kOrder; ++p) sinv[sigma[p]] = static_cast<std::int8_t>(p);
    Line label;
    for (int v = 0; v < kOrder; ++v) label[v] = sinv[pos_a[v]];
    int i = 2;
    int j = 0;
    if (exact_) {
      // Find the first cell where this candidate differs from the best one.
      bool larger_or_equal = false;
      for (;; ++j) {
        if (j == kOrder) {
          j = 0;
          if (++i == kOrder) {
            larger_or_equal = true;
            break;
          }
        }
        const std::int8_t v = label[q[sigma[i] * kOrder + sigma[j]]];
        const std::int8_t w = best_[i * kOrder + j];
        if (v != w) {
          larger_or_equal = v > w;
          break;
        }
      }
      if (larger_or_equal) continue;
    }
    exact_ = true;
    for (; i < kOrder; ++i, j = 0) {
      const std::int8_t* row = q + sigma[i] * kOrder;
      for (; j < kOrder; ++j) best_[i * kOrder + j] = label[row[sigma[j]]];
    }
  }
  pending_count_ = 0;
}

void CanonSearch::run(const Grid& square) {
  constexpr int n = kOrder;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      const std::int8_t v = square[r * n + c];
      base_[0][r * n + c] = v;
      base_[1][c * n + r] = v;
      base_[2][r * n + (n - 1 - c)] = v;
      base_[3][c * n + (n - 1 - r)] = v;
    }
  }
  for (int q = 0; q < 4; ++q)
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c) pos_[q][r][base_[q][r * n + c]] = static_cast<std::int8_t>(c);

  // The first-row relabelling of the square itself is a candidate: start from it.
  best_ = relabel_by_first_row(square);
  exact_ = true;
  leaves_ = 0;
  pending_count_ = 0;
  sigma_.fill(kUnset);
  sinv_.fill(kUnset);
  next_ = 0;

  // Cell (1, 0) of a candidate whose rows 0 and 1 are lines a and b of Q is the position of
  // x = pos_a[Q[b][a]]: 1 when x = b, that is when Q[a][b] = Q[b][a], and 2, 8 or 9 otherwise.
  // So when Q has such a symmetric pair of cells off both diagonals for some grid map, only
  // those starts can win, and a bitmask per row a finds them without trying all 320.
  std::array<std::array<std::uint16_t, kOrder>, 4> starts{};
  bool any = false;
  for (int q = 0; q < 4; ++q) {
    const std::int8_t* g = base_[q].data();
    for (int a = 0; a < n; ++a) {
      unsigned mask = 0;
      for (int b = 0; b < n; ++b) mask |= static_cast<unsigned>(g[a * n + b] == g[b * n + a]) << b;
      mask &= ~((1u << a) | (1u << (n - 1 - a)));
      starts[q][a] = static_cast<std::uint16_t>(mask);
      any |= mask != 0;
    }
  }
  for (int q = 0; q < 4; ++q) {
    q_ = base_[q].data();
    q_index_ = q;
    for (int a = 0; a < n; ++a) {
      const unsigned mask =
          any ? starts[q][a] : ((1u << n) - 1) & ~((1u << a) | (1u << (n - 1 - a)));
      if (mask == 0) continue;
      pos_a_ = pos_[q][a].data();
      assign(0, a);
      for (unsigned m = mask; m != 0; m &= m - 1) {
        assign(1, std::countr_zero(m));
        step(0);
        unassign(1);
      }
      unassign(0);
    }
  }
  flush();
}

}  // namespace dlslab
