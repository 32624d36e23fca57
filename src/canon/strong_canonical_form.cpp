// The anti-diagonals of strong canonical forms, and the order they are chosen by.
//
// A strong canonical form has the main diagonal 0..9, so its anti-diagonal is a permutation
// a with a[i] != i and a[i] != 9-i; the table lists the 67 of them that occur, ascending.

#include "canon/strong_canonical_form.h"

#include <cassert>
#include <string_view>

namespace dlslab {
namespace {

// clang-format off
constexpr std::array<std::string_view, kScfLineCount> kScfLines = {
  "1032674598", "1032674895", "1032675498", "1032675894", "1032678945", "1032678954",
  "1032684957", "1032684975", "1032685947", "1032685974", "1032687495", "1032689475",
  "1032689574", "1034268957", "1034268975", "1034275698", "1034275896", "1034278956",
  "1034278965", "1034625897", "1034628597", "1034628957", "1034628975", "1034678925",
  "1034678952", "1034682975", "1034685927", "1034685972", "1034687925", "1034687952",
  "1034689527", "1034689572", "1034728956", "1034728965", "1034785926", "1034785962",
  "1034869527", "1034875926", "1034875962", "1034895627", "1034895672", "1037685924",
  "1037685942", "1037892645", "1037892654", "1204635978", "1204637958", "1204678935",
  "1204678953", "1204785936", "1204785963", "1204789365", "1204789563", "1204798536",
  "1204798653", "1230675948", "1230678954", "1230679458", "1234075968", "1234078956",
  "1234095678", "1234608975", "1234675908", "1234689507", "1234698057", "1237685904",
  "1237695408",
};
// clang-format on

/// Empty cells sort after every value.
constexpr int sort_key(int v) { return v < 0 ? 100 : v; }

}  // namespace

TIntArr GetAntiDiagonal(const TLatinSquare& square) {
  const int n = square.order();
  TIntArr a(n);
  for (int i = 0; i < n; ++i) a[i] = square[i][n - 1 - i];
  return a;
}

bool IsDiagLess(const TLatinSquare& a, const TLatinSquare& b) {
  assert(a.order() == kOrder && b.order() == kOrder);
  for (const int cell : kDiagFirstCells) {
    const int x = sort_key(a.data()[cell]);
    const int y = sort_key(b.data()[cell]);
    if (x != y) return x < y;
  }
  return false;
}

bool diag_less(const Grid& a, const Grid& b) {
  for (const int cell : kDiagFirstCells) {
    const int x = sort_key(a[cell]);
    const int y = sort_key(b[cell]);
    if (x != y) return x < y;
  }
  return false;
}

void normalize_grid_by_main_diagonal(Grid& grid) {
  std::array<std::int8_t, kOrder> map{};
  for (int i = 0; i < kOrder; ++i) {
    const int v = grid[i * kOrder + i];
    if (v >= 0) map[v] = static_cast<std::int8_t>(i);
  }
  for (std::int8_t& v : grid)
    if (v >= 0) v = map[v];
}

int GetSCFLineNumber(const std::array<int, kOrder>& anti_diagonal) {
  for (int line = 0; line < kScfLineCount; ++line) {
    bool equal = true;
    for (int i = 0; i < kOrder && equal; ++i) {
      const char c = kScfLines[line][i];
      equal = (c >= '0' && c <= '9' ? c - '0' : -1) == anti_diagonal[i];
    }
    if (equal) return line + 1;
  }
  return -1;
}

}  // namespace dlslab
