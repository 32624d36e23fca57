#pragma once

#include <string>

#include "model/latin_square_class.h"
#include "analysis/status_text.h"

namespace dlslab::cmd {

/// The status-line text of the main window for the model's first square (see GetStatusText of
/// a square).
[[nodiscard]] std::string GetStatusText(const TLatinSquareClass& model);

}  // namespace dlslab::cmd
