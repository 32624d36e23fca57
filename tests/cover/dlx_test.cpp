#include "cover/dlx.h"

#include <gtest/gtest.h>

namespace dlslab {
namespace {

TDlxCoverageMatrix matrix_from(std::initializer_list<const char*> rows) {
  TDlxCoverageMatrix matrix;
  for (const char* row : rows) {
    TDlxCoverageMatrixString line;
    for (const char* p = row; *p != 0; ++p) line.push_back(*p == '1');
    matrix.push_back(line);
  }
  return matrix;
}

/// Solves with the bitset solver, which must agree with the dancing links.
TDlxCoversArr bit_solve(const TDlxCoverageMatrix& matrix) {
  BitCoverSolver solver;
  solver.reset(matrix.empty() ? 0 : static_cast<int>(matrix[0].size()));
  for (const TDlxCoverageMatrixString& row : matrix) {
    std::vector<int> columns;
    for (std::size_t j = 0; j < row.size(); ++j)
      if (row[j]) columns.push_back(static_cast<int>(j));
    solver.add_row(columns);
  }
  return solver.solve();
}

TEST(DlxSolve, FindsTheSingleCoverInSelectionOrder) {
  // Columns A..G. A (two rows, leftmost of the smallest) is branched on first; after row 3
  // E has one row left, so row 0 comes next, then row 4.
  const TDlxCoverageMatrix matrix =
      matrix_from({"0010110", "1001001", "0110010", "1001000", "0100001", "0001101"});
  EXPECT_EQ(DlxSolve(matrix), (TDlxCoversArr{{3, 0, 4}}));
  EXPECT_EQ(bit_solve(matrix), DlxSolve(matrix));
}

TEST(DlxSolve, ListsEveryCoverOnceAndAgainOnASecondSolve) {
  // Rows 0 and 1 are equal; each completes a cover with row 2, and row 3 covers alone.
  // Column 2 has the fewest rows, so row 2 is chosen before its partners.
  const TDlxCoverageMatrix matrix = matrix_from({"1100", "1100", "0011", "1111"});
  const TDlxCoversArr expected{{2, 0}, {2, 1}, {3}};
  DlxEngine engine;
  EXPECT_EQ(engine.DlxSolve(matrix), expected);
  EXPECT_EQ(engine.DlxSolve(matrix_from({"10", "01"})), (TDlxCoversArr{{0, 1}}));
  EXPECT_EQ(engine.DlxSolve(matrix), expected);
  EXPECT_EQ(bit_solve(matrix), expected);
}

TEST(DlxSolve, EdgeMatrices) {
  EXPECT_TRUE(DlxSolve({}).empty());
  EXPECT_EQ(DlxSolve(matrix_from({""})), (TDlxCoversArr{{}}));  // no columns: the empty cover
  EXPECT_TRUE(DlxSolve(matrix_from({"110", "100"})).empty());   // column 2 has no row
  EXPECT_TRUE(DlxSolve(matrix_from({"00", "11", "11"})).size() == 2);
  EXPECT_TRUE(bit_solve({}).empty());
  EXPECT_EQ(bit_solve(matrix_from({""})), (TDlxCoversArr{{}}));
  EXPECT_TRUE(bit_solve(matrix_from({"110", "100"})).empty());
  EXPECT_EQ(bit_solve(matrix_from({"00", "11", "11"})), (TDlxCoversArr{{1}, {2}}));
}

TEST(DlxSolve, CountsLatinSquareCompletions) {
  // Exact cover of rows, columns and values of a 4 x 4 Latin square given its first row:
  // each row of the matrix places value v at cell (r, c). 576 Latin squares of order 4 have
  // 576 / 24 = 24 completions of one first row.
  TDlxCoverageMatrix matrix;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      for (int v = 0; v < 4; ++v) {
        if (r == 0 && v != c) continue;
        TDlxCoverageMatrixString line(48, false);
        line[4 * r + c] = line[16 + 4 * r + v] = line[32 + 4 * c + v] = true;
        matrix.push_back(line);
      }
  EXPECT_EQ(DlxSolve(matrix).size(), 24u);
  EXPECT_EQ(bit_solve(matrix), DlxSolve(matrix));
}

}  // namespace
}  // namespace dlslab
