// A unit's work is the ODLS search over its squares, run on one thread (a BOINC task gets one
// processor, and suspending the task must stop all of its work). The search stops at a square
// boundary on request, making its partial file durable, and resumes from it: the application's
// checkpoints rest on that.
#include "boinc/unit_search.h"

#include <sstream>

#include "batch/search.h"

namespace dlslab::boinc {

UnitProgress run_unit_search(const WorkUnit& unit, const std::string& input,
                             const std::string& output, bool resume, Progress& progress,
                             const std::atomic<bool>& stop) {
  UnitProgress result;
  batch::SearchUnit search;
  if (unit.is_seed_range()) {
    search.generator = unit.generator;
    search.first = unit.first_seed;
    search.count = unit.seed_count;
    result.count = unit.seed_count;
  } else {
    search.inputs = {input};
    search.input_names = {unit.name};
    search.chunk = unit.chunk;
    search.chunks = unit.chunks;
  }
  batch::SearchOptions options;
  options.threads = 1;
  options.output = output;
  options.resume = resume;
  // Between the application's own checkpoints the partial file is made durable once a minute
  // at most, as BOINC asks of applications.
  options.checkpoint_seconds = 60;
  options.progress = &progress;
  std::ostringstream unused_output;
  std::ostringstream messages;
  batch::Reporter reporter(messages, batch::Reporter::ProgressMode::kNone);
  const batch::SearchSummary summary =
      batch::run_search(search, options, unused_output, reporter, stop);
  result.complete = summary.end == batch::SearchSummary::End::kComplete;
  result.failed = summary.end == batch::SearchSummary::End::kFailed;
  result.error = summary.error;
  result.done = summary.checked;
  result.resumed = resume && summary.resumed > 0;
  if (!unit.is_seed_range()) result.count = progress.read().total;
  return result;
}

}  // namespace dlslab::boinc
