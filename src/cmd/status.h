#pragma once

#include <string>

#include "model/latin_square_class.h"

namespace dlslab::cmd {

/// The status-line text of the main window for the model's first square: empty unless it is a
/// complete order-10 DLS, else its property tags, the three symmetry indices and its number.
[[nodiscard]] std::string GetStatusText(const TLatinSquareClass& model);

/// v in the general format with at most 15 significant digits: trailing zeros dropped, fixed
/// notation for 0 and for magnitudes in [1E-5, 1E15), otherwise "d.dddE[-]x".
[[nodiscard]] std::string FormatGeneral15(double v);

}  // namespace dlslab::cmd
