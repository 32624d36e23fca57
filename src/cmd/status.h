#pragma once

#include <string>

#include "model/latin_square_class.h"

namespace dlslab::cmd {

/// The status-line text of the main window for the model's first square.
[[nodiscard]] std::string GetStatusText(const TLatinSquareClass& model);

}  // namespace dlslab::cmd
