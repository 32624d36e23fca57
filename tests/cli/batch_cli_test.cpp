// dlslab-cli batch and generate as a user runs them: separate processes, signals, exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "batch/batch_run.h"
#include "batch/batch_test_files.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

extern char** environ;

namespace dlslab::batch {
namespace {

using test::read_file;
using test::ScratchFolder;

/// Starts dlslab-cli with the arguments; stdin from `in` (or nothing), stdout and stderr to
/// the files out and err.
pid_t start_cli(const std::vector<std::string>& args, const std::string& out,
                const std::string& err, const std::string& in = "/dev/null") {
  std::vector<std::string> words{DLSLAB_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int exit_status_of(pid_t pid) {
  int status = -1;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class BatchCli : public ::testing::Test {
 protected:
  struct Result {
    int status;
    std::string out;
    std::string err;
  };

  Result run_cli(const std::vector<std::string>& args, const std::string& in = "/dev/null") {
    const int status =
        exit_status_of(start_cli(args, folder.file_path("out"), folder.file_path("err"), in));
    return {status, read_file(folder.file_path("out")), read_file(folder.file_path("err"))};
  }

  ScratchFolder folder;
};

TEST_F(BatchCli, InterruptedRunLeavesAPartialFileThatResumeCompletes) {
  // 100 random squares over and over: long enough to be stopped half way.
  std::string block;
  for (std::uint32_t seed = 1; seed <= 100; ++seed)
    block += SquareToString(dlslab::test::random_dls(seed), false) + "\n";
  std::string text;
  for (int k = 0; k < 200; ++k) text += block;
  const std::string input = folder.write_file("in.txt", text);
  const std::string output = folder.file_path("odls.tsv");
  const std::string partial = output + ".partial";

  const pid_t pid = start_cli({"batch", "--threads", "2", "--output", output, "odls", input},
                              folder.file_path("out"), folder.file_path("err"));
  ASSERT_GT(pid, 0);
  // Stop it once a few hundred results are out.
  for (int waited = 0; waited < 60000; waited += 5) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(partial, ec);
    if (!ec && size > 300 * 105) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(pid, SIGINT);
  EXPECT_EQ(exit_status_of(pid), 130);
  EXPECT_FALSE(std::filesystem::exists(output));
  const std::string cut = read_file(partial);
  ASSERT_FALSE(cut.empty());
  EXPECT_EQ(cut.back(), '\n');
  std::uint64_t results = 0;
  for (const char c : cut) results += c == '\n';
  --results;  // the header
  EXPECT_LT(results, 20000u);
  const std::string err = read_file(folder.file_path("err"));
  EXPECT_NE(err.find("batch odls: interrupted; "), std::string::npos) << err;
  EXPECT_NE(err.find(" holds the results of squares 1 to " + std::to_string(results) +
                     " (the last from " + input + ":" + std::to_string(results) + ")"),
            std::string::npos)
      << err;

  const Result resumed =
      run_cli({"batch", "--threads", "1", "--resume", "--output", output, "odls", input});
  EXPECT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_FALSE(std::filesystem::exists(partial));
  EXPECT_NE(resumed.err.find(std::to_string(results) + " squares were done before the resume"),
            std::string::npos)
      << resumed.err;

  BatchOptions options;
  options.operation = Operation::kOdls;
  options.inputs = {input};
  std::ostringstream reference;
  std::ostringstream messages;
  Reporter reporter(messages, Reporter::ProgressMode::kNone);
  const std::atomic<bool> stop{false};
  run_batch(options, reference, reporter, stop);
  EXPECT_TRUE(read_file(output) == reference.str());
}

TEST_F(BatchCli, ReadsStandardInputAndReportsOnStderr) {
  const std::string square = SquareToString(dlslab::test::random_dls(5), false);
  const std::string input =
      folder.write_file("in.txt", square + "\nnot a square\n" + square + "\n");
  const Result ok = run_cli({"batch", "--progress", "validate", "-"}, input);
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out,
            "index\tsquare\tvalid\treason\n1\t" + square + "\tyes\t\n2\t" + square + "\tyes\t\n");
  EXPECT_NE(ok.err.find("dlslab-cli: -:2: not a digit string of 100 cells; skipped\n"),
            std::string::npos)
      << ok.err;
  EXPECT_NE(ok.err.find("batch validate: 2 squares read, 1 skipped, 2 results written, "),
            std::string::npos)
      << ok.err;

  const Result strict = run_cli({"batch", "--strict", "validate", input});
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(strict.out, "index\tsquare\tvalid\treason\n1\t" + square + "\tyes\t\n");

  EXPECT_EQ(run_cli({"batch", "frobnicate", input}).status, 2);
  EXPECT_EQ(run_cli({"batch", "--format", "collection", "odls", input}).status, 2);
  EXPECT_EQ(run_cli({"batch", "--resume", "odls", input}).status, 2);
  const Result missing = run_cli({"batch", "cf", folder.file_path("nowhere.txt")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

TEST_F(BatchCli, GenerateWritesTheSameSquaresForAnyThreadCount) {
  const Result one = run_cli({"generate", "5", "--seed", "7", "--threads", "1"});
  ASSERT_EQ(one.status, 0) << one.err;
  std::string expected;
  for (std::uint32_t seed = 7; seed < 12; ++seed)
    expected += SquareToString(dlslab::test::random_dls(seed), false) + "\n";
  EXPECT_EQ(one.out, expected);
  const std::string file = folder.file_path("squares.txt");
  EXPECT_EQ(run_cli({"generate", "5", "--seed", "7", "--threads", "3", "--output", file}).status,
            0);
  EXPECT_EQ(read_file(file), expected);
  EXPECT_EQ(run_cli({"generate", "many"}).status, 2);

  // SIGTERM stops it as SIGINT does, and what was written keeps its partial name.
  const std::string big = folder.file_path("big.txt");
  const pid_t pid = start_cli({"generate", "100000000", "--threads", "1", "--output", big},
                              folder.file_path("out"), folder.file_path("err"));
  for (int waited = 0; waited < 60000 && !std::filesystem::exists(big + ".partial"); waited += 5)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(exit_status_of(pid), 143);
  EXPECT_FALSE(std::filesystem::exists(big));
  EXPECT_TRUE(std::filesystem::exists(big + ".partial"));
  EXPECT_NE(read_file(folder.file_path("err")).find("generate: stopped after "), std::string::npos);
}

}  // namespace
}  // namespace dlslab::batch

namespace dlslab::batch {
namespace {

// A record of many lines that cannot be read is reported with the line where the bad token
// stands, not the line where the record began.
TEST_F(BatchCli, UnreadableRecordsAreReportedAtTheLineOfTheBadToken) {
  const std::string a = SquareToString(dlslab::test::random_dls(1), false);
  const std::string b = SquareToString(dlslab::test::random_dls(2), false);
  // A square file with one row of values per line.
  auto rows = [](const std::string& digits, int bad_row, const std::string& bad) {
    std::string text;
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c)
        text += (c > 0 ? " " : "") + (r == bad_row && c == 4 ? bad : digits.substr(r * 10 + c, 1));
      text += "\n";
    }
    return text;
  };
  const std::string squares = folder.write_file(
      "squares.txt", "DLS\n10\n" + rows(a, -1, "") +                          // 1..12 read
                         "DLS\n10\n" + rows(b, 6, "x") +                      // 13..24: x on 21
                         "DLS\n\n10\n" + rows(a, 9, "12") +                   // 25..37: 12 on 37
                         "ODLS\n10\n" + rows(a, -1, "") + rows(b, 3, "-5") +  // 38..59: -5 on 53
                         "DLS\n\n\n7\n" +                                     // 60..63: 7 on 63
                         "DLS\n10\n" + rows(b, -1, "") + "stray\n");          // 64..75, stray on 76
  // A collection: the blocks begin on lines 1, 12, 23, 34, 45.
  auto block = [](const std::string& digits, int bad_row, const std::string& row_text) {
    std::string text;
    for (int r = 0; r < 10; ++r) {
      if (r == bad_row) {
        text += row_text + "\n";
        continue;
      }
      for (int c = 0; c < 10; ++c) text += digits.substr(r * 10 + c, 1) + " ";
      text += "\n";
    }
    return text + "\n";
  };
  const std::string collection = folder.write_file(
      "collection.txt", block(a, -1, "") + block(b, 9, "0 1 2 3 4 5 6 7 8 x ") +  // x on 21
                            block(a, 4, "0 1 2") +                                // short row on 27
                            block(b, 2, std::string(70000, '5')) +                // too long on 36
                            block(a, -1, ""));
  const Result result = run_cli({"batch", "validate", squares, collection});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string lines[] = {
      squares + ":21: not a number: \"x\"; skipped",
      squares + ":37: value 12 is not -1..9; skipped",
      squares + ":53: value -5 is not -1..9; skipped",
      squares + ":63: order 7: only squares of order 10 are read; skipped",
      squares + ":76: expected \"DLS\" or \"ODLS\", found \"stray\"; skipped",
      collection + ":21: not a digit: \"x\"; skipped",
      collection + ":27: row line too short: \"0 1 2\"; skipped",
      collection + ":36: line too long; skipped",
  };
  std::size_t at = 0;
  for (const std::string& line : lines) {
    const std::size_t found = result.err.find("dlslab-cli: " + line + "\n", at);
    EXPECT_NE(found, std::string::npos) << line << "\nin\n" << result.err;
    if (found != std::string::npos) at = found;
  }
  EXPECT_NE(result.err.find("batch validate: 5 squares read, 8 skipped, 5 results written"),
            std::string::npos)
      << result.err;
  std::string expected_out = "index\tsquare\tvalid\treason\n";
  // The first square of the broken pair is read.
  const std::string read[] = {a, a, b, a, a};
  for (int i = 0; i < 5; ++i) expected_out += std::to_string(i + 1) + "\t" + read[i] + "\tyes\t\n";
  EXPECT_EQ(result.out, expected_out);
}

// Standard input has no size to make room by: the forms' index grows from its smallest, and a
// later copy of the first square still counts with the first form.
TEST_F(BatchCli, CanonicalFormsOfStandardInputCountEveryRepeat) {
  const Result generated = run_cli({"generate", "1300", "--seed", "11"});
  ASSERT_EQ(generated.status, 0) << generated.err;
  const std::string first = generated.out.substr(0, 101);
  const std::string input = folder.write_file("in.txt", generated.out + first + first);
  const Result from_stdin = run_cli({"batch", "--format", "tsv", "cf", "-"}, input);
  ASSERT_EQ(from_stdin.status, 0) << from_stdin.err;
  // The same run from the file, whose size makes room for every form at once.
  const Result from_file = run_cli({"batch", "--format", "tsv", "cf", input});
  EXPECT_EQ(from_stdin.out, from_file.out);
  std::istringstream lines(from_stdin.out);
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);
  EXPECT_TRUE(line.ends_with("\t3")) << line;  // the first square and its two copies
  std::uint64_t forms = 0;
  std::uint64_t squares = 0;
  for (lines.seekg(0), std::getline(lines, line); std::getline(lines, line); ++forms)
    squares += std::stoull(line.substr(line.rfind('\t') + 1));
  EXPECT_EQ(squares, 1302u);
  EXPECT_GT(forms, 1024u);
  EXPECT_NE(from_stdin.err.find("cf: 1302 squares read, 0 skipped, " + std::to_string(forms) +
                                " results written"),
            std::string::npos)
      << from_stdin.err;
}

}  // namespace
}  // namespace dlslab::batch
