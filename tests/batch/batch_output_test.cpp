// What a batch run leaves when its output cannot be written: the failure is reported, and the
// partial file an earlier run left is not replaced by a damaged one.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch/batch_run.h"
#include "batch/batch_test_files.h"
#include "file_faults.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab::batch {
namespace {

using test::read_file;
using test::ScratchFolder;
namespace fs = std::filesystem;

struct Outcome {
  BatchSummary summary;
  std::string line;  // the summary line
};

Outcome run_on(const BatchOptions& options) {
  std::ostringstream out;
  std::ostringstream err;
  Reporter reporter(err, Reporter::ProgressMode::kNone);
  const std::atomic<bool> stop{false};
  Outcome outcome;
  outcome.summary = run_batch(options, out, reporter, stop);
  outcome.line = summary_line(options, outcome.summary);
  dlslab::test::clear_file_faults();
  return outcome;
}

std::size_t files_in(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

class BatchOutputFailure : public ::testing::Test {
 protected:
  BatchOutputFailure() {
    std::string half;
    std::string all;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
      const std::string square = SquareToString(dlslab::test::random_dls(seed), false);
      if (seed <= 20) half += square + "\n";
      all += square + "\n";
    }
    half_ = folder_.write_file("half.txt", half);
    all_ = folder_.write_file("all.txt", all);
    fs::create_directory(out_dir_);
  }

  /// Options of a cf or validate run over every square into out/result, resuming.
  BatchOptions options_for(Operation operation) const {
    BatchOptions options;
    options.operation = operation;
    options.inputs = {all_};
    options.output = (out_dir_ / "result").string();
    options.threads = 2;
    options.resume = true;
    return options;
  }

  /// The partial file of a run over the first half, as an interrupted run leaves it.
  std::string earlier_partial(Operation operation) const {
    BatchOptions options = options_for(operation);
    options.inputs = {half_};
    options.resume = false;
    EXPECT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
    fs::rename(options.output, options.output + ".partial");
    return read_file(options.output + ".partial");
  }

  ScratchFolder folder_;
  fs::path out_dir_ = fs::path(folder_.file_path("out"));
  std::string half_;
  std::string all_;
};

TEST_F(BatchOutputFailure, AFailedFormsWriteKeepsThePartialFileItResumedFrom) {
  const BatchOptions options = options_for(Operation::kCf);
  const std::string partial = options.output + ".partial";
  struct Fault {
    const char* step;
    std::function<std::shared_ptr<void>()> arrange;
  };
  const std::vector<Fault> faults{
      {"write", [] { return std::make_shared<dlslab::test::FileSizeLimit>(100); }},
      {"fsync",
       [] {
         dlslab::test::fail_next_fsync(EIO, ".result.partial.tmp");
         return std::make_shared<int>(0);
       }},
      {"close",
       [] {
         dlslab::test::fail_next_close(EIO, ".result.partial.tmp");
         return std::make_shared<int>(0);
       }},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.step);
    const std::string earlier = earlier_partial(Operation::kCf);
    Outcome outcome;
    {
      const std::shared_ptr<void> arranged = fault.arrange();
      outcome = run_on(options);
    }
    EXPECT_EQ(outcome.summary.end, BatchSummary::End::kFailed);
    EXPECT_NE(outcome.line.find("failed: cannot write " + partial + ": " + fault.step),
              std::string::npos)
        << outcome.line;
    EXPECT_TRUE(read_file(partial) == earlier);
    EXPECT_FALSE(fs::exists(options.output));
    EXPECT_EQ(files_in(out_dir_), 1u);
  }
  // Without the fault the same resume completes it.
  EXPECT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
  EXPECT_EQ(files_in(out_dir_), 1u);
}

TEST_F(BatchOutputFailure, AFolderInTheWayOfTheResultKeepsTheCompleteResultsUnderThePartialName) {
  for (const Operation operation : {Operation::kCf, Operation::kValidate}) {
    SCOPED_TRACE(std::string(operation_name(operation)));
    BatchOptions options = options_for(operation);
    options.resume = false;
    const std::string complete = [&] {
      BatchOptions elsewhere = options;
      elsewhere.output = folder_.file_path("reference");
      EXPECT_EQ(run_on(elsewhere).summary.end, BatchSummary::End::kComplete);
      return read_file(elsewhere.output);
    }();
    fs::create_directory(options.output);
    const Outcome outcome = run_on(options);
    EXPECT_EQ(outcome.summary.end, BatchSummary::End::kFailed);
    EXPECT_NE(outcome.line.find("failed: "), std::string::npos) << outcome.line;
    EXPECT_TRUE(fs::is_directory(options.output));
    EXPECT_EQ(read_file(options.output + ".partial"), complete);
    // Once the folder is gone, a resume puts the results in place.
    fs::remove(options.output);
    options.resume = true;
    const Outcome resumed = run_on(options);
    EXPECT_EQ(resumed.summary.end, BatchSummary::End::kComplete) << resumed.line;
    EXPECT_EQ(read_file(options.output), complete);
    fs::remove(options.output);
  }
}

TEST_F(BatchOutputFailure, AFullDeviceOrAFolderThatTakesNoFileFailsTheRun) {
  BatchOptions options = options_for(Operation::kValidate);
  options.resume = false;
  const std::string partial = options.output + ".partial";
  fs::create_symlink("/dev/full", partial);
  const Outcome full = run_on(options);
  EXPECT_EQ(full.summary.end, BatchSummary::End::kFailed);
  EXPECT_NE(full.line.find("failed: cannot write " + partial + ": write: "), std::string::npos)
      << full.line;
  EXPECT_FALSE(fs::exists(options.output));
  fs::remove(partial);

  for (const Operation operation : {Operation::kCf, Operation::kValidate}) {
    const dlslab::test::LockedFolder lock(out_dir_);
    if (!lock.ok()) GTEST_SKIP() << "this user can create files in any folder";
    options.operation = operation;
    const Outcome locked = run_on(options);
    EXPECT_EQ(locked.summary.end, BatchSummary::End::kFailed) << operation_name(operation);
    EXPECT_EQ(locked.summary.read, 0u);  // refused before any work
    EXPECT_NE(locked.line.find("failed: cannot write " + partial + ": open: "), std::string::npos)
        << locked.line;
  }
  EXPECT_EQ(files_in(out_dir_), 0u);
}

}  // namespace
}  // namespace dlslab::batch
