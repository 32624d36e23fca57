#include "transform/generalized_symmetries.h"

#include <algorithm>
#include <cassert>

#include "model/progress.h"

namespace dlslab {
namespace {

using InvolutionTable = std::array<TInvolution, kInvolutionsCount>;

// Depth-first over the positions 0..9: a position already paired with an earlier one has no
// choice; a free position x takes x itself first, then each free y > x in ascending order.
// Choices at a position only ever grow, so the leaves come in ascending one-line order.
constexpr void add_involutions(TInvolution& p, std::array<bool, kOrder>& used, int x,
                               InvolutionTable& table, int& count) {
  if (x == kOrder) {
    table[count++] = p;
    return;
  }
  if (used[x]) {
    add_involutions(p, used, x + 1, table, count);
    return;
  }
  used[x] = true;
  p[x] = static_cast<std::uint8_t>(x);
  add_involutions(p, used, x + 1, table, count);
  for (int y = x + 1; y < kOrder; ++y) {
    if (used[y]) continue;
    used[y] = true;
    p[x] = static_cast<std::uint8_t>(y);
    p[y] = static_cast<std::uint8_t>(x);
    add_involutions(p, used, x + 1, table, count);
    used[y] = false;
  }
  used[x] = false;
}

constexpr InvolutionTable make_involutions() {
  InvolutionTable table{};
  TInvolution p{};
  std::array<bool, kOrder> used{};
  int count = 0;
  add_involutions(p, used, 0, table, count);
  return table;
}

constexpr InvolutionTable kInvolutions = make_involutions();
static_assert(kInvolutions[0] == TInvolution{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
static_assert(kInvolutions[1] == TInvolution{0, 1, 2, 3, 4, 5, 6, 7, 9, 8});
static_assert(kInvolutions[2] == TInvolution{0, 1, 2, 3, 4, 5, 6, 8, 7, 9});
static_assert(kInvolutions[kInvolutionsCount - 1] == TInvolution{9, 8, 7, 6, 5, 4, 3, 2, 1, 0});

bool is_value(int v) { return static_cast<unsigned>(v) < static_cast<unsigned>(kOrder); }

bool is_latin(const TLatinSquare& s) {
  for (int a = 0; a < kOrder; ++a) {
    unsigned row = 0, col = 0;
    for (int b = 0; b < kOrder; ++b) {
      if (!is_value(s[a][b]) || !is_value(s[b][a])) return false;
      row |= 1u << s[a][b];
      col |= 1u << s[b][a];
    }
    if (row != 0x3FF || col != 0x3FF) return false;
  }
  return true;
}

// For a Latin square, R and c0 = C(0) determine everything: column 0 against column c0 gives
// m(S[i][0]) = S[R(i)][c0] for every value, and row 0 against row R(0) gives C(j) as the
// column of m(S[0][j]) in row R(0). Each candidate is then confirmed by the plain test, so the
// list is exactly the one the pair-by-pair test gives.
void add_symmetries_of_row_involution(const TLatinSquare& s, int r,
                                      const std::array<std::array<int, kOrder>, kOrder>& column_of,
                                      std::vector<GeneralizedSymmetry>& out) {
  const TInvolution& R = kInvolutions[r - 1];
  std::array<int, kOrder> found{};
  int count = 0;
  for (int c0 = 0; c0 < kOrder; ++c0) {
    std::array<int, kOrder> m{};
    for (int i = 0; i < kOrder; ++i) m[s[i][0]] = s[R[i]][c0];
    bool involution = true;
    for (int v = 0; v < kOrder && involution; ++v) involution = m[m[v]] == v;
    if (!involution) continue;
    TInvolution C{};
    for (int j = 0; j < kOrder; ++j) C[j] = static_cast<std::uint8_t>(column_of[R[0]][m[s[0][j]]]);
    const int c = get_involution_number(C);
    if (c == 0 || !IsGeneralizedSymmetry(s, r, c)) continue;
    int k = count++;  // keep the few found ascending
    for (; k > 0 && found[k - 1] > c; --k) found[k] = found[k - 1];
    found[k] = c;
  }
  for (int k = 0; k < count; ++k) out.push_back({r, found[k]});
}

}  // namespace

const TInvolution& get_involution(int number) {
  assert(number >= 1 && number <= kInvolutionsCount);
  return kInvolutions[number - 1];
}

int get_involution_number(const TInvolution& p) {
  const auto it = std::lower_bound(kInvolutions.begin(), kInvolutions.end(), p);
  if (it == kInvolutions.end() || *it != p) return 0;
  return static_cast<int>(it - kInvolutions.begin()) + 1;
}

bool IsGeneralizedSymmetry(const TLatinSquare& s, int r, int c) {
  if (s.order() != kOrder || r < 1 || r > kInvolutionsCount || c < 1 || c > kInvolutionsCount)
    return false;
  const TInvolution& R = kInvolutions[r - 1];
  const TInvolution& C = kInvolutions[c - 1];
  std::array<int, kOrder> m;
  m.fill(-1);
  // Row 0 defines m, checking only the pairs already known.
  for (int k = 0; k < kOrder; ++k) {
    const int a = s[0][k];
    const int b = s[R[0]][C[k]];
    if (!is_value(a) || !is_value(b)) return false;
    m[a] = b;
    if (m[b] >= 0 && m[b] != a) return false;
  }
  // The other rows must follow it both ways.
  for (int i = 1; i < kOrder; ++i) {
    const int* row = s[i];
    const int* image = s[R[i]];
    for (int j = 0; j < kOrder; ++j) {
      const int a = row[j];
      const int b = image[C[j]];
      if (!is_value(a) || !is_value(b) || b != m[a] || a != m[b]) return false;
    }
  }
  return true;
}

std::vector<GeneralizedSymmetry> get_generalized_symmetries(const TLatinSquare& s, int r_first,
                                                          int r_last) {
  r_first = std::max(r_first, 1);
  r_last = std::min(r_last, kInvolutionsCount);
  if (s.order() != kOrder || !is_latin(s))
    return get_generalized_symmetries_by_all_pairs(s, r_first, r_last);
  std::array<std::array<int, kOrder>, kOrder> column_of{};  // column_of[row][value]
  for (int i = 0; i < kOrder; ++i)
    for (int j = 0; j < kOrder; ++j) column_of[i][s[i][j]] = j;
  std::vector<GeneralizedSymmetry> out;
  Progress& progress = current_progress();
  progress.begin("Testing the row involutions",
                 static_cast<std::uint64_t>(std::max(r_last - r_first + 1, 0)));
  for (int r = r_first; r <= r_last; ++r) {
    progress.poll();
    add_symmetries_of_row_involution(s, r, column_of, out);
    progress.advance();
  }
  return out;
}

std::vector<GeneralizedSymmetry> get_generalized_symmetries_by_all_pairs(const TLatinSquare& s,
                                                                    int r_first, int r_last) {
  r_first = std::max(r_first, 1);
  r_last = std::min(r_last, kInvolutionsCount);
  std::vector<GeneralizedSymmetry> out;
  Progress& progress = current_progress();
  progress.begin("Testing the pairs of involutions",
                 static_cast<std::uint64_t>(std::max(r_last - r_first + 1, 0)));
  for (int r = r_first; r <= r_last; ++r) {
    progress.poll();
    for (int c = 1; c <= kInvolutionsCount; ++c)
      if (IsGeneralizedSymmetry(s, r, c)) out.push_back({r, c});
    progress.advance();
  }
  return out;
}

}  // namespace dlslab
