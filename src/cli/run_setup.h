#pragma once

#include <unistd.h>

#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "batch/reporter.h"
#include "model/parse_number.h"

// What the long subcommands (batch, search) check and set up before they run, and how they
// report a wrong call.
namespace dlslab::cli {

/// Reports a wrong call of `dlslab-cli COMMAND` on err, with the way to its help; the exit
/// status of a wrong call.
inline int usage_error(std::ostream& err, const std::string& command, const std::string& message) {
  err << "dlslab-cli " << command << ": " << message << '\n'
      << "Try 'dlslab-cli " << command << " --help'.\n";
  return 2;
}

/// The first input (other than "-", standard input) that cannot be read, reported on err as
/// `dlslab-cli COMMAND: cannot read "NAME"`; false when there is one.
inline bool inputs_readable(std::span<const std::string> inputs, std::ostream& err,
                            std::string_view command) {
  for (const std::string& name : inputs) {
    if (name != "-" && ::access(name.c_str(), R_OK) != 0) {
      err << "dlslab-cli " << command << ": cannot read \"" << name << "\"\n";
      return false;
    }
  }
  return true;
}

/// The K and N of "--chunk K/N", or nullopt unless 1 <= K <= N.
inline std::optional<std::pair<unsigned, unsigned>> parse_chunk(std::string_view value) {
  const std::size_t slash = value.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto k = parse_number<unsigned>(value.substr(0, slash));
  const auto n = parse_number<unsigned>(value.substr(slash + 1));
  if (!k || !n || *k == 0 || *k > *n) return std::nullopt;
  return std::pair{*k, *n};
}

/// A progress line redrawn in place when err is the terminal's stderr, a line per refresh
/// with --progress elsewhere, none otherwise.
inline batch::Reporter::ProgressMode progress_mode(const std::ostream& err, bool progress) {
  if (&err == &std::cerr && ::isatty(STDERR_FILENO) == 1)
    return batch::Reporter::ProgressMode::kTerminal;
  return progress ? batch::Reporter::ProgressMode::kLines : batch::Reporter::ProgressMode::kNone;
}

}  // namespace dlslab::cli
