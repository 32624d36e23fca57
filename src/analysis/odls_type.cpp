// The type of an ODLS family is looked up by its ascending degree list in a fixed table of
// signatures, in table order.
//
// The fast route builds the family with the fast mate search. It yields the members in
// another order than the exact-cover search, but the same set (all first-row-normalized DLS
// reachable by taking mates), and the same degrees: every member is a distinct normalized DLS
// and the family holds all its mates, so a member's degree is its number of mates. Most random
// squares have no mate at all; then the type costs one fast mate search.
#include "analysis/odls_type.h"

#include <algorithm>
#include <vector>

#include "analysis/family_operations.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"
#include "transform/transformations.h"

namespace dlslab {

// clang-format off
const std::array<OdlsTypeSignature, 35> kOdlsTypeSignatures = {{
    {"0", 0},
    {"11", 1},
    {"112", 2},
    {"11222", 4},
    {"2222", 5},
    {"1122", 3},
    {"1113", 6},
    {"11114", 7},
    {"1111116", 9},
    {"11111117", 10},
    {"111111118", 11},
    {"22233", 12},
    {"111144", 13},
    {"222244", 13},
    {"11111166", 14},
    {"1111111188", 15},
    {"112224", 16},
    {"3333", 17},
    {"11111144", 19},
    {"1111111112337", 20},
    {"1111111111111111111111112222446677", 21},
    {"1111224", 22},
    {"44444444", 23},
    {"1111233", 24},
    {"1111112334", 25},
    {"111124", 26},
    {"555555", 28},
    {"333333", 29},
    {"1144444455", 30},
    {"8888888888888888", 31},
    {"11111111111177", 33},
    {"11118888888888889999", 38},
    {"11111122224A", 45},
    {"11222444", 46},
    {"111115", 8},
}};
// clang-format on

int get_odls_type_code(const TDegreesArr& sorted_degrees) {
  for (const OdlsTypeSignature& entry : kOdlsTypeSignatures)
    if (IntArrsEqual(StringToIntArr(entry.signature), sorted_degrees)) return entry.code;
  return kUnknownOdlsType;
}

TTransversalsTable GetCommonTransversals(const TTransversalsTable& a, const TTransversalsTable& b) {
  TTransversalsTable common;
  for (int i = 0; i < a.Count(); ++i)
    for (int j = 0; j < b.Count(); ++j)
      if (TransversalsEqual(a.Items[i], b.Items[j])) common.Items.push_back(a.Items[i]);
  return common;
}

TTransversalsTable get_common_transversals_fast(const TTransversalsTable& a,
                                             const TTransversalsTable& b) {
  std::vector<TTransversal> sorted = b.Items;
  std::sort(sorted.begin(), sorted.end());
  TTransversalsTable common;
  for (int i = 0; i < a.Count(); ++i) {
    const auto [first, last] = std::equal_range(sorted.begin(), sorted.end(), a.Items[i]);
    common.Items.insert(common.Items.end(), last - first, a.Items[i]);
  }
  return common;
}

std::uint8_t OdlsTypeEngine::GetOdlsType(const TLatinSquare& square) {
  if (square.order() != kOrder) return kUnknownOdlsType;
  if (!IsFilled(square) || !IsDiagonalLatin(square)) return get_odls_type_literal(square);
  TLatinSquare normalized = square;
  NormalizeByFirstRow(normalized);
  TOrthogonalSquares mates = search_.GetOdls(normalized);
  if (mates.Count() == 0) return static_cast<std::uint8_t>(get_odls_type_code({0}));
  TSquaresCollection family;
  family.AddSquare(normalized, true, true);
  TDegreesArr degrees;
  for (int i = 0; i < family.Count(); ++i) {
    current_progress().poll();
    if (i > 0) mates = search_.GetOdls(family.get_square(i));
    degrees.push_back(mates.Count());
    for (int m = 0; m < mates.Count(); ++m) family.AddSquare(mates.Squares[m], true, true);
  }
  std::sort(degrees.begin(), degrees.end());
  return static_cast<std::uint8_t>(get_odls_type_code(degrees));
}

std::uint8_t OdlsTypeEngine::get_odls_type_literal(const TLatinSquare& square) {
  if (square.order() != kOrder) return kUnknownOdlsType;
  TLatinSquare normalized = square;
  NormalizeByFirstRow(normalized);
  TSquaresCollection family(TSquaresCollection::Lookup::kLinear);
  family.AddSquare(normalized, true, true);
  BuildOdlsFamily(family, false, true, search_);
  SortDegrees(family);
  return static_cast<std::uint8_t>(get_odls_type_code(family.Degrees()));
}

std::uint8_t GetOdlsType(const TLatinSquare& square) {
  return OdlsTypeEngine().GetOdlsType(square);
}

}  // namespace dlslab
