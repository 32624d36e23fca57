#include "bench/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
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
// each copy down together with anything it started. A copy never outlives its program: it
// gets SIGKILL when the thread that started it ends, which a kill of the program does too.
namespace dlslab {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(1);

std::string errno_text(int error) { return std::generic_category().message(error); }

/// The child's side of LaunchProcess, between fork and exec: only async-signal-safe calls.
/// It dies with the thread that started it (PR_SET_PDEATHSIG), and so with its program
/// however that ends, kill -9 included; a parent already gone before the request took hold
/// ends it at once. Own process group, default signal mask and dispositions, /dev/null for
/// input and output, nothing above the standard descriptors but the report pipe. On a
/// failure the errno value goes to `report` and the child exits.
[[noreturn]] void exec_child(const char* program, char* const argv[], pid_t parent, int report) {
  int error = 0;
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) error = errno;
  if (error == 0 && getppid() != parent) _exit(127);
  if (error == 0 && setpgid(0, 0) != 0) error = errno;
  if (error == 0) {
    for (const int sig : {SIGPIPE, SIGINT, SIGTERM}) signal(sig, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0) error = errno;
    if (in > 1) close(in);
    if (out > 1) close(out);
  }
  if (error == 0) {
    // Everything above stderr goes but the report pipe, which closes itself on exec.
    if (report > 3) syscall(SYS_close_range, 3u, static_cast<unsigned>(report - 1), 0u);
    syscall(SYS_close_range, static_cast<unsigned>(report + 1), ~0u, 0u);
    execve(program, argv, environ);
    error = errno;
  }
  (void)!write(report, &error, sizeof error);
  _exit(127);
}

std::string program_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

/// "" for a clean exit, else what went wrong.
std::string describe_status(const std::string& path, int status) {
  const std::string program = program_name(path);
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

void kill_and_reap(std::vector<pid_t>& running) {
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

std::string get_executable_folder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string get_test_program_folder() {
  const std::string folder = get_executable_folder();
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
  std::string program = command_line;
  char* argv[] = {program.data(), nullptr};
  // posix_spawn cannot ask for the parent-death signal, so the child is forked and sets it up
  // itself; a pipe that closes on exec tells whether the exec happened.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return {0, errno_text(errno)};
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    const int e = errno;
    close(report[0]);
    close(report[1]);
    return {0, errno_text(e)};
  }
  if (pid == 0) {
    close(report[0]);
    exec_child(program.c_str(), argv, parent, report[1]);
  }
  close(report[1]);
  int error = 0;
  ssize_t got = 0;
  while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  if (got <= 0) return {pid, {}};
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return {0, errno_text(error)};
}

ParallelRunResult RunTestsInParallel(const std::string& command_line, int k,
                                     const std::function<void()>& while_waiting) {
  std::vector<pid_t> running;
  running.reserve(static_cast<std::size_t>(k));
  for (int i = 0; i < k; ++i) {
    const LaunchedProcess launched = LaunchProcess(command_line);
    if (launched.pid == 0) {
      kill_and_reap(running);
      return {"Test program " + program_name(command_line) + " could not be started from \"" +
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
      std::string what = r < 0 ? "Test program " + program_name(command_line) +
                                     " could not be waited for: " + errno_text(errno)
                               : describe_status(command_line, status);
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
      if (!what.empty() && failure.empty()) failure = std::move(what);
    }
    if (!failure.empty()) break;
    if (running.empty()) break;
    if (while_waiting) while_waiting();
    if (current_progress().cancel_requested()) {
      kill_and_reap(running);
      throw Cancelled();
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  kill_and_reap(running);
  return {failure};
}

}  // namespace dlslab
