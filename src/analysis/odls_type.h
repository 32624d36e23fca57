#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "collection/squares_collection.h"
#include "cover/odls.h"
#include "cover/transversals.h"
#include "model/types.h"

namespace dlslab {

/// One line of the type table: the ascending degree list of a family, one character per member
/// ('0'..'9', 'A'..'Z'), and the index of its name in SpecialTypeNames.
struct OdlsTypeSignature {
  std::string_view signature;
  int code;
};

/// The signatures in the order they are tried; the first match wins.
extern const std::array<OdlsTypeSignature, 35> kOdlsTypeSignatures;
/// The code of a family that matches no signature: "UNKNOWN (?)".
inline constexpr int kUnknownOdlsType = 47;

/// The type code of a family whose degrees, in ascending order, are `sorted_degrees`.
[[nodiscard]] int get_odls_type_code(const TDegreesArr& sorted_degrees);

/// The items of a that equal some item of b, in a's order (an item equal to several items of
/// b is listed once per match).
[[nodiscard]] TTransversalsTable GetCommonTransversals(const TTransversalsTable& a,
                                                       const TTransversalsTable& b);
/// The same list through a sorted copy of b instead of comparing every pair.
[[nodiscard]] TTransversalsTable get_common_transversals_fast(const TTransversalsTable& a,
                                                           const TTransversalsTable& b);

/// Names the structure of a DLS's ODLS family by a type code (an index of SpecialTypeNames).
/// Holds its mate engine and work collection; one per thread.
class OdlsTypeEngine {
 public:
  /// The type of the family of the complete order-10 DLS `square`: its closure under mates is
  /// built with the fast mate search (the family as a set does not depend on the order its
  /// members are found in), and the degrees are the members' mate counts. Any other square
  /// takes the literal route.
  [[nodiscard]] std::uint8_t GetOdlsType(const TLatinSquare& square);
  /// The same code by the literal route: the family built member by member with the
  /// exact-cover mate search and the degrees by orthogonality defects.
  [[nodiscard]] std::uint8_t get_odls_type_literal(const TLatinSquare& square);

 private:
  OdlsSearch search_;
};

/// GetOdlsType on a fresh engine.
[[nodiscard]] std::uint8_t GetOdlsType(const TLatinSquare& square);

}  // namespace dlslab
