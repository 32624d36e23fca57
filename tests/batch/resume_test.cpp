// --resume from what an interrupted run can leave: partial files cut anywhere, empty or
// missing, and the forms of a cf run that met more forms than its index first had room for.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "batch/batch_run.h"
#include "batch/batch_test_files.h"
#include "batch/generate.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab::batch {
namespace {

using test::read_file;
using test::ScratchFolder;
namespace fs = std::filesystem;

struct Outcome {
  BatchSummary summary;
  std::string messages;
};

Outcome run_on(const BatchOptions& options) {
  std::ostringstream out;
  std::ostringstream err;
  Reporter reporter(err, Reporter::ProgressMode::kNone);
  const std::atomic<bool> stop{false};
  Outcome outcome{run_batch(options, out, reporter, stop), err.str()};
  return outcome;
}

/// The summary line with its timing figures as "T".
std::string untimed_summary(const BatchOptions& options, const BatchSummary& summary) {
  static const std::regex kTiming(R"([0-9]+\.[0-9][0-9] s, [0-9]+ squares/s)");
  return std::regex_replace(summary_line(options, summary), kTiming, "T");
}

TEST(Resume, FromAPartialFileCutAnywhereGivesTheUninterruptedFile) {
  const ScratchFolder folder;
  std::string text;
  for (std::uint32_t seed = 1; seed <= 24; ++seed) {
    std::string square = SquareToString(dlslab::test::random_dls(seed), false);
    if (seed == 5) square[17] = '-';
    if (seed == 9) std::swap(square[0], square[1]);
    text += square + "\n";
    if (seed == 12) text += "an unreadable line\n";
  }
  BatchOptions options;
  options.operation = Operation::kValidate;
  options.inputs = {folder.write_file("in.txt", text)};
  options.output = folder.file_path("full.tsv");
  ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
  const std::string full = read_file(options.output);
  ASSERT_EQ(std::count(full.begin(), full.end(), '\n'), 25);

  // Every cut within the header, and for every result line its start, its second byte, its
  // middle and the place just before its line break; the whole file; an empty file; none.
  std::vector<std::size_t> cuts;
  const std::size_t header_end = full.find('\n') + 1;
  for (std::size_t c = 0; c <= header_end; ++c) cuts.push_back(c);
  for (std::size_t start = header_end; start < full.size(); start = full.find('\n', start) + 1) {
    const std::size_t end = full.find('\n', start);
    for (const std::size_t c : {start + 1, (start + end) / 2, end, end + 1}) cuts.push_back(c);
  }
  options.output = folder.file_path("resumed.tsv");
  options.resume = true;
  const std::string partial = options.output + ".partial";
  for (std::size_t k = 0; k <= cuts.size(); ++k) {
    const bool no_file = k == cuts.size();
    const std::string cut = no_file ? "" : full.substr(0, cuts[k]);
    SCOPED_TRACE(no_file ? std::string("no partial file") : "cut at " + std::to_string(cuts[k]));
    fs::remove(options.output);
    if (!no_file) folder.write_file("resumed.tsv.partial", cut);
    options.threads = 1 + k % 3;
    const Outcome resumed = run_on(options);
    ASSERT_EQ(resumed.summary.end, BatchSummary::End::kComplete) << resumed.messages;
    ASSERT_EQ(read_file(options.output), full);
    EXPECT_FALSE(fs::exists(partial));
    const auto lines = static_cast<std::uint64_t>(std::count(cut.begin(), cut.end(), '\n'));
    const std::uint64_t done = lines > 0 ? lines - 1 : 0;
    EXPECT_EQ(resumed.summary.resumed, done);
    EXPECT_EQ(resumed.summary.done, 24u);
    std::string expected = "batch validate: 24 squares read, 1 skipped, " +
                           std::to_string(24 - done) + " results written, T";
    if (done > 0) expected += "; " + std::to_string(done) + " squares were done before the resume";
    EXPECT_EQ(untimed_summary(options, resumed.summary), expected);
  }
}

// A cf run holds more forms than its index had room for at the start: the index grows while
// the forms of the partial file are read back and again while the rest comes in, and a later
// copy of the first form still counts with it.
TEST(Resume, CanonicalFormCountsSurviveTheIndexGrowing) {
  const ScratchFolder folder;
  std::vector<std::string> squares;
  const std::atomic<bool> no_stop{false};
  generate_squares(
      1100, 77, 2,
      [&squares](std::string_view text) {
        for (std::size_t at = 0; at < text.size(); at += 101)
          squares.emplace_back(text.substr(at, 100));
        return true;
      },
      no_stop);
  ASSERT_EQ(squares.size(), 1100u);
  squares.push_back(squares.front());

  // The forms in the order first met, with their counts, one square at a time.
  OperationEngine engine(Operation::kCf);
  std::vector<std::string> forms;
  std::map<std::string, std::uint64_t> counts;
  for (const std::string& s : squares) {
    Digits digits{};
    std::copy(s.begin(), s.end(), digits.begin());
    const Digits form = engine.form(digits);
    const std::string key(form.begin(), form.end());
    if (counts[key]++ == 0) forms.push_back(key);
  }
  ASSERT_GT(forms.size(), 1024u);
  std::string expected = "index\tcf\tcount\n";
  for (std::size_t i = 0; i < forms.size(); ++i)
    expected +=
        std::to_string(i + 1) + "\t" + forms[i] + "\t" + std::to_string(counts[forms[i]]) + "\n";
  ASSERT_GE(counts[forms[0]], 2u);

  auto input = [&](std::size_t n, const std::string& name) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += squares[i] + "\n";
    return folder.write_file(name, text);
  };
  const std::string all = input(squares.size(), "all.txt");
  for (const OutputFormat format : {OutputFormat::kTsv, OutputFormat::kCollection}) {
    BatchOptions options;
    options.operation = Operation::kCf;
    options.format = format;
    options.threads = 2;
    options.inputs = {all};
    options.output = folder.file_path("full.cf");
    ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
    const std::string full = read_file(options.output);
    if (format == OutputFormat::kTsv) {
      EXPECT_EQ(full, expected);
    }

    for (const std::size_t before :
         {std::size_t{0}, std::size_t{1}, std::size_t{700}, squares.size() - 1, squares.size()}) {
      SCOPED_TRACE(std::to_string(before) + " squares before the resume");
      options.resume = false;
      options.inputs = {input(before, "first.txt")};
      options.output = folder.file_path("resumed.cf");
      ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
      fs::rename(options.output, options.output + ".partial");
      options.resume = true;
      options.inputs = {all};
      const Outcome resumed = run_on(options);
      ASSERT_EQ(resumed.summary.end, BatchSummary::End::kComplete) << resumed.messages;
      EXPECT_EQ(read_file(options.output), full);
      EXPECT_EQ(resumed.summary.resumed, before);
      EXPECT_EQ(resumed.summary.read, squares.size());
      EXPECT_EQ(resumed.summary.results, forms.size());
    }

    // A partial file cut inside a form is no output of a run: refused and kept as it is.
    const std::string damaged = full.substr(0, full.size() / 2 + 7);
    folder.write_file("damaged.cf.partial", damaged);
    options.output = folder.file_path("damaged.cf");
    EXPECT_EQ(run_on(options).summary.end, BatchSummary::End::kFailed);
    EXPECT_EQ(read_file(options.output + ".partial"), damaged);
    EXPECT_FALSE(fs::exists(options.output));
  }
}

}  // namespace
}  // namespace dlslab::batch

