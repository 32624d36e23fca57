#pragma once

#include "model/types.h"

// Maps of a square onto a square of the same order: the grid symmetries, torus shifts,
// inverse squares, parastrophes, relabellings and the row/column primitives of the
// canonical-form search.
//
// The two-square routines write into `dest`, which must not be `src`. When `dest` is not of
// src's order it is first made a fresh square of that order (first row 0..N-1, the rest empty).
// Cell-moving routines reach every cell and copy empty cells like values. Value-indexed
// routines skip source cells that are empty or outside 0..N-1; the destination cells no source
// cell maps to keep what they held.
namespace dlslab {

/// D[i][j] = S[j][i]: reflection in the main diagonal.
void Transpose(TLatinSquare& dest, const TLatinSquare& src);
/// D[i][j] = S[N-1-j][N-1-i]: reflection in the anti-diagonal.
void Antitranspose(TLatinSquare& dest, const TLatinSquare& src);
/// D[j][N-1-i] = S[i][j]: 90 degrees clockwise.
void RotateRight(TLatinSquare& dest, const TLatinSquare& src);
/// D[N-1-j][i] = S[i][j]: 90 degrees anticlockwise.
void RotateLeft(TLatinSquare& dest, const TLatinSquare& src);
/// D[N-1-i][N-1-j] = S[i][j]: 180 degrees.
void RotateDouble(TLatinSquare& dest, const TLatinSquare& src);
/// D[N-1-i][j] = S[i][j]: row order reversed.
void FlipVertical(TLatinSquare& dest, const TLatinSquare& src);
/// D[i][N-1-j] = S[i][j]: column order reversed.
void FlipHorizontal(TLatinSquare& dest, const TLatinSquare& src);

/// Torus shift directions of ThorusMovement.
inline constexpr int kThorusLeft = 0;
inline constexpr int kThorusRight = 1;
inline constexpr int kThorusUp = 2;
inline constexpr int kThorusDown = 3;
/// Shifts every row (left, right) or every column (up, down) one place, wrapping around;
/// a direction outside 0..3 leaves dest untouched.
void ThorusMovement(TLatinSquare& dest, const TLatinSquare& src, int direction);

/// D[i][S[i][j]] = j: each row replaced by its inverse permutation.
void GetStringInverseSquare(TLatinSquare& dest, const TLatinSquare& src);
/// D[S[i][j]][j] = i: each column replaced by its inverse permutation.
void GetColumnInverseSquare(TLatinSquare& dest, const TLatinSquare& src);
/// (i, j, a) -> (i, a, j) into a fresh square of src's order.
[[nodiscard]] TLatinSquare GetParastrof1(const TLatinSquare& src);
/// (i, j, a) -> (j, a, i) into a fresh square of src's order.
[[nodiscard]] TLatinSquare GetParastrof2(const TLatinSquare& src);

/// Relabels rows 1..N-1 by the first row's position map, then sets the first row to 0..N-1.
/// Meant for squares whose first row holds every value once; a value the first row lacks
/// becomes 0.
void NormalizeByFirstRow(TLatinSquare& square);
/// Relabels every cell so that the main diagonal reads 0..N-1 (for a DLS); values missing
/// from the diagonal become 0.
void NormalizeByMainDiagonal(TLatinSquare& square);

/// Exchanges rows (columns) a and b.
void SwapRows(TLatinSquare& square, int a, int b);
void SwapColumns(TLatinSquare& square, int a, int b);
/// 0 <= k < N/2: exchanges rows k and N-1-k, then columns k and N-1-k; keeps both diagonals.
void FlipPair(TLatinSquare& square, int k);
/// 0 <= a, b < N/2: exchanges rows a, b and N-1-a, N-1-b, then the same columns; keeps both
/// diagonals.
void SwapPairs(TLatinSquare& square, int a, int b);

}  // namespace dlslab
