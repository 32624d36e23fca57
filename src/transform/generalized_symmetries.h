#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/types.h"

// Generalized symmetries of an order-10 square: a pair of involutions R of the rows and C of
// the columns under which the square is unchanged up to an involutive relabelling m of its
// values, S[R(i)][C(j)] = m(S[i][j]). Involutions are named by their number in the table of
// all involutions of 0..9 in ascending order of their one-line form, from 1 (the identity)
// to 9496 (the reversal).
namespace dlslab {

inline constexpr int kInvolutionsCount = 9496;
/// One-line form p(0) .. p(9) of an involution of 0..9.
using TInvolution = std::array<std::uint8_t, kOrder>;

/// The involution with table number `number` (1..9496).
[[nodiscard]] const TInvolution& get_involution(int number);
/// Table number of an involution, 0 when `p` is not one.
[[nodiscard]] int get_involution_number(const TInvolution& p);

/// Whether involutions r and c (table numbers) are a generalized symmetry of the order-10
/// square s, by the row-0-defines-m test; false for numbers outside 1..9496, other orders
/// and values outside 0..9. No allocation.
[[nodiscard]] bool IsGeneralizedSymmetry(const TLatinSquare& s, int r, int c);

struct GeneralizedSymmetry {
  int r;
  int c;
  friend bool operator==(const GeneralizedSymmetry&, const GeneralizedSymmetry&) = default;
};

/// Every pair (r, c) with r in r_first..r_last for which IsGeneralizedSymmetry holds, r
/// ascending and c ascending within r. s is a complete order-10 square with values 0..9.
/// For a Latin square, R and C(0) fix m and then all of C, so only ten candidates per r are
/// tested; any other square is tested pair by pair.
[[nodiscard]] std::vector<GeneralizedSymmetry> get_generalized_symmetries(
    const TLatinSquare& s, int r_first = 1, int r_last = kInvolutionsCount);

/// The same list by testing all pairs: the baseline of GetGeneralizedSymmetries.
[[nodiscard]] std::vector<GeneralizedSymmetry> get_generalized_symmetries_by_all_pairs(
    const TLatinSquare& s, int r_first = 1, int r_last = kInvolutionsCount);

}  // namespace dlslab
