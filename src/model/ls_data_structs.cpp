#include "model/ls_data_structs.h"

#include <algorithm>

#include "model/diagnostics.h"

namespace dlslab {

TLatinSquare CreateSquare(int n) {
  TLatinSquare square(n);
  ClearSquare(square, true);
  return square;
}

void ClearSquare(TLatinSquare& square, bool fill_first_row) {
  std::fill(square.data(), square.data() + square.size(), kEmpty);
  if (fill_first_row && square.order() > 0)
    for (int j = 0; j < square.order(); ++j) square[0][j] = j;
}

void CopySquare(TLatinSquare& dest, const TLatinSquare& src) { dest = src; }

int GetEmptyCellsCount(const TLatinSquare& square) {
  return static_cast<int>(
      std::count_if(square.data(), square.data() + square.size(), [](int v) { return v < 0; }));
}

bool IsFilled(const TLatinSquare& square) {
  if (square.order() < kOrder) return false;
  for (int i = 0; i < kOrder; ++i)
    for (int j = 0; j < kOrder; ++j)
      if (square[i][j] < 0) return false;
  return true;
}

bool IsDiagonalLatin(const TLatinSquare& square) {
  const int n = square.order();
  // Pairwise comparison, as the rule is stated: any value other than -1 (also one outside
  // 0..n-1) may occur once per line.
  auto repeats = [n](auto cell) {
    for (int i = 0; i < n; ++i)
      for (int k = i + 1; k < n; ++k)
        if (cell(i) == cell(k) && cell(i) != kEmpty) return true;
    return false;
  };
  for (int r = 0; r < n; ++r) {
    if (repeats([&](int j) { return square[r][j]; })) return false;
    if (repeats([&](int i) { return square[i][r]; })) return false;
  }
  if (repeats([&](int i) { return square[i][i]; })) return false;
  if (repeats([&](int i) { return square[i][n - 1 - i]; })) return false;
  return true;
}

bool is_complete_latin(const TLatinSquare& square) {
  const int n = square.order();
  for (int r = 0; r < n; ++r) {
    std::uint32_t row_seen = 0;
    std::uint32_t col_seen = 0;
    for (int k = 0; k < n; ++k) {
      const int a = square[r][k];
      const int b = square[k][r];
      if (a < 0 || a >= n || b < 0 || b >= n) return false;
      if ((row_seen >> a & 1) != 0 || (col_seen >> b & 1) != 0) return false;
      row_seen |= 1u << a;
      col_seen |= 1u << b;
    }
  }
  return true;
}

bool holds_only_valid_values(const TLatinSquare& square) {
  const int n = square.order();
  return std::all_of(square.data(), square.data() + square.size(),
                     [n](int v) { return v >= kEmpty && v < n; });
}

FreeValues GetFreeValues(const TFreeTable& row_free, const TFreeTable& col_free,
                         const TFreeLine& diag_free, const TFreeLine& anti_diag_free, int row,
                         int col) {
  FreeValues result;
  for (int v = 0; v < kOrder; ++v) {
    if (row_free[row][v] && col_free[col][v] && (row != col || diag_free[v]) &&
        (row + col != kOrder - 1 || anti_diag_free[v]))
      result.values[result.count++] = v;
  }
  return result;
}

std::string SquareToString(const TLatinSquare& square, bool with_spaces) {
  std::string s;
  s.reserve(square.size() * (with_spaces ? 3 : 2));
  for (int i = 0; i < square.size(); ++i) {
    const int v = square.data()[i];
    if (v < 0)
      s += '-';
    else
      s += std::to_string(v);
    if (with_spaces) s += ' ';
  }
  return s;
}

TLatinSquare StringToSquare(std::string_view text) {
  TLatinSquare square = CreateSquare(kOrder);
  std::string s(text);
  RemoveSpaces(s);
  const int n = std::min<int>(static_cast<int>(s.size()), kOrder * kOrder);
  for (int p = 0; p < n; ++p) {
    const char c = s[p];
    square.data()[p] = (c >= '0' && c <= '9') ? c - '0' : kEmpty;
  }
  return square;
}

void RemoveSpaces(std::string& s) { std::erase(s, ' '); }

void PrintSquare(const TLatinSquare& square, bool print_collisions) {
  std::ostream& out = diag();
  for (int i = 0; i < square.order(); ++i) {
    std::string line;
    for (int j = 0; j < square.order(); ++j) {
      const int v = square[i][j];
      if (v < 0) {
        line += " -";
      } else {
        std::string digits = std::to_string(v);
        if (digits.size() < 2) line += ' ';
        line += digits;
      }
    }
    out << line << '\n';
  }
  if (print_collisions) out << "Collisions: " << GetEmptyCellsCount(square) << '\n';
  out.flush();
}

}  // namespace dlslab
