#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dlslab::boinc {

/// What one BOINC work unit asks for: the search over a seed range of a generator, or over the
/// K-th of N chunks of an input file. Its text form, one setting per line ('#' starts a
/// comment line):
///
///     dlslab work unit
///     generator rsv3
///     seeds 1000000:500000
///
/// or, for a chunk of squares sent along as the input file whose logical name is given, with
/// the name the results call it (as dlslab-cli search --input NAME would; default: the
/// logical name):
///
///     dlslab work unit
///     input squares
///     name run7.txt
///     chunk 3/10
struct WorkUnit {
  std::string generator = "rsv3";
  std::uint64_t first_seed = 0;
  std::uint64_t seed_count = 0;
  std::string input;  ///< logical name of the input file; empty for a seed range
  std::string name;   ///< the input's name in the results
  unsigned chunk = 0;
  unsigned chunks = 0;

  [[nodiscard]] bool is_seed_range() const { return input.empty(); }
};

/// Reads a work unit's text; throws Error naming the line for anything it does not understand.
[[nodiscard]] WorkUnit parse_work_unit(std::string_view text);

}  // namespace dlslab::boinc
