#pragma once

#include <ostream>
#include <span>
#include <string>

namespace dlslab::cli {

/// `dlslab-cli batch ...` with the arguments after "batch": one operation over every square of
/// the inputs. Results go to out (or the --output file), messages and the summary to err.
/// Returns 0 when complete, 1 on an error (or an unreadable input with --strict), 2 on a usage
/// error, 130 / 143 when stopped by SIGINT / SIGTERM.
int batch_main(std::span<const std::string> args, std::ostream& out, std::ostream& err);

/// `dlslab-cli generate N ...`: N random DLS of order 10 as digit-string lines.
int generate_main(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace dlslab::cli
