#include "model/square_view.h"

#include <algorithm>

namespace dlslab {
namespace {

bool in_square(int n, CellPos cell) {
  return cell.row >= 0 && cell.row < n && cell.col >= 0 && cell.col < n;
}

/// The bounds test of the wheel and the pop-up menu: a cell of either square, not the gap.
bool in_view(const TLatinSquareClass& model, CellPos cell) {
  const int n = model.GetOrder();
  if (model.ViewMode == 0) return in_square(n, cell);
  return cell.row >= 0 && cell.row < n && cell.col != n && cell.col >= 0 && cell.col <= 2 * n;
}

/// The cell that the wheel or the pop-up menu edits at a view position that passed InView,
/// or nullptr when the single view protects it as a clue.
int* edited_cell(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell) {
  const int n = model.GetOrder();
  if (model.ViewMode == 0) {
    if (is_clue_cell(puzzle, cell.row, cell.col)) return nullptr;
    return &model.FirstSquare[cell.row][cell.col];
  }
  if (cell.col < n) return &model.FirstSquare[cell.row][cell.col];
  return &model.SecondSquare[cell.row][cell.col - n - 1];
}

}  // namespace

int GetCellSize(const TLatinSquareClass& model, int width, int height) {
  const int n = model.GetOrder();
  if (n <= 0) return kMinCellSize;
  const int margins = 2 * kViewMargin;
  const int s = model.ViewMode == 0
                    ? std::min(width - margins, height - margins) / n
                    : std::min((height - margins) / n, (width - margins) / (2 * n + 1));
  return std::max(s, kMinCellSize);
}

ViewSize get_fitted_view_size(const TLatinSquareClass& model, int cell_size) {
  const int n = model.GetOrder();
  const int columns = model.ViewMode == 0 ? n : 2 * n + 1;
  return {cell_size * columns + 2 * kViewMargin, cell_size * n + 2 * kViewMargin};
}

void ComputeRedCells(TLatinSquareClass& model, const TLatinSquare& square) {
  const int n = square.order();
  model.RedCells.fill(false);
  auto mark_repeats = [&](auto cell_at) {
    // cell_at(k) = {row, col} of the k-th cell of one line (row, column or diagonal).
    for (int a = 0; a < n; ++a) {
      const auto [ra, ca] = cell_at(a);
      const int v = square[ra][ca];
      if (v < 0) continue;
      for (int b = a + 1; b < n; ++b) {
        const auto [rb, cb] = cell_at(b);
        if (square[rb][cb] != v) continue;
        model.RedCells[ra][ca] = true;
        model.RedCells[rb][cb] = true;
      }
    }
  };
  for (int line = 0; line < n; ++line) {
    mark_repeats([line](int k) { return CellPos{line, k}; });
    mark_repeats([line](int k) { return CellPos{k, line}; });
  }
  mark_repeats([](int k) { return CellPos{k, k}; });
  mark_repeats([n](int k) { return CellPos{k, n - 1 - k}; });
}

void ComputePairRepeats(TLatinSquareClass& model) {
  const int n = model.GetOrder();
  const TLatinSquare& a = model.FirstSquare;
  const TLatinSquare& b = model.SecondSquare;
  model.PairRepeats.fill(false);
  // Cells are numbered column by column, so the first occurrence of a pair is the one met
  // first going down the columns from the left.
  for (int k = 1; k < n * n; ++k) {
    const int rk = k % n, ck = k / n;
    if (a[rk][ck] == kEmpty || b[rk][ck] == kEmpty) continue;
    for (int m = 0; m < k; ++m) {
      const int rm = m % n, cm = m / n;
      if (a[rm][cm] == a[rk][ck] && b[rm][cm] == b[rk][ck]) {
        model.PairRepeats[rk][ck] = true;
        break;
      }
    }
  }
}

void MergePairRepeats(TLatinSquareClass& model) {
  const int n = model.GetOrder();
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (model.PairRepeats[i][j]) model.RedCells[i][j] = true;
}

CellPos GetCellAtPoint(const TLatinSquareClass& model, int width, int height, int x, int y) {
  const int s = GetCellSize(model, width, height);
  const int n = model.GetOrder();
  CellPos cell{(y - kViewMargin) / s, (x - kViewMargin) / s};
  const int columns = model.ViewMode == 0 ? n : 2 * n + 1;
  if (cell.col >= columns) cell.col = -1;
  return cell;
}

std::vector<CellLook> get_square_looks(TLatinSquareClass& model, int top, int left, int cell_size,
                                     const TLatinSquare& square) {
  ComputeRedCells(model, square);
  if (model.ViewMode == 1) MergePairRepeats(model);
  const int n = square.order();
  const int colours = static_cast<int>(model.ValueColors.size());
  std::vector<CellLook> looks;
  looks.reserve(n * n);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      CellLook look;
      look.x = left + j * cell_size;
      look.y = top + i * cell_size;
      const int v = square[i][j];
      if (model.RedCells[i][j])
        look.fill = kClRed;
      else if (model.FixedCells[i][j])
        look.fill = kClYellow;
      else if (v >= 0 && v < colours)
        look.fill = model.ValueColors[v];
      if (v >= 0) {
        look.text = v;
      } else {
        const TElemsArr candidates = TLatinSquareClass::GetCandidates(square, i, j);
        look.cross = candidates.empty();
        if (candidates.size() == 1) look.hint = candidates[0];
      }
      looks.push_back(look);
    }
  }
  return looks;
}

bool is_clue_cell(const TLatinSquare& puzzle, int row, int col) {
  const int n = puzzle.order();
  return row >= 0 && row < n && col >= 0 && col < n && puzzle[row][col] >= 0;
}

bool click_cell(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell) {
  const int n = model.GetOrder();
  if (!in_square(n, cell) || is_clue_cell(puzzle, cell.row, cell.col)) return false;
  int& v = model.FirstSquare[cell.row][cell.col];
  v = (v + 1) % n;
  return true;
}

bool wheel_cell(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell, int delta) {
  if (!in_view(model, cell)) return false;
  int* v = edited_cell(model, puzzle, cell);
  if (v == nullptr) return false;
  const int n = model.GetOrder();
  // From an empty cell (-1) this gives 0 upwards and N-2 downwards.
  *v = (*v + (delta > 0 ? 1 : -1) + n) % n;
  return true;
}

bool set_cell_value(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell, int value) {
  if (!in_view(model, cell) || value < kEmpty || value >= model.GetOrder()) return false;
  int* v = edited_cell(model, puzzle, cell);
  if (v == nullptr) return false;
  *v = value;
  return true;
}

}  // namespace dlslab
