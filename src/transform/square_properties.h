#pragma once

#include "model/types.h"

// Predicates and counts describing one square. The symmetry, inversion and self-orthogonality
// predicates and the indices are meant for complete diagonal Latin squares of order 10 (the
// displays ask only then); on any other square they still read nothing outside the square:
// a value outside 0..N-1 makes a predicate false and adds nothing to an index.
namespace dlslab {

/// Every row is its own complement mirrored: S[i][j] + S[i][N-1-j] = N-1.
[[nodiscard]] bool IsHorzSymmetric(const TLatinSquare& s);
/// Rows i and N-1-i correspond through the last row read as a value map p, an involution
/// fixing the first row's values in place; true for N < 4.
[[nodiscard]] bool IsVertSymmetric(const TLatinSquare& s);
/// The square turned 90 degrees clockwise equals the square relabelled by its last column
/// read as a value map.
[[nodiscard]] bool IsClockwiseSymmetric(const TLatinSquare& s);
/// The square turned 180 degrees equals the square relabelled by the reversed last row read
/// as a value map (an involution fixing the first row's values); true for N < 2.
[[nodiscard]] bool IsCentralSymmetric(const TLatinSquare& s);
/// The rows pair off so that each row read backwards is its partner.
[[nodiscard]] bool IsStrInv(const TLatinSquare& s);
/// The columns pair off so that each column read upwards is its partner.
[[nodiscard]] bool IsColInv(const TLatinSquare& s);
/// Every broken diagonal and broken anti-diagonal holds distinct values.
[[nodiscard]] bool IsPandiagonal(const TLatinSquare& s);
/// S[i][j] + S[N-1-i][N-1-j] = N-1 outside the middle row and column.
[[nodiscard]] bool IsAssociative(const TLatinSquare& s);

/// Orthogonal to its own transpose (and so on); order 10 only, false for other orders.
[[nodiscard]] bool IsTransSelfOrt(const TLatinSquare& s);
[[nodiscard]] bool IsAntiTransSelfOrt(const TLatinSquare& s);
[[nodiscard]] bool IsRightRotSelfOrt(const TLatinSquare& s);
[[nodiscard]] bool IsLeftRotSelfOrt(const TLatinSquare& s);
[[nodiscard]] bool IsFlipHorzSelfOrt(const TLatinSquare& s);
[[nodiscard]] bool IsFlipVertSelfOrt(const TLatinSquare& s);

/// (IsHorzSymmetric and IsStrInv) or (IsVertSymmetric and IsColInv).
[[nodiscard]] bool IsBrownSquare(const TLatinSquare& s);

/// N plus 2 for every mirrored cell pair of rows 1..N-1 whose first-row positions add up to
/// N-1; N*N for a horizontally symmetric square with first row 0..N-1.
[[nodiscard]] int GetHorzSymmetryIndex(const TLatinSquare& s);
/// N plus 2 for every mirrored cell pair of columns 1..N-1 whose first-column positions add up
/// to N-1.
[[nodiscard]] int GetVertSymmetryIndex(const TLatinSquare& s);
/// 2 for every cell whose value and its 180-degree partner's add up to N-1 once the square is
/// normalized by its main diagonal; each pair counts from both ends (at most 2*N*N).
[[nodiscard]] int GetCentralSymmetryIndex(const TLatinSquare& s);
/// The cells read row by row as the digits of a number in base N-1.
[[nodiscard]] double GetSquareNumber(const TLatinSquare& s);
/// Number of 2 x 2 subsquares (r1 < r2, c1 < c2) whose diagonal cells and anti-diagonal cells
/// are equal; empty cells compare like values.
[[nodiscard]] int GetIntercalatesCount(const TLatinSquare& s);
/// The square of order n with cell (i, j) = (i*k + j) mod n.
[[nodiscard]] TLatinSquare CreatePandiagonal(int n, int k);

}  // namespace dlslab
