#pragma once

#include <string>

#include "analysis/status_text.h"
#include "model/latin_square_class.h"

namespace dlslab::cmd {

/// The status-line text of the main window for the model's first square (see get_status_text of
/// a square).
[[nodiscard]] std::string get_status_text(const TLatinSquareClass& model);

}  // namespace dlslab::cmd
