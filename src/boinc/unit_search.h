#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "boinc/work_unit.h"
#include "model/progress.h"

namespace dlslab::boinc {

/// Where a unit's search stands after run_unit_search returned.
struct UnitProgress {
  bool complete = false;
  bool failed = false;
  std::string error;
  std::uint64_t done = 0;   ///< squares checked, earlier runs included
  std::uint64_t count = 0;  ///< squares in the unit; 0 when not known yet
  bool resumed = false;     ///< went on from what an earlier start left
};

/// Runs the search a unit asks for into `output` ("<output>.partial" until complete), the bytes
/// `dlslab-cli search` writes for the same squares. Resumes from the partial file if `resume`;
/// returns at a square boundary once `stop` is set. `input` is the input file's real name for a
/// unit of input squares (the results call it by the unit's name); `progress` counts the
/// squares checked, out of the unit's squares.
[[nodiscard]] UnitProgress run_unit_search(const WorkUnit& unit, const std::string& input,
                                           const std::string& output, bool resume,
                                           Progress& progress, const std::atomic<bool>& stop);

}  // namespace dlslab::boinc
