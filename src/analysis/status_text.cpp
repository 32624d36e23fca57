#include "analysis/status_text.h"

#include <cmath>
#include <cstdio>

#include "canon/canonical_forms.h"
#include "model/ls_data_structs.h"
#include "model/parse_number.h"
#include "transform/square_properties.h"

namespace dlslab {

bool is_correct_square(const TLatinSquare& square) {
  // IsFilled looks at the 10 x 10 corner only, so a larger square needs the order test.
  // The pairwise test lets a value outside 0..9 through; the property tests index by value.
  return square.order() == kOrder && IsFilled(square) && IsDiagonalLatin(square) &&
         holds_only_valid_values(square);
}

std::vector<std::string_view> get_property_labels(const TLatinSquare& square) {
  CanonEngine canon;
  return get_property_labels(square, canon);
}

std::vector<std::string_view> get_property_labels(const TLatinSquare& square, CanonEngine& canon) {
  using Test = bool (*)(const TLatinSquare&);
  struct Property {
    std::string_view label;
    Test test;
  };
  static constexpr Property kProperties[] = {
      {"HORZ_SYMM", IsHorzSymmetric},
      {"VERT_SYMM", IsVertSymmetric},
      {"CLW_SYMM", IsClockwiseSymmetric},
      {"CPT_SYMM", IsCentralSymmetric},
      {"STR_INV", IsStrInv},
      {"COL_INV", IsColInv},
      {"TRANS_SELF_ORT", IsTransSelfOrt},
      {"ANTI_TRANS_SELF_ORT", IsAntiTransSelfOrt},
      {"RIGHT_ROT_SELF_ORT", IsRightRotSelfOrt},
      {"LEFT_ROT_SELF_ORT", IsLeftRotSelfOrt},
      {"FLIP_HORZ_SELF_ORT", IsFlipHorzSelfOrt},
      {"FLIP_VERT_SELF_ORT", IsFlipVertSelfOrt},
      {"PANDIAG", IsPandiagonal},
      {"ASSOC", IsAssociative},
  };
  std::vector<std::string_view> labels;
  for (const Property& p : kProperties)
    if (p.test(square)) labels.push_back(p.label);
  if (canon.IsCanonicalForm(square)) labels.push_back("CF");
  return labels;
}

std::string get_status_text(const TLatinSquare& square) {
  CanonEngine canon;
  return get_status_text(square, canon);
}

std::string get_status_text(const TLatinSquare& square, CanonEngine& canon) {
  if (!is_correct_square(square)) return "";
  std::string text;
  for (const std::string_view label : get_property_labels(square, canon)) {
    // Every tag but the first property's carries a leading blank, also when that one is absent.
    if (label != "HORZ_SYMM") text += ' ';
    text += label;
  }
  text += " HSI=" + std::to_string(GetHorzSymmetryIndex(square));
  text += " VSI=" + std::to_string(GetVertSymmetryIndex(square));
  text += " CSI=" + std::to_string(GetCentralSymmetryIndex(square));
  text += ' ' + format_general15(GetSquareNumber(square));
  return text;
}

std::string format_general15(double v) {
  if (v == 0) return "0";
  if (!std::isfinite(v)) return std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF");
  // Round to 15 significant digits once; the exponent after rounding picks the notation.
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
  std::string digits;  // the significant digits, trailing zeros dropped
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  const int exponent = printf_exponent(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = v < 0 ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    text += digits[0];
    if (digits.size() > 1) text += '.' + digits.substr(1);
    text += 'E' + std::to_string(exponent);
  } else if (exponent < 0) {
    text += "0." + std::string(-exponent - 1, '0') + digits;
  } else {
    const std::size_t whole = exponent + 1;
    if (digits.size() <= whole) {
      text += digits + std::string(whole - digits.size(), '0');
    } else {
      text += digits.substr(0, whole) + '.' + digits.substr(whole);
    }
  }
  return text;
}

}  // namespace dlslab