namespace dlslab::batch {
namespace {

// A partial file with more results than the inputs have squares was made from other inputs:
// refused and kept, never finished as if the run were complete.
TEST(Resume, APartialFileLongerThanTheInputsIsRefused) {
  const ScratchFolder folder;
  std::string all;
  std::string first;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    const std::string line = SquareToString(dlslab::test::random_dls(seed), false) + "\n";
    all += line;
    if (seed <= 5) first += line;
  }
  const std::string long_input = folder.write_file("all.txt", all);
  const std::string short_input = folder.write_file("first.txt", first);
  for (const Operation operation : {Operation::kValidate, Operation::kCf}) {
    SCOPED_TRACE(std::string(operation_name(operation)));
    BatchOptions options;
    options.operation = operation;
    options.inputs = {long_input};
    options.output = folder.file_path("result");
    ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
    fs::rename(options.output, options.output + ".partial");
    const std::string partial = read_file(options.output + ".partial");
    options.inputs = {short_input};
    options.resume = true;
    const Outcome refused = run_on(options);
    EXPECT_EQ(refused.summary.end, BatchSummary::End::kFailed);
    EXPECT_NE(refused.summary.error.find("was made from other inputs"), std::string::npos)
        << refused.summary.error;
    EXPECT_FALSE(fs::exists(options.output));
    EXPECT_TRUE(read_file(options.output + ".partial") == partial);
    fs::remove(options.output + ".partial");
  }
}

}  // namespace
}  // namespace dlslab::batch
