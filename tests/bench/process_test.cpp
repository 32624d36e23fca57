#include "bench/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "bench/bench_test_folder.h"
#include "model/progress.h"

namespace dlslab {
namespace {

TEST(GetProcessorsCount, IsTheOnlineCount) {
  EXPECT_GE(GetProcessorsCount(), 1);
  EXPECT_EQ(GetProcessorsCount(), static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)));
}

TEST(GetExecutableFolder, IsTheFolderOfThisProgram) {
  const std::string folder = get_executable_folder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder + "dlslab_tests"));
}

TEST(LaunchProcess, ChildHasItsOwnGroupAndOnlyTheStandardDescriptors) {
  const ScriptFolder scripts("launch");
  // A descriptor this process leaks on purpose (no close-on-exec), at a number no shell uses.
  const int leaked = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(leaked, 0);
  ASSERT_EQ(::dup2(leaked, 37), 37);
  const std::string script = scripts.add_script(
      "probe", "[ -e /proc/$$/fd/37 ] && exit 1\n[ -e /proc/$$/fd/2 ] || exit 2\nexec sleep 0.3");
  const LaunchedProcess child = LaunchProcess(script);
  ASSERT_GT(child.pid, 0) << child.error;
  EXPECT_EQ(::getpgid(child.pid), child.pid);
  int status = 0;
  ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ::close(37);
  ::close(leaked);
}

TEST(LaunchProcess, MissingProgramGivesNoProcessAndAReason) {
  const LaunchedProcess child = LaunchProcess("/nonexistent-folder/runa9");
  EXPECT_EQ(child.pid, 0);
  EXPECT_EQ(child.error, "No such file or directory");
}

/// The process is gone or a zombie waiting for whoever adopted it.
bool has_ended(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(stat, text)) return true;
  const std::size_t close = text.rfind(')');
  return close == std::string::npos || text.substr(close + 2, 1) == "Z";
}

bool ends_within(pid_t pid, std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!has_ended(pid)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

/// The processes whose parent is `parent`.
std::vector<pid_t> children_of(pid_t parent) {
  std::vector<pid_t> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string text;
    if (!std::getline(stat, text)) continue;
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(text.substr(close + 2));
    char state = 0;
    pid_t ppid = 0;
    rest >> state >> ppid;
    if (ppid == parent && state != 'Z') children.push_back(std::stoi(name));
  }
  return children;
}

TEST(LaunchProcess, ChildEndsWithTheThreadThatStartedIt) {
  const ScriptFolder scripts("orphan");
  const std::string script = scripts.add_script("test", "exec sleep 30");
  LaunchedProcess child;
  std::thread([&child, &script] { child = LaunchProcess(script); }).join();
  ASSERT_GT(child.pid, 0) << child.error;
  int status = 0;
  ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
}

TEST(RunTestsInParallel, KilledCliLeavesNoCopyRunning) {
  const ScriptFolder work("killed_cli");
  const pid_t cli = ::fork();
  ASSERT_GE(cli, 0);
  if (cli == 0) {
    if (::chdir(work.program_folder().c_str()) != 0) ::_exit(126);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execl(DLSLAB_CLI_PATH, DLSLAB_CLI_PATH, "ODLS of order 10 search (DLX v2)...", nullptr);
    ::_exit(127);
  }
  std::vector<pid_t> copies;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (copies.empty() && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    copies = children_of(cli);
  }
  ::kill(cli, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(cli, &status, 0), cli);
  ASSERT_FALSE(copies.empty()) << "the benchmark started no copy";
  for (const pid_t copy : copies) EXPECT_TRUE(ends_within(copy, std::chrono::seconds(5))) << copy;
}

TEST(RunTestsInParallel, WaitsForMoreThanSixtyFourCopies) {
  const ScriptFolder scripts("many");
  const std::string counter = (scripts.path() / "count").string();
  const std::string script = scripts.add_script("test", "echo x >> '" + counter + "'");
  const ParallelRunResult result = RunTestsInParallel(script, 70);
  ASSERT_TRUE(result.ok()) << result.message;
  std::ifstream in(counter);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  EXPECT_EQ(lines, 70);
}

TEST(RunTestsInParallel, FailingCopiesFailTheRound) {
  const ScriptFolder scripts("fail");
  const std::string exits = scripts.add_script("exits", "exit 3");
  EXPECT_EQ(RunTestsInParallel(exits, 2).message,
            "Test program exits (\"" + exits + "\") exited with code 3");
  const std::string killed = scripts.add_script("killed", "kill -9 $$");
  EXPECT_EQ(RunTestsInParallel(killed, 1).message,
            "Test program killed (\"" + killed + "\") was killed by signal 9");
  const std::string missing = scripts.program_folder() + "runb10";
  EXPECT_EQ(RunTestsInParallel(missing, 3).message,
            "Test program runb10 could not be started from \"" + missing +
                "\": No such file or directory");
}

TEST(RunTestsInParallel, OneFailureStopsTheOtherCopies) {
  const ScriptFolder scripts("stop");
  const std::string flag = (scripts.path() / "fast-done").string();
  // The first copy to finish fails; the slow ones must not be waited for.
  const std::string script = scripts.add_script(
      "test", "if mkdir '" + flag + "' 2>/dev/null; then exit 5; fi\nexec sleep 30");
  const auto start = std::chrono::steady_clock::now();
  const ParallelRunResult result = RunTestsInParallel(script, 3);
  EXPECT_FALSE(result.ok());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(RunTestsInParallel, CallsTheHookAndStopsAtACancelRequest) {
  const ScriptFolder scripts("cancel");
  const std::string script = scripts.add_script("test", "exec sleep 30");
  Progress progress;
  const ProgressScope scope(progress);
  int calls = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW((void)RunTestsInParallel(script, 2,
                                        [&] {
                                          if (++calls == 5) progress.request_cancel();
                                        }),
               Cancelled);
  EXPECT_EQ(calls, 5);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  // The copies are gone, reaped: none is left as our child.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
}  // namespace dlslab
