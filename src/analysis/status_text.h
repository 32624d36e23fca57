#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/types.h"

namespace dlslab {

class CanonEngine;

/// A complete diagonal Latin square of order 10: the only kind whose properties are shown.
[[nodiscard]] bool is_correct_square(const TLatinSquare& square);
/// Labels of the properties a correct square has, in display order ("HORZ_SYMM" ... "CF").
[[nodiscard]] std::vector<std::string_view> get_property_labels(const TLatinSquare& square);
/// The same labels, the canonical-form test run on the caller's engine.
[[nodiscard]] std::vector<std::string_view> get_property_labels(const TLatinSquare& square,
                                                              CanonEngine& canon);

/// The status-line text of a square: empty unless it is a complete order-10 DLS, else its
/// property tags, the three symmetry indices and its number.
[[nodiscard]] std::string get_status_text(const TLatinSquare& square);
/// The same text, the canonical-form test run on the caller's engine (one per thread).
[[nodiscard]] std::string get_status_text(const TLatinSquare& square, CanonEngine& canon);

/// v in the general format with at most 15 significant digits: trailing zeros dropped, fixed
/// notation for 0 and for magnitudes in [1E-5, 1E15), otherwise "d.dddE[-]x".
[[nodiscard]] std::string format_general15(double v);

}  // namespace dlslab
