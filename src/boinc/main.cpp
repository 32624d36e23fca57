// dlslab-boinc: one work unit of the ODLS search as a BOINC application, over a seed range of a
// generator or a chunk of an input file, writing what dlslab-cli search writes for it.
//
// The client starts it in a slot folder with the work-unit file and the result file under their
// logical names ("work_unit", "result", and a unit's input file under the name the unit gives;
// boinc_resolve_filename gives the real ones, which the results never show). The work
// runs into "unit.tsv" in the slot folder, whose partial file is the checkpoint: when it is time
// to checkpoint (the client's disk interval, or --checkpoint-seconds), the run is asked to stop
// at a square boundary and makes its partial file durable with the position reached; the
// checkpoint is reported and the run resumes from there. A task killed without warning resumes
// from its last checkpoint. A suspended task is
// stopped the same way and waits until it is resumed. When the unit is complete its output is
// copied to the result file: the same bytes on every machine and instruction-set path, so two
// results of one unit can be compared byte for byte.
//
// Without a client (standalone mode) the logical names are the file names themselves, so
//     dlslab-boinc [--checkpoint-seconds S] [WORK_UNIT [RESULT]]
// runs a unit in the current folder, and run again after a kill it resumes.
#include <boinc_api.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "boinc/unit_search.h"
#include "boinc/work_unit.h"
#include "model/error.h"
#include "model/file_output.h"
#include "model/parse_number.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kWorkingOutput = "unit.tsv";

struct Arguments {
  std::string work_unit = "work_unit";
  std::string result = "result";
  double checkpoint_seconds = 0;  // 0: the client's interval (60 s standalone)
};

Arguments parse_arguments(int argc, char** argv) {
  Arguments args;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--checkpoint-seconds" && i + 1 < argc) {
      const auto seconds = dlslab::parse_number<double>(argv[++i]);
      if (!seconds || !(*seconds > 0))
        throw dlslab::Error("--checkpoint-seconds needs a positive number of seconds");
      args.checkpoint_seconds = *seconds;
    } else if (!arg.starts_with("--")) {
      names.push_back(arg);
    } else {
      throw dlslab::Error("unknown option \"" + arg + "\"");
    }
  }
  if (names.size() > 2) throw dlslab::Error("at most a work unit and a result file");
  if (!names.empty()) args.work_unit = names[0];
  if (names.size() > 1) args.result = names[1];
  return args;
}

std::string resolve(const std::string& logical) {
  std::string physical;
  if (boinc_resolve_filename_s(logical.c_str(), physical) != 0)
    throw dlslab::Error("cannot resolve the file name \"" + logical + "\"");
  return physical;
}

std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw dlslab::Error("cannot read \"" + name + "\"");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Asks the search to stop when it is time to checkpoint or the client suspends the task, and
// reports the fraction done, from a thread of its own so that the search needs no hook for it.
class StopRequester {
 public:
  StopRequester(double checkpoint_seconds, const dlslab::Progress& progress)
      : checkpoint_seconds_(checkpoint_seconds > 0       ? checkpoint_seconds
                            : boinc_is_standalone() != 0 ? 60.0
                                                         : 0),
        progress_(progress),
        thread_([this] { watch(); }) {}
  ~StopRequester() {
    done_.store(true);
    thread_.join();
  }

  [[nodiscard]] const std::atomic<bool>& stop() const { return stop_; }
  /// Called once the search has stopped: reports a checkpoint, waits out a suspension.
  void stopped() {
    if (checkpoint_due_.exchange(false)) boinc_checkpoint_completed();
    BOINC_STATUS status{};
    while (boinc_get_status(&status) == 0 && status.suspended && !status.quit_request &&
           !status.abort_request)
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    last_checkpoint_.store(Clock::now().time_since_epoch().count());
    stop_.store(false);
  }

 private:
  void watch() {
    while (!done_.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      // The unit's squares (a seed range, or an input chunk once counted) and those done.
      if (const dlslab::Progress::Snapshot now = progress_.read(); now.total > 0)
        boinc_fraction_done(static_cast<double>(now.done) / static_cast<double>(now.total));
      if (stop_.load()) continue;
      BOINC_STATUS status{};
      if (boinc_get_status(&status) == 0 && status.suspended) {
        stop_.store(true);
      } else if (checkpoint_seconds_ > 0
                     ? std::chrono::duration<double>(
                           Clock::now() -
                           Clock::time_point(Clock::duration(last_checkpoint_.load())))
                               .count() >= checkpoint_seconds_
                     : boinc_time_to_checkpoint() != 0) {
        checkpoint_due_.store(true);
        stop_.store(true);
      }
    }
  }

  const double checkpoint_seconds_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<bool> checkpoint_due_{false};
  const dlslab::Progress& progress_;
  std::atomic<Clock::rep> last_checkpoint_{Clock::now().time_since_epoch().count()};
  std::thread thread_;
};

int run(const Arguments& args) {
  const dlslab::boinc::WorkUnit unit =
      dlslab::boinc::parse_work_unit(read_file(resolve(args.work_unit)));
  const std::string result = resolve(args.result);
  std::string input;
  if (!unit.is_seed_range()) input = resolve(unit.input);

  // A unit that completed before its task was stopped only needs its result written again.
  if (std::filesystem::exists(kWorkingOutput)) {
    if (result != kWorkingOutput) dlslab::write_file_atomically(result, read_file(kWorkingOutput));
    return 0;
  }
  dlslab::Progress progress;
  StopRequester stopper(args.checkpoint_seconds, progress);
  bool resume = true;  // with nothing left by an earlier start, the run begins anew
  bool first = true;
  for (;;) {
    const dlslab::boinc::UnitProgress state = dlslab::boinc::run_unit_search(
        unit, input, kWorkingOutput, resume, progress, stopper.stop());
    if (state.failed) throw dlslab::Error(state.error);
    if (first && state.resumed) std::cerr << "dlslab-boinc: resuming from the last checkpoint\n";
    first = false;
    if (state.count > 0) boinc_fraction_done(static_cast<double>(state.done) / state.count);
    if (state.complete) break;
    stopper.stopped();
  }
  if (result != kWorkingOutput) dlslab::write_file_atomically(result, read_file(kWorkingOutput));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = boinc_init(); status != 0) {
    std::cerr << "dlslab-boinc: boinc_init failed with " << status << '\n';
    return 1;
  }
  int status = 1;
  try {
    status = run(parse_arguments(argc, argv));
  } catch (const std::exception& e) {
    std::cerr << "dlslab-boinc: " << e.what() << '\n';
  }
  boinc_finish(status);  // does not return
  return status;
}
