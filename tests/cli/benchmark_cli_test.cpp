// The benchmarks as the user meets them: the test programs built next to dlslab-cli (and the
// window), and dlslab-cli started from a folder that lacks them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

#include "bench/process.h"

namespace dlslab {
namespace {

namespace fs = std::filesystem;

const fs::path kCliFolder = fs::path(DLSLAB_CLI_PATH).parent_path();

struct Output {
  int status;
  std::string out;
};

/// Runs a shell command in folder, stdout captured, stderr dropped.
Output run_shell(const fs::path& folder, const std::string& command) {
  const fs::path out = fs::temp_directory_path() / ("dlslab_bench_out_" + std::to_string(getpid()));
  const std::string line =
      "cd '" + folder.string() + "' && " + command + " >'" + out.string() + "' 2>/dev/null";
  const int status = std::system(line.c_str());
  std::ifstream in(out);
  std::string text{std::istreambuf_iterator<char>(in), {}};
  fs::remove(out);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

bool is_diagonal_latin_of_order9(const std::string& s) {
  if (s.size() != 81) return false;
  auto cell = [&s](int r, int c) { return s[9 * r + c] - '0'; };
  for (int i = 0; i < 9; ++i) {
    unsigned row = 0, column = 0;
    for (int j = 0; j < 9; ++j) {
      if (cell(i, j) < 0 || cell(i, j) > 8) return false;
      row |= 1u << cell(i, j);
      column |= 1u << cell(j, i);
    }
    if (row != 0x1ff || column != 0x1ff) return false;
  }
  unsigned main = 0, anti = 0;
  for (int i = 0; i < 9; ++i) {
    main |= 1u << cell(i, i);
    anti |= 1u << cell(i, 8 - i);
  }
  return main == 0x1ff && anti == 0x1ff;
}

TEST(TestPrograms, LieNextToTheCliAndTheWindow) {
  std::vector<fs::path> folders{kCliFolder};
  if (fs::exists(kCliFolder / "app" / "dlslab")) folders.push_back(kCliFolder / "app");
  for (const fs::path& folder : folders)
    for (const char* name : {"runa9", "runa9pgo", "runb10"})
      EXPECT_EQ(access((folder / name).c_str(), X_OK), 0) << (folder / name);
}

TEST(TestPrograms, Runa9GeneratesDistinctDiagonalLatinSquaresFromTheFixedRow) {
  const Output run = run_shell(kCliFolder, "./runa9 3000 --print");
  ASSERT_EQ(run.status, 0);
  std::istringstream lines(run.out);
  std::set<std::string> squares;
  std::string line;
  while (std::getline(lines, line) && !line.starts_with("runa9:")) {
    EXPECT_TRUE(is_diagonal_latin_of_order9(line)) << line;
    EXPECT_TRUE(line.starts_with("012345678")) << line;
    squares.insert(line);
  }
  EXPECT_EQ(squares.size(), 3000u);
  EXPECT_TRUE(line.starts_with("runa9: 3000 squares, checksum ")) << line;
}

TEST(TestPrograms, PgoBuildDoesTheSameWork) {
  const Output plain = run_shell(kCliFolder, "./runa9 20000");
  const Output pgo = run_shell(kCliFolder, "./runa9pgo 20000");
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(pgo.status, 0);
  // Same squares and checksum; only the seconds differ.
  EXPECT_EQ(plain.out.substr(0, plain.out.rfind(',')), pgo.out.substr(0, pgo.out.rfind(',')));
}

TEST(TestPrograms, Runb10SearchesItsSquares) {
  const Output run = run_shell(kCliFolder, "./runb10 4");
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("runb10: 4 squares searched, ")) << run.out;
}

TEST(BenchmarkCli, WithoutTheTestProgramsNamesThePathAndWritesNoDataFile) {
  const fs::path folder =
      fs::temp_directory_path() / ("dlslab_bench_cli_" + std::to_string(getpid()));
  fs::create_directories(folder);
  fs::copy_file(DLSLAB_CLI_PATH, folder / "dlslab-cli");
  const Output run = run_shell(folder, "./dlslab-cli 'DLS of order 9 generation...'");
  const int p = GetProcessorsCount();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "Base test\n" + std::to_string(p) + " processors found, " + std::to_string(2 * p) +
                " tests will be launched\nTest program runa9 could not be started from \"" +
                folder.string() + "/runa9\": No such file or directory\n");
  EXPECT_FALSE(fs::exists(folder / "runa9.dat"));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace dlslab
