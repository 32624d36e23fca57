// Ctrl-C in a separate dlslab-cli process: the running command stops through its cancel token.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

extern char** environ;

namespace dlslab {
namespace {

std::string read_file(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CliInterrupt, CtrlCCancelsTheRunningCommandWithStatus130) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("dlslab_sigint_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string out = (dir / "out.txt").string();
  const std::string err = (dir / "err.txt").string();
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // An empty square has far too many fillings to count: only the interrupt ends the command.
  std::string args[] = {DLSLAB_CLI_PATH, "Clear square", "Get fillings count", "As solid string"};
  char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &files, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&files);
  // The count's first speed report shows that the command, and so the handler, is running.
  while (read_file(err).find("Squares cnt") == std::string::npos)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(kill(pid, SIGINT), 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_NE(read_file(err).find("dlslab-cli: \"Get fillings count\" was cancelled\n"),
            std::string::npos);
  // The commands after the cancelled one do not run.
  EXPECT_EQ(read_file(out).find("0123"), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace dlslab
