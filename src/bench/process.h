#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

// Starting the external test programs of the benchmarks and waiting for them.
namespace dlslab {

/// The number of processors the system reports (at least 1).
[[nodiscard]] int GetProcessorsCount();

/// The folder of the running program with its trailing separator, from /proc/self/exe; empty
/// when it cannot be read.
[[nodiscard]] std::string get_executable_folder();

/// The folder the benchmarks' test programs are started from, with its trailing separator:
/// the installed one (libexec/dlslab, found relative to the running program's folder) when it
/// exists, otherwise the running program's own folder, as in a build tree.
[[nodiscard]] std::string get_test_program_folder();

/// A started process: pid 0 and a reason when it could not be started.
struct LaunchedProcess {
  pid_t pid = 0;
  std::string error;
};

/// Starts the program named by the whole command line (no arguments, no quotes) in a process
/// group of its own. The child gets only the standard descriptors: standard input and output
/// on /dev/null, standard error shared with this process. It is killed when the calling thread
/// ends (and so when this program ends, however it ends): wait for it on the same thread.
[[nodiscard]] LaunchedProcess LaunchProcess(const std::string& command_line);

/// How a round of RunTestsInParallel ended; message is empty when every copy exited with 0.
struct ParallelRunResult {
  [[nodiscard]] bool ok() const { return message.empty(); }
  std::string message;
};

/// Starts k copies of the program at once and waits until all have ended. No limit on k.
/// A copy that cannot be started, exits with a non-zero status or is killed fails the round;
/// after a failed start the copies already running are killed. While waiting, while_waiting
/// (if set) is called every few milliseconds, and the current Progress is polled: a cancel
/// request kills the copies and throws Cancelled.
[[nodiscard]] ParallelRunResult RunTestsInParallel(const std::string& command_line, int k,
                                                   const std::function<void()>& while_waiting = {});

}  // namespace dlslab
