#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace dlslab {

// Exact cover: given a Boolean matrix, find every set of rows that holds exactly one true
// entry in each column. Columns are the constraints (all primary), rows the placements.

/// One matrix row; entry j true = the row has a 1 in column j.
using TDlxCoverageMatrixString = std::vector<bool>;
/// R rows of M entries; M is the length of row 0 and every row must have it.
using TDlxCoverageMatrix = std::vector<TDlxCoverageMatrixString>;
/// The matrix row indices of one exact cover, in the order the search chose them.
using TDlxCover = std::vector<int>;
/// Covers in the order found.
using TDlxCoversArr = std::vector<TDlxCover>;

/// Dancing links. The search branches on the column with the fewest rows (the leftmost among
/// equals, a column that can't be covered at once) and tries its rows from the lowest matrix
/// row up, so the same matrix always gives the same covers in the same order. Keep one per
/// thread: the node storage is reused from solve to solve.
class DlxEngine {
 public:
  /// Every exact cover of matrix; none when it has no rows.
  [[nodiscard]] TDlxCoversArr DlxSolve(const TDlxCoverageMatrix& matrix);

  /// Starts a matrix of `columns` columns given row by row (a faster way to the same covers).
  void reset(int columns);
  /// Appends a row by its true columns, increasing; entries out of range or not increasing
  /// are dropped.
  void add_row(std::span<const int> true_columns);
  /// Every exact cover of the matrix given since Reset.
  [[nodiscard]] TDlxCoversArr solve();

 private:
  void DlxLinkHeaders();
  void DlxSearch();
  [[nodiscard]] int DlxChooseColumn() const;
  void DlxCoverColumn(int c);
  void DlxUncoverColumn(int c);

  // Node i: left/right/up/down neighbours, its column header and its matrix row. Nodes
  // 0..M-1 are the column headers, node M the root, then the row nodes in row order.
  std::vector<std::int32_t> left_, right_, up_, down_, column_, row_;
  std::vector<std::int32_t> size_;  // per header: rows currently linked in the column
  int columns_ = 0;
  int rows_ = 0;
  int root_ = 0;
  std::vector<int> partial_;
  int depth_ = 0;
  TDlxCoversArr* covers_ = nullptr;
};

/// The covers of DlxEngine, in the same order, with the state held as bitsets over the rows:
/// a column's size is the number of its rows still compatible with the partial cover, and
/// choosing a row drops every row that shares a column with it. Far faster on the matrices
/// of the mate searches (a hundred or a few thousand rows).
class BitCoverSolver {
 public:
  void reset(int columns);
  /// As DlxEngine::add_row.
  void add_row(std::span<const int> true_columns);
  [[nodiscard]] TDlxCoversArr solve();

 private:
  void search(int depth);

  int columns_ = 0;
  int rows_ = 0;
  int words_ = 0;         // 64-bit words per row set
  int column_words_ = 0;  // 64-bit words per column set
  std::vector<int> row_start_{0};
  std::vector<int> row_columns_;
  std::vector<std::uint64_t> column_rows_;  // [column][word]
  std::vector<std::uint64_t> alive_;        // [depth][word]: rows still compatible
  std::vector<std::uint64_t> open_;         // [depth][column word]: columns not covered yet
  std::vector<int> partial_;
  TDlxCoversArr* covers_ = nullptr;
};

/// A one-off solve with its own engine.
[[nodiscard]] TDlxCoversArr DlxSolve(const TDlxCoverageMatrix& matrix);

}  // namespace dlslab
