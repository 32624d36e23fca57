#pragma once

#include <ostream>
#include <span>
#include <string>

namespace dlslab::cli {

/// `dlslab-cli search ...`: the ODLS search over a generator's seed range or over files.
/// Returns 0 when complete, 1 on an error, 2 on a usage error, 130 / 143 when stopped by
/// SIGINT / SIGTERM (the partial output kept for --resume).
int search_main(std::span<const std::string> args, std::ostream& out, std::ostream& err);

/// `dlslab-cli merge ...`: joins the outputs of search units into one run's output.
int merge_main(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace dlslab::cli
