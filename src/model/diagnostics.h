#pragma once

#include <ostream>

namespace dlslab {

/// The one stream the library writes progress and diagnostic lines to (stdout by default;
/// the CLI points it at stderr so that its results stay parseable). Flush after each line.
[[nodiscard]] std::ostream& Diag();

/// Redirects the diagnostics; nullptr drops them.
void SetDiagStream(std::ostream* stream);

}  // namespace dlslab
