#pragma once

#include <ostream>
#include <span>
#include <string>

namespace dlslab::cli {

/// Runs `dlslab-cli` with the arguments after the program name. Log lines go to out,
/// messages and diagnostics to err. Returns the exit status: 0 ok, 1 a command failed,
/// 2 a usage error.
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace dlslab::cli
