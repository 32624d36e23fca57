// dlslab-cli search as a grid runs it: separate processes, every instruction-set path, and
// runs killed without warning at random moments, then resumed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "batch/batch_test_files.h"
#include "model/isa_path.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

extern char** environ;

namespace dlslab::batch {
namespace {

using test::read_file;
using test::ScratchFolder;

pid_t start(const std::vector<std::string>& args, const std::string& err) {
  std::vector<std::string> words{DLSLAB_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit status, or 128 + the signal that ended the process.
int wait_for(pid_t pid) {
  int status = -1;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class SearchCli : public ::testing::Test {
 public:
  SearchCli() {
    // Random squares with a catalogue square now and then: hits all along the file.
    std::string text;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
      text += SquareToString(dlslab::test::random_dls(seed), false) + "\n";
      if (seed % 250 == 0) text += std::string(kSpecialSquares[seed / 250].digits) + "\n";
    }
    input = folder.write_file("squares.txt", text);
  }

  int run(std::vector<std::string> args) { return wait_for(start(args, folder.file_path("err"))); }

  ScratchFolder folder;
  std::string input;
};

TEST_F(SearchCli, TheSameBytesOnEveryPathAndThreadCount) {
  const std::string reference = folder.file_path("reference.tsv");
  ASSERT_EQ(run({"search", "--threads", "1", "--output", reference, "--input", input}), 0)
      << read_file(folder.file_path("err"));
  EXPECT_NE(read_file(reference).find("# end checked=3012 hits=12\n"), std::string::npos);
  for (const IsaPath path : supported_isa_paths()) {
    ::setenv("DLSLAB_ISA", std::string(isa_path_name(path)).c_str(), 1);
    for (const char* threads : {"1", "2"}) {
      SCOPED_TRACE(std::string(isa_path_name(path)) + " threads " + threads);
      const std::string out = folder.file_path("out.tsv");
      ASSERT_EQ(run({"search", "--threads", threads, "--output", out, "--input", input}), 0);
      EXPECT_EQ(read_file(out), read_file(reference));
      ASSERT_EQ(run({"search", "--threads", threads, "--output", out, "--seeds", "3:600"}), 0);
      if (path == supported_isa_paths().front() && threads[0] == '1')
        std::filesystem::copy_file(out, folder.file_path("seeds.tsv"));
      EXPECT_EQ(read_file(out), read_file(folder.file_path("seeds.tsv")));
    }
  }
  ::unsetenv("DLSLAB_ISA");
}

// Runs args to the end and returns how long that took.
std::chrono::milliseconds time_of(SearchCli& t, const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(t.run(args), 0) << read_file(t.folder.file_path("err"));
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                start);
}

// Stops a resumable run with `signal` at random moments until it completes; returns how many
// times it was stopped. The moments fall within `whole`, the time of an uninterrupted run, so
// that a fast machine is stopped as often as a slow one.
int stop_until_done(SearchCli& t, const std::vector<std::string>& args, int signal,
                    std::uint32_t seed, std::chrono::milliseconds whole) {
  std::mt19937 random(seed);
  const auto span = static_cast<std::uint32_t>(std::max<long long>(whole.count() * 3 / 4, 1));
  int stopped = 0;
  for (int round = 0; round < 40; ++round) {
    const pid_t pid = start(args, t.folder.file_path("err"));
    // The first stop comes at once, before the run can be over however fast the machine.
    if (round > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % span));
    ::kill(pid, signal);
    const int status = wait_for(pid);
    if (status == 0) return stopped;
    EXPECT_EQ(status, 128 + signal) << read_file(t.folder.file_path("err"));
    ++stopped;
  }
  return stopped;
}

TEST_F(SearchCli, KilledAtRandomMomentsAndResumedEndsWithTheSameFiles) {
  const std::string reference = folder.file_path("reference.tsv");
  const std::string reference_forms = folder.file_path("reference_forms.txt");
  const std::chrono::milliseconds run_time =
      time_of(*this, {"search", "--threads", "2", "--output", reference, "--forms",
                      reference_forms, "--input", input});
  for (const int signal : {SIGKILL, SIGINT}) {
    SCOPED_TRACE(signal == SIGKILL ? "kill -9" : "SIGINT");
    const std::string out = folder.file_path("out.tsv");
    const std::string forms = folder.file_path("forms.txt");
    std::filesystem::remove(out);
    const std::vector<std::string> args{"search",  "--threads", "2",        "--checkpoint",
                                        "0.01",    "--resume",  "--output", out,
                                        "--forms", forms,       "--input",  input};
    const int stopped = stop_until_done(*this, args, signal, 1234 + signal, run_time);
    EXPECT_GE(stopped, 1);
    if (!std::filesystem::exists(out))
      ASSERT_EQ(run(args), 0) << read_file(folder.file_path("err"));
    EXPECT_EQ(read_file(out), read_file(reference));
    EXPECT_EQ(read_file(forms), read_file(reference_forms));
    EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
  }
  // A generator's unit likewise, stopped by SIGTERM.
  const std::string whole = folder.file_path("whole.tsv");
  const std::chrono::milliseconds unit_time =
      time_of(*this, {"search", "--seeds", "1:1500", "--output", whole});
  const std::string out = folder.file_path("unit.tsv");
  const std::vector<std::string> args{"search", "--seeds",  "1:1500",   "--checkpoint",
                                      "0.01",   "--resume", "--output", out};
  stop_until_done(*this, args, SIGTERM, 99, unit_time);
  if (!std::filesystem::exists(out)) ASSERT_EQ(run(args), 0);
  EXPECT_EQ(read_file(out), read_file(whole));
}

TEST_F(SearchCli, UsageErrors) {
  EXPECT_EQ(run({"search"}), 2);
  EXPECT_EQ(run({"search", "--seeds", "12"}), 2);
  EXPECT_EQ(run({"search", "--generator", "nonesuch", "--seeds", "1:2"}), 2);
  EXPECT_EQ(run({"search", "--seeds", "4294967295:2"}), 2);
  EXPECT_EQ(run({"search", "--check", "--seeds", "4294967000:296"}), 0);
  EXPECT_EQ(run({"search", "--check", "--generator", "brown", "--seeds", "10000000000:5"}), 0);
  // switch: 2^32 runs of 1024 seeds, the last seed 2^42 - 1.
  EXPECT_EQ(run({"search", "--check", "--generator", "switch", "--seeds", "4398046511000:104"}), 0);
  EXPECT_EQ(run({"search", "--check", "--generator", "switch", "--seeds", "4398046511000:105"}), 2);
  EXPECT_EQ(run({"generate", "2", "--seed", "4294967295"}), 2);
  EXPECT_EQ(run({"search", "--seeds", "1:2", "--resume"}), 2);
  EXPECT_EQ(run({"merge", "--output", folder.file_path("m.tsv")}), 2);
  EXPECT_EQ(run({"merge", "--output", folder.file_path("m.tsv"), input}), 1);
}

}  // namespace
}  // namespace dlslab::batch
