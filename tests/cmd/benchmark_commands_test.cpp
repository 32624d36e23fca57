#include "cmd/benchmark_commands.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../bench/bench_test_folder.h"
#include "bench/benchmark_runner.h"
#include "bench/process.h"
#include "model/error.h"

namespace dlslab::cmd {
namespace {

namespace fs = std::filesystem;

/// Runs the commands with stand-in test programs, in a folder of their own as the current one.
class BenchmarkCommands : public ::testing::Test {
 protected:
  BenchmarkCommands() : scripts_("cmd"), previous_(fs::current_path()) {
    fs::create_directories(scripts_.path() / "work");
    fs::current_path(scripts_.path() / "work");
    ctx_.test_program_folder = scripts_.program_folder();
    ctx_.process_events = [this] { ++events_; };
  }
  ~BenchmarkCommands() override { fs::current_path(previous_); }

  static std::string read_file(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  ScriptFolder scripts_;
  fs::path previous_;
  Context ctx_;
  int events_ = 0;
};

TEST_F(BenchmarkCommands, GenerationLogsItsRoundsAndWritesTheirRates) {
  scripts_.add_script("runa9", "exit 0");
  GenerateDls9MenuItemClick(ctx_);
  const int p = GetProcessorsCount();
  const auto& log = ctx_.log.lines();
  ASSERT_EQ(log.size(), static_cast<std::size_t>(2 * p + 3));
  EXPECT_EQ(log[0], "Base test");
  EXPECT_EQ(log[1], std::to_string(p) + " processors found, " + std::to_string(2 * p) +
                        " tests will be launched");
  EXPECT_EQ(log.back(), "OK");
  EXPECT_GT(events_, 0);

  const std::string bytes = read_file("runa9.dat");
  ASSERT_EQ(bytes.size(), 45u + 8u * static_cast<unsigned>(2 * p));
  EXPECT_EQ(bytes[0], 31);
  EXPECT_EQ(bytes.substr(1, 32), std::string("FP data file (c) morvasti, 2015") + '\0');
  std::int32_t header[3];
  std::memcpy(header, bytes.data() + 33, sizeof header);
  EXPECT_EQ(header[0], 0);
  EXPECT_EQ(header[1], 2 * p);
  EXPECT_EQ(header[2], 1);
  for (int k = 1; k <= 2 * p; ++k) {
    double rate = 0;
    std::memcpy(&rate, bytes.data() + 45 + 8 * (k - 1), 8);
    EXPECT_EQ(log[1 + k],
              std::to_string(k) + " thread(s): " + format_benchmark_rate(rate) + "k DLS/s");
  }
}

TEST_F(BenchmarkCommands, EachCommandStartsItsOwnProgramUnderItsOwnNames) {
  scripts_.add_script("runa9pgo", "exit 0");
  scripts_.add_script("runb10", "exit 0");
  GenerateDls9PgoMenuItemClick(ctx_);
  EXPECT_EQ(ctx_.log.lines().front(), "PGO test");
  EXPECT_TRUE(fs::exists("runa9pgo.dat"));
  ctx_.log.Clear();
  ODLS10DLXGenClick(ctx_);
  EXPECT_EQ(ctx_.log.lines().front(), "Base test");
  EXPECT_TRUE(ctx_.log.lines()[2].ends_with(" DLS/s"));
  EXPECT_FALSE(ctx_.log.lines()[2].ends_with("k DLS/s"));
  EXPECT_TRUE(fs::exists("runb10.dat"));
}

TEST_F(BenchmarkCommands, MissingProgramFailsWithTheClearLineAndNoDataFile) {
  const std::string line = "Test program runb10 could not be started from \"" +
                           scripts_.program_folder() + "runb10\": No such file or directory";
  try {
    ODLS10DLXGenClick(ctx_);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), line);
  }
  EXPECT_EQ(ctx_.log.lines().back(), line);
  EXPECT_FALSE(fs::exists("runb10.dat"));
}

TEST_F(BenchmarkCommands, ProgramExitingNonZeroFailsAndLeavesAnOldDataFileAlone) {
  scripts_.add_script("runa9", "exit 2");
  std::ofstream("runa9.dat") << "old";
  EXPECT_THROW(GenerateDls9MenuItemClick(ctx_), Error);
  EXPECT_EQ(read_file("runa9.dat"), "old");
  EXPECT_NE(ctx_.log.lines().back().find("exited with code 2"), std::string::npos);
}

}  // namespace
}  // namespace dlslab::cmd
