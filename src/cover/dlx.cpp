// Dancing links (Knuth, "Dancing Links", 2000), nodes in flat arrays linked by index.
//
// Layout: nodes 0..M-1 are the column headers, node M is the root, and the row nodes follow in
// matrix row order, each row's nodes in increasing column order. A header's column is itself.
// Only true entries get a node, so building costs one node per entry; the links are the same
// as in a dense grid of R + 1 by M + 1 nodes, hence the same covers in the same order:
// - a row's nodes form a ring in increasing column order;
// - a column's nodes hang below its header in increasing row order;
// - the header ring runs root, h_0, ..., h_(M-1), back to the root.
#include "cover/dlx.h"

#include <algorithm>
#include <bit>

#include "model/bit_count.h"

namespace dlslab {

void DlxEngine::reset(int columns) {
  columns_ = columns < 0 ? 0 : columns;
  rows_ = 0;
  root_ = columns_;
  const int headers = columns_ + 1;
  for (auto* v : {&left_, &right_, &up_, &down_, &column_, &row_}) v->assign(headers, 0);
  size_.assign(headers, 0);
  for (int j = 0; j < headers; ++j) {
    up_[j] = down_[j] = j;  // empty columns point at themselves
    column_[j] = j;
    row_[j] = -1;
  }
}

void DlxEngine::add_row(std::span<const int> true_columns) {
  const int row = rows_++;
  int first = -1;
  int previous = -1;
  for (const int j : true_columns) {
    if (j < 0 || j >= columns_ || j <= previous) continue;
    previous = j;
    const int node = static_cast<int>(left_.size());
    // Hang the node at the bottom of its column.
    up_.push_back(up_[j]);
    down_.push_back(j);
    down_[up_[j]] = node;
    up_[j] = node;
    column_.push_back(j);
    row_.push_back(row);
    ++size_[j];
    // Close the row ring through the first node.
    if (first < 0) {
      first = node;
      left_.push_back(node);
      right_.push_back(node);
    } else {
      left_.push_back(left_[first]);
      right_.push_back(first);
      right_[left_[first]] = node;
      left_[first] = node;
    }
  }
}

void DlxEngine::DlxLinkHeaders() {
  for (int j = 0; j <= columns_; ++j) {
    left_[j] = j == 0 ? root_ : j - 1;
    right_[j] = j == columns_ ? 0 : j + 1;
  }
  up_[root_] = down_[root_] = root_;
}

int DlxEngine::DlxChooseColumn() const {
  int best = right_[root_];
  for (int j = right_[root_]; j != root_ && size_[best] != 0; j = right_[j])
    if (size_[j] < size_[best]) best = j;
  return best;
}

void DlxEngine::DlxCoverColumn(int c) {
  left_[right_[c]] = left_[c];
  right_[left_[c]] = right_[c];
  for (int i = down_[c]; i != c; i = down_[i])
    for (int j = right_[i]; j != i; j = right_[j]) {
      down_[up_[j]] = down_[j];
      up_[down_[j]] = up_[j];
      --size_[column_[j]];
    }
}

void DlxEngine::DlxUncoverColumn(int c) {
  for (int i = up_[c]; i != c; i = up_[i])
    for (int j = left_[i]; j != i; j = left_[j]) {
      ++size_[column_[j]];
      down_[up_[j]] = j;
      up_[down_[j]] = j;
    }
  right_[left_[c]] = c;
  left_[right_[c]] = c;
}

void DlxEngine::DlxSearch() {
  if (right_[root_] == root_) {
    covers_->emplace_back(partial_.begin(), partial_.begin() + depth_);
    return;
  }
  const int c = DlxChooseColumn();
  DlxCoverColumn(c);
  for (int r = down_[c]; r != c; r = down_[r]) {
    partial_[depth_++] = row_[r];
    for (int j = right_[r]; j != r; j = right_[j]) DlxCoverColumn(column_[j]);
    DlxSearch();
    --depth_;
    for (int j = left_[r]; j != r; j = left_[j]) DlxUncoverColumn(column_[j]);
  }
  DlxUncoverColumn(c);
}

TDlxCoversArr DlxEngine::solve() {
  TDlxCoversArr covers;
  if (rows_ == 0) return covers;
  DlxLinkHeaders();
  partial_.assign(rows_, 0);
  depth_ = 0;
  covers_ = &covers;
  DlxSearch();
  covers_ = nullptr;
  return covers;
}

TDlxCoversArr DlxEngine::DlxSolve(const TDlxCoverageMatrix& matrix) {
  const int columns = matrix.empty() ? 0 : static_cast<int>(matrix[0].size());
  reset(columns);
  std::vector<int> true_columns;
  for (const TDlxCoverageMatrixString& row : matrix) {
    true_columns.clear();
    const int length = std::min(columns, static_cast<int>(row.size()));
    for (int j = 0; j < length; ++j)
      if (row[j]) true_columns.push_back(j);
    add_row(true_columns);
  }
  return solve();
}

void BitCoverSolver::reset(int columns) {
  columns_ = columns < 0 ? 0 : columns;
  rows_ = 0;
  row_start_.assign(1, 0);
  row_columns_.clear();
}

void BitCoverSolver::add_row(std::span<const int> true_columns) {
  int previous = -1;
  for (const int j : true_columns) {
    if (j < 0 || j >= columns_ || j <= previous) continue;
    previous = j;
    row_columns_.push_back(j);
  }
  row_start_.push_back(static_cast<int>(row_columns_.size()));
  ++rows_;
}

TDlxCoversArr BitCoverSolver::solve() {
  TDlxCoversArr covers;
  if (rows_ == 0) return covers;
  words_ = (rows_ + 63) / 64;
  column_words_ = (columns_ + 63) / 64;
  column_rows_.assign(static_cast<std::size_t>(columns_) * words_, 0);
  for (int i = 0; i < rows_; ++i)
    for (int k = row_start_[i]; k < row_start_[i + 1]; ++k)
      column_rows_[static_cast<std::size_t>(row_columns_[k]) * words_ + i / 64] |= std::uint64_t{1}
                                                                                   << (i % 64);
  const int depth_limit = columns_ + 1;  // every chosen row covers at least one column
  alive_.assign(static_cast<std::size_t>(depth_limit) * words_, 0);
  open_.assign(static_cast<std::size_t>(depth_limit) * column_words_, 0);
  for (int i = 0; i < rows_; ++i) alive_[i / 64] |= std::uint64_t{1} << (i % 64);
  for (int j = 0; j < columns_; ++j) open_[j / 64] |= std::uint64_t{1} << (j % 64);
  partial_.assign(depth_limit, 0);
  covers_ = &covers;
  search(0);
  covers_ = nullptr;
  return covers;
}

void BitCoverSolver::search(int depth) {
  // data() + offset, not &v[offset]: a matrix without rows or columns has empty tables.
  const std::uint64_t* alive = alive_.data() + static_cast<std::size_t>(depth) * words_;
  const std::uint64_t* open = open_.data() + static_cast<std::size_t>(depth) * column_words_;
  // The open column with the fewest compatible rows, the leftmost among equals.
  int best = -1;
  int best_size = 0;
  for (int w = 0; w < column_words_ && (best < 0 || best_size > 0); ++w)
    for (std::uint64_t m = open[w]; m != 0 && (best < 0 || best_size > 0); m &= m - 1) {
      const int j = 64 * w + std::countr_zero(m);
      const std::uint64_t* rows = column_rows_.data() + static_cast<std::size_t>(j) * words_;
      int size = 0;
      for (int v = 0; v < words_ && (best < 0 || size < best_size); ++v)
        size += bit_count(rows[v] & alive[v]);
      if (best < 0 || size < best_size) {
        best = j;
        best_size = size;
      }
    }
  if (best < 0) {
    covers_->emplace_back(partial_.begin(), partial_.begin() + depth);
    return;
  }
  const std::uint64_t* rows = column_rows_.data() + static_cast<std::size_t>(best) * words_;
  std::uint64_t* next_alive = alive_.data() + static_cast<std::size_t>(depth + 1) * words_;
  std::uint64_t* next_open = open_.data() + static_cast<std::size_t>(depth + 1) * column_words_;
  for (int w = 0; w < words_; ++w)
    for (std::uint64_t m = rows[w] & alive[w]; m != 0; m &= m - 1) {
      const int i = 64 * w + std::countr_zero(m);
      std::copy(alive, alive + words_, next_alive);
      std::copy(open, open + column_words_, next_open);
      for (int k = row_start_[i]; k < row_start_[i + 1]; ++k) {
        const int j = row_columns_[k];
        const std::uint64_t* through = column_rows_.data() + static_cast<std::size_t>(j) * words_;
        for (int v = 0; v < words_; ++v) next_alive[v] &= ~through[v];
        next_open[j / 64] &= ~(std::uint64_t{1} << (j % 64));
      }
      partial_[depth] = i;
      search(depth + 1);
    }
}

TDlxCoversArr DlxSolve(const TDlxCoverageMatrix& matrix) {
  DlxEngine engine;
  return engine.DlxSolve(matrix);
}

}  // namespace dlslab
