#include "cli/cli.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cmd/crossword_commands.h"
#include "cmd/menu_table.h"
#include "test_squares.h"

extern char** environ;

// These cases run the built dlslab-cli as a user does and look at its exit status and at what
// it wrote to each stream.
namespace dlslab::cli {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::filesystem::path temp(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("dlslab_cli_" + std::to_string(::getpid()) + "_" + name);
}

std::string read_and_remove(const std::filesystem::path& file) {
  std::string text;
  {
    std::ifstream in(file, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::remove(file);
  return text;
}

Result run_cli(const std::vector<std::string>& args) {
  const std::filesystem::path out = temp("stdout"), err = temp("stderr");
  std::vector<std::string> words{DLSLAB_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = -1;
  if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    status = WEXITSTATUS(status);
  else
    ADD_FAILURE() << "dlslab-cli did not run to its end";
  return {status, read_and_remove(out), read_and_remove(err)};
}

/// The line of the --list output that names the command: its caption, then perhaps the word
/// of its argument ("FILE") and a mark.
std::string list_line(const std::string& listing, const std::string& caption) {
  std::istringstream in(listing);
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(caption)) continue;
    const std::string rest = line.substr(caption.size());
    if (rest.empty() || rest.starts_with("  (") ||
        (rest.size() > 1 && rest[0] == ' ' && std::isupper(static_cast<unsigned char>(rest[1]))))
      return line;
  }
  return {};
}

/// The usage-error report: the message, then a hint, on stderr.
std::string usage_error(const std::string& message) {
  return "dlslab-cli: " + message + "\nTry 'dlslab-cli --help'.\n";
}

TEST(Cli, HelpAndListGoToStdout) {
  Result r = run_cli({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("usage: dlslab-cli [--seed N] [--square DIGITS] [--status] COMMAND", 0),
            0u);
  EXPECT_NE(r.out.find("--list"), std::string::npos);
  EXPECT_EQ(r.err, "");

  r = run_cli({"--list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  const std::string listing = "\n" + r.out;
  for (const char* line : {"Load from file... FILE\n", "Set order... N\n", "As solid string\n",
                           "XO=74\n", "Exit  (window only)\n", "Rules\n"})
    EXPECT_NE(listing.find(std::string("\n") + line), std::string::npos) << line;
  EXPECT_EQ(listing.find("\n-\n"), std::string::npos);     // no separators
  EXPECT_EQ(listing.find("\nFile\n"), std::string::npos);  // no menus
}

// Which commands are still missing changes as they are written; every one of them is marked in
// the list and refused with a usage error, every other one is neither.
TEST(Cli, CommandsNotAvailableAreMarkedAndRefused) {
  const std::string listing = run_cli({"--list"}).out;
  std::vector<std::string> missing;
  const auto table = cmd::menu_table();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const cmd::MenuEntry& e = table[i];
    if (e.caption == "-" || cmd::is_container(table, i) || e.window_only) continue;
    const std::string caption(e.caption);
    const std::string line = list_line(listing, caption);
    EXPECT_FALSE(line.empty()) << caption;
    EXPECT_EQ(line.ends_with("  (not available)"), e.handler == nullptr) << line;
    if (e.handler == nullptr && e.arg == cmd::ArgKind::kNone) missing.push_back(caption);
  }
  if (missing.empty()) GTEST_SKIP() << "every command is available";
  const Result r = run_cli({"--square", test::kBachelor, missing[0], "As solid string"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, usage_error("command \"" + missing[0] + "\" is not available"));
}

TEST(Cli, UsageErrorsExitWithTwo) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--square"}, "--square needs a value"},
      {{"--seed"}, "--seed needs a value"},
      {{"--seed", "x", "Clear square"}, "--seed needs a number 0..4294967295, not \"x\""},
      {{"--bogus"}, "unknown option \"--bogus\""},
      {{"Frobnicate"}, "unknown command \"Frobnicate\""},
      {{"Set order"}, "command \"Set order...\" needs N"},
      {{"Research mode"}, "command \"Research mode\" is only in the window"},
  };
  for (const auto& c : cases) {
    const Result r = run_cli(c.args);
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_EQ(r.err, usage_error(c.message));
  }
}

TEST(Cli, AUsageErrorAnywhereRunsNothing) {
  const Result r = run_cli({"Set order", "5", "As solid string", "Frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, usage_error("unknown command \"Frobnicate\""));

  // The reader alone: the plan names each command once, with its argument.
  const std::vector<std::string> args{"--seed",    "7", "--square",       "01", "--square", "0123",
                                      "Set order", "5", "As solid string"};
  const Invocation call = parse_arguments(args);
  ASSERT_EQ(call.action, Invocation::Action::kRun);
  EXPECT_EQ(call.seed, 7u);
  EXPECT_EQ(call.square, "0123");
  ASSERT_EQ(call.steps.size(), 2u);
  EXPECT_EQ(call.steps[0].entry->caption, "Set order...");
  EXPECT_EQ(call.steps[0].arg, "5");
  EXPECT_EQ(call.steps[1].entry->caption, "As solid string");
  EXPECT_EQ(call.steps[1].arg, "");
}

TEST(Cli, LogLinesGoToStdout) {
  Result r = run_cli({"--square", test::kBachelor, "As solid string"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("DLS: ") + test::kBachelor + "\n");
  EXPECT_EQ(r.err, "");

  r = run_cli({"--status", "Clear square"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Status: \n");
}

TEST(Cli, RulesAreShownOnStdout) {
  const Result r = run_cli({"Rules"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, cmd::rules_text() + "\n");
  EXPECT_NE(r.out.find("\nYou need to fill all empty cells of the square.\n"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST(Cli, FailedCommandExitsWithOneAndStopsTheRun) {
  Result r = run_cli({"As solid string", "Set order", "31", "As solid string"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "DLS: " + std::string(100, '-') + "\n");  // the first command only
  EXPECT_EQ(r.err.rfind("dlslab-cli: \"Set order...\" failed: ", 0), 0u) << r.err;

  const std::filesystem::path file = temp("broken.txt");
  std::ofstream(file, std::ios::binary) << "DLS\r\n10\r\n 1 2";
  r = run_cli({"Load from file", file.string(), "As solid string"});
  std::filesystem::remove(file);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("\"Load from file...\" failed"), std::string::npos) << r.err;
}

TEST(Cli, SaveAndLoadRoundTrip) {
  const std::filesystem::path file = temp("pair");
  Result r = run_cli({"Import pair", std::string(200, '5'), "Save to file", file.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  r = run_cli({"Load from file...", file.string() + ".txt", "as solid string"});
  std::filesystem::remove(file.string() + ".txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "DLS: " + std::string(100, '5') + "\nDLS2: " + std::string(100, '5') + "\n");
}

TEST(Cli, SeedDealsTheSameGameEveryTime) {
  const Result a = run_cli({"--seed", "12345", "New game", "As solid string"});
  const Result b = run_cli({"--seed", "12345", "New game", "As solid string"});
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(
      a.out,
      "Random search v3: square was filled from 5 try\n"
      "Dominating set cardinality: 32\n"
      "DLS: -71-3-----2-6---79-----6--2--19-8-7--------5-1---3-9------0-1--3--8---0-------72--"
      "38-4----63-7---52-\n");
  const Result again = run_cli({"Play game number", "12345", "As solid string"});
  EXPECT_EQ(again.out, a.out);
  const Result bad = run_cli({"Play game number...", "twelve"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("\"twelve\" is not a game number"), std::string::npos);
}

}  // namespace
}  // namespace dlslab::cli
