#include "bench/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#include "model/progress.h"

extern char** environ;

// Where the install puts the test programs, relative to the folder of dlslab and dlslab-cli;
// the build sets it from the install layout.
#ifndef DLSLAB_TEST_PROGRAM_DIR_FROM_BIN
#define DLSLAB_TEST_PROGRAM_DIR_FROM_BIN "../libexec/dlslab"
#endif

// A copy is waited for by polling waitpid: the caller's hook (the window repainting) runs
// between the polls, and the copies' own process groups let a failed or cancelled round take
// each copy down together with anything it started.
namespace dlslab {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(1);

std::string ErrnoText(int error) { return std::generic_category().message(error); }

/// Owns the attributes and file actions of one posix_spawn call.
class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawnattr_init(&attr_);
    posix_spawn_file_actions_init(&actions_);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attr_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  /// Own process group, default signal mask and dispositions, /dev/null for input and
  /// output, nothing above the standard descriptors. 0 or an errno value.
  int Prepare() {
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (int e = posix_spawnattr_setflags(&attr_, flags)) return e;
    if (int e = posix_spawnattr_setpgroup(&attr_, 0)) return e;
    if (int e = posix_spawnattr_setsigmask(&attr_, &none)) return e;
    if (int e = posix_spawnattr_setsigdefault(&attr_, &defaults)) return e;
    if (int e = posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0)) return e;
    if (int e = posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0)) return e;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    if (int e = posix_spawn_file_actions_addclosefrom_np(&actions_, 3)) return e;
#endif
    return 0;
  }

  const posix_spawnattr_t* attr() const { return &attr_; }
  const posix_spawn_file_actions_t* actions() const { return &actions_; }

 private:
  posix_spawnattr_t attr_;
  posix_spawn_file_actions_t actions_;
};

std::string ProgramName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

/// "" for a clean exit, else what went wrong.
std::string DescribeStatus(const std::string& path, int status) {
  const std::string program = ProgramName(path);
  if (WIFEXITED(status)) {
    if (WEXITSTATUS(status) == 0) return {};
    return "Test program " + program + " (\"" + path + "\") exited with code " +
           std::to_string(WEXITSTATUS(status));
  }
  if (WIFSIGNALED(status))
    return "Test program " + program + " (\"" + path + "\") was killed by signal " +
           std::to_string(WTERMSIG(status));
  return "Test program " + program + " (\"" + path + "\") ended abnormally";
}

void KillAndReap(std::vector<pid_t>& running) {
  for (const pid_t pid : running) kill(-pid, SIGKILL);
  for (const pid_t pid : running) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  running.clear();
}

}  // namespace

int GetProcessorsCount() {
  const long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count < 1 ? 1 : static_cast<int>(count);
}

std::string GetExecutableFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string GetTestProgramFolder() {
  const std::string folder = GetExecutableFolder();
  if (folder.empty()) return folder;
  const std::filesystem::path installed =
      std::filesystem::path(folder + DLSLAB_TEST_PROGRAM_DIR_FROM_BIN).lexically_normal();
  std::error_code error;
  if (!std::filesystem::is_directory(installed, error)) return folder;
  std::string text = installed.string();
  if (text.back() != '/') text += '/';
  return text;
}

LaunchedProcess LaunchProcess(const std::string& command_line) {
  SpawnSetup setup;
  if (const int e = setup.Prepare()) return {0, ErrnoText(e)};
  std::string program = command_line;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  if (const int e =
          posix_spawn(&pid, program.c_str(), setup.actions(), setup.attr(), argv, environ))
    return {0, ErrnoText(e)};
  return {pid, {}};
}

ParallelRunResult RunTestsInParallel(const std::string& command_line, int k,
                                     const std::function<void()>& while_waiting) {
  std::vector<pid_t> running;
  running.reserve(static_cast<std::size_t>(k));
  for (int i = 0; i < k; ++i) {
    const LaunchedProcess launched = LaunchProcess(command_line);
    if (launched.pid == 0) {
      KillAndReap(running);
      return {"Test program " + ProgramName(command_line) + " could not be started from \"" +
              command_line + "\": " + launched.error};
    }
    running.push_back(launched.pid);
  }

  std::string failure;
  while (!running.empty()) {
    for (std::size_t i = 0; i < running.size();) {
      int status = 0;
      const pid_t r = waitpid(running[i], &status, WNOHANG);
      if (r == 0 || (r < 0 && errno == EINTR)) {
        ++i;
        continue;
      }
      // r < 0 otherwise: the child is gone without our knowing how it ended.
      std::string what = r < 0 ? "Test program " + ProgramName(command_line) +
                                     " could not be waited for: " + ErrnoText(errno)
                               : DescribeStatus(command_line, status);
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
      if (!what.empty() && failure.empty()) failure = std::move(what);
    }
    if (!failure.empty()) break;
    if (running.empty()) break;
    if (while_waiting) while_waiting();
    if (CurrentProgress().CancelRequested()) {
      KillAndReap(running);
      throw Cancelled();
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  KillAndReap(running);
  return {failure};
}

}  // namespace dlslab
