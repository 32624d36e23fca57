#pragma once

#include <array>
#include <string_view>

namespace dlslab {

/// Names of the combinatorial types of ODLS families, by type code; 47 is "UNKNOWN (?)".
extern const std::array<std::string_view, 48> SpecialTypeNames;

/// An embedded example square of order 10.
struct SpecialSquare {
  std::string_view caption;    ///< menu caption
  std::string_view handler;    ///< name of the menu handler
  std::string_view type_name;  ///< the family type the caption stands for; empty for "XO=74"
  std::string_view digits;     ///< 100-digit string, first row 0..9
};

/// The twenty embedded squares in menu order ("XO=74" last, after a separator).
extern const std::array<SpecialSquare, 20> kSpecialSquares;

}  // namespace dlslab
