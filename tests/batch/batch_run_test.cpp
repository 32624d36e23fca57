#include "batch/batch_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch/batch_test_files.h"
#include "cmd/canon_commands.h"
#include "cmd/cover_commands.h"
#include "cmd/family_commands.h"
#include "cmd/fill_commands.h"
#include "cmd/model_commands.h"
#include "cmd/status.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::batch {
namespace {

using test::collection_block;
using test::read_file;
using test::ScratchFolder;

struct Outcome {
  BatchSummary summary;
  std::string out;       // what went to the output stream
  std::string messages;  // what went to the reporter
};

Outcome run_on(const BatchOptions& options, bool stop_at_once = false) {
  std::ostringstream out;
  std::ostringstream err;
  Reporter reporter(err, Reporter::ProgressMode::kNone);
  const std::atomic<bool> stop{stop_at_once};
  Outcome outcome;
  outcome.summary = run_batch(options, out, reporter, stop);
  outcome.out = out.str();
  outcome.messages = err.str();
  return outcome;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> columns_of(const std::string& line) {
  std::vector<std::string> columns;
  std::size_t from = 0;
  for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
    columns.push_back(line.substr(from, tab - from));
  columns.push_back(line.substr(from));
  return columns;
}

// The squares the comparisons run on: random DLS, the special squares (families of every
// size), a repeat and a transpose (one canonical form three times), a partial square and a
// Latin square that is not diagonal.
std::vector<std::string> test_squares() {
  std::vector<std::string> squares;
  for (std::uint32_t seed = 1; seed <= 12; ++seed)
    squares.push_back(SquareToString(dlslab::test::random_dls(seed), false));
  for (const SpecialSquare& s : kSpecialSquares) squares.emplace_back(s.digits);
  squares.push_back(squares[0]);
  std::string transposed(100, ' ');
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c) transposed[c * 10 + r] = squares[0][r * 10 + c];
  squares.push_back(transposed);
  std::string partial = dlslab::test::kBachelor;
  for (const int cell : {11, 23, 35, 47, 59, 61, 73, 85, 97, 4, 52, 68}) partial[cell] = '-';
  squares.push_back(partial);
  std::string cyclic;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c) cyclic += static_cast<char>('0' + (r + c) % 10);
  squares.push_back(cyclic);
  return squares;
}

/// The log of one command on a model holding the square.
std::vector<std::string> command_log(const std::string& square, void (*command)(cmd::Context&)) {
  cmd::Context ctx;
  cmd::ImportSquareMenuItemClick(ctx, square);
  ctx.log.Clear();
  command(ctx);
  return ctx.log.lines();
}

class BatchRunTest : public ::testing::Test {
 protected:
  BatchRunTest() {
    std::string text;
    for (const std::string& s : squares) text += s + "\n";
    input = folder.write_file("squares.txt", text);
  }

  BatchOptions options_for(Operation operation, unsigned threads = 2) const {
    BatchOptions options;
    options.operation = operation;
    options.inputs = {input};
    options.threads = threads;
    options.format = OutputFormat::kTsv;
    return options;
  }

  /// The result lines of a TSV run, header checked and dropped.
  std::vector<std::vector<std::string>> result_rows(Operation operation) const {
    const Outcome outcome = run_on(options_for(operation));
    EXPECT_EQ(outcome.summary.end, BatchSummary::End::kComplete) << outcome.messages;
    std::vector<std::string> lines = lines_of(outcome.out);
    EXPECT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), tsv_header(operation));
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) rows.push_back(columns_of(lines[i]));
    return rows;
  }

  ScratchFolder folder;
  const std::vector<std::string> squares = test_squares();
  std::string input;
};

TEST_F(BatchRunTest, CanonicalFormsEqualTheCommandCounted) {
  TSquaresCollection expected;
  for (const std::string& s : squares) {
    cmd::Context ctx;
    cmd::ImportSquareMenuItemClick(ctx, s);
    cmd::GetCanonicalFormMenuItemClick(ctx);
    expected.AddSquare(ctx.model.FirstSquare, true, false);
  }
  ASSERT_LT(expected.Count(), static_cast<int>(squares.size()));  // the repeats share a form
  const auto rows = result_rows(Operation::kCf);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(expected.Count()));
  for (int i = 0; i < expected.Count(); ++i) {
    EXPECT_EQ(rows[i],
              (std::vector<std::string>{std::to_string(i + 1), std::string(expected.Items(i)),
                                        std::to_string(expected.Counts(i))}));
  }

  TSquaresCollection strong;
  for (const std::string& s : squares) {
    cmd::Context ctx;
    cmd::ImportSquareMenuItemClick(ctx, s);
    cmd::GetStrongCanonicalFormMenuItemClick(ctx);
    strong.AddSquare(ctx.model.FirstSquare, true, false);
  }
  const auto strong_rows = result_rows(Operation::kScf);
  ASSERT_EQ(strong_rows.size(), static_cast<std::size_t>(strong.Count()));
  for (int i = 0; i < strong.Count(); ++i) EXPECT_EQ(strong_rows[i][1], strong.Items(i));
}

TEST_F(BatchRunTest, PerSquareResultsEqualTheCommands) {
  const auto odls = result_rows(Operation::kOdls);
  const auto type = result_rows(Operation::kType);
  const auto properties = result_rows(Operation::kProperties);
  ASSERT_EQ(odls.size(), squares.size());
  ASSERT_EQ(type.size(), squares.size());
  ASSERT_EQ(properties.size(), squares.size());
  int with_mates = 0;
  for (std::size_t i = 0; i < squares.size(); ++i) {
    EXPECT_EQ(odls[i][0], std::to_string(i + 1));
    EXPECT_EQ(odls[i][1], squares[i]);
    const std::string found = command_log(squares[i], cmd::GetOdlsMenuItemClick).at(0);
    if (found.starts_with("ODLS found: ")) {
      EXPECT_EQ(odls[i][2], found.substr(12)) << i;
      const int count = std::stoi(odls[i][2]);
      with_mates += count > 0;
      EXPECT_EQ(odls[i][3].size(), count == 0 ? 0u : 101u * count - 1) << i;
    } else {
      EXPECT_EQ(odls[i][2], found) << i;
    }
    EXPECT_EQ(type[i][2], command_log(squares[i], cmd::GetOdlsTypeMenuItemClick).at(0)) << i;
    cmd::Context ctx;
    cmd::ImportSquareMenuItemClick(ctx, squares[i]);
    EXPECT_EQ(properties[i][2], cmd::get_status_text(ctx.model)) << i;
  }
  EXPECT_GT(with_mates, 5);

  const auto fillings = result_rows(Operation::kFillings);
  const std::string& partial = squares[squares.size() - 2];
  EXPECT_EQ("Fillings count: " + fillings[squares.size() - 2][2],
            command_log(partial, cmd::GetFillingsCountMenuItemClick).at(0));
}

TEST_F(BatchRunTest, OutputIsTheSameForAnyThreadCountAndBlockSize) {
  for (const Operation operation :
       {Operation::kCf, Operation::kOdls, Operation::kTransversals, Operation::kValidate}) {
    BatchOptions one = options_for(operation, 1);
    one.format = OutputFormat::kDefault;
    const Outcome reference = run_on(one);
    for (const unsigned threads : {2u, 5u}) {
      BatchOptions many = options_for(operation, threads);
      many.format = OutputFormat::kDefault;
      many.block_size = 1 + threads;
      EXPECT_EQ(run_on(many).out, reference.out) << operation_name(operation) << threads;
    }
  }
}

TEST_F(BatchRunTest, TransversalsAndValidation) {
  const auto transversals = result_rows(Operation::kTransversals);
  // The cyclic square of even order has no transversal at all.
  EXPECT_EQ(transversals.back(),
            (std::vector<std::string>{std::to_string(squares.size()), squares.back(), "0", "0"}));
  EXPECT_EQ(transversals[squares.size() - 2][2], "Square is incorrect");  // the partial square

  std::string row_repeat = dlslab::test::kBachelor;
  std::swap(row_repeat[10], row_repeat[20]);  // column 0 keeps its values, rows 1 and 2 not
  const std::string lines = squares[0] + "\n" + squares[squares.size() - 2] + "\n" +
                            squares.back() + "\n" + row_repeat + "\n";
  BatchOptions options = options_for(Operation::kValidate);
  options.inputs = {folder.write_file("v.txt", lines)};
  const std::vector<std::string> out = lines_of(run_on(options).out);
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(columns_of(out[1]), (std::vector<std::string>{"1", squares[0], "yes", ""}));
  EXPECT_EQ(columns_of(out[2])[3], "empty cell (0, 4)");
  EXPECT_EQ(columns_of(out[3])[3], "value 0 twice in the main diagonal, again at (5, 5)");
  EXPECT_EQ(columns_of(out[4])[3], "value 3 twice in row 1, again at (1, 5)");
}

TEST_F(BatchRunTest, BrokenBlockInTheMiddleIsReportedAndSkipped) {
  std::string broken = collection_block(squares[1]);
  broken[2 * 21 + 6] = 'x';
  const std::string file = folder.write_file(
      "c.txt", collection_block(squares[0]) + broken + collection_block(squares[2]));
  BatchOptions options = options_for(Operation::kValidate);
  options.inputs = {file};
  const Outcome outcome = run_on(options);
  EXPECT_EQ(outcome.summary.end, BatchSummary::End::kComplete);
  EXPECT_EQ(outcome.summary.skipped, 1u);
  EXPECT_EQ(outcome.summary.read, 2u);
  EXPECT_EQ(outcome.messages, "dlslab-cli: " + file + ":14: not a digit: \"x\"; skipped\n");
  const std::vector<std::string> lines = lines_of(outcome.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(columns_of(lines[2])[1], squares[2]);

  options.strict = true;
  options.output = folder.file_path("strict.tsv");
  const Outcome strict = run_on(options);
  EXPECT_EQ(strict.summary.end, BatchSummary::End::kStrictStop);
  EXPECT_EQ(strict.messages, "dlslab-cli: " + file + ":14: not a digit: \"x\"\n");
  EXPECT_FALSE(std::filesystem::exists(options.output));
  EXPECT_EQ(lines_of(read_file(options.output + ".partial")).size(), 2u);
}

TEST_F(BatchRunTest, PartialFileIsRenamedOnlyWhenComplete) {
  BatchOptions options = options_for(Operation::kOdls);
  options.output = folder.file_path("odls.tsv");
  const Outcome stopped = run_on(options, true);
  EXPECT_EQ(stopped.summary.end, BatchSummary::End::kInterrupted);
  EXPECT_FALSE(std::filesystem::exists(options.output));
  EXPECT_EQ(read_file(options.output + ".partial"),
            std::string(tsv_header(Operation::kOdls)) + "\n");
  EXPECT_NE(summary_line(options, stopped.summary).find("interrupted"), std::string::npos);

  const Outcome complete = run_on(options);
  EXPECT_EQ(complete.summary.end, BatchSummary::End::kComplete);
  EXPECT_FALSE(std::filesystem::exists(options.output + ".partial"));
  EXPECT_EQ(complete.summary.results, squares.size());
  EXPECT_EQ(read_file(options.output), run_on(options_for(Operation::kOdls)).out);
}

TEST_F(BatchRunTest, ResumeFromACutPartialFileGivesTheSameFile) {
  BatchOptions options = options_for(Operation::kOdls);
  options.output = folder.file_path("full.tsv");
  ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
  const std::string full = read_file(options.output);
  // Cut in the middle of result 17: results 1..16 stay.
  std::size_t cut = 0;
  for (int line = 0; line < 17; ++line) cut = full.find('\n', cut) + 1;
  options.output = folder.file_path("resumed.tsv");
  folder.write_file("resumed.tsv.partial", full.substr(0, cut + 40));
  options.resume = true;
  options.threads = 3;
  const Outcome resumed = run_on(options);
  EXPECT_EQ(resumed.summary.end, BatchSummary::End::kComplete) << resumed.messages;
  EXPECT_EQ(resumed.summary.resumed, 16u);
  EXPECT_EQ(resumed.summary.results, squares.size() - 16);
  EXPECT_EQ(read_file(options.output), full);

  // A partial file of another operation, or of other inputs, is refused and kept.
  folder.write_file("other.tsv.partial", "index\tsquare\ttype\n");
  options.output = folder.file_path("other.tsv");
  EXPECT_EQ(run_on(options).summary.end, BatchSummary::End::kFailed);
  std::string foreign = full.substr(0, cut);
  const std::size_t last_line = foreign.rfind('\n', foreign.size() - 2) + 1;
  foreign.replace(foreign.find('\t', last_line) + 1, 100, squares[0]);
  folder.write_file("foreign.tsv.partial", foreign);
  options.output = folder.file_path("foreign.tsv");
  const Outcome refused = run_on(options);
  EXPECT_EQ(refused.summary.end, BatchSummary::End::kFailed);
  EXPECT_NE(refused.summary.error.find("was made from other inputs"), std::string::npos)
      << refused.summary.error;
  EXPECT_EQ(read_file(options.output + ".partial"), foreign);
}

TEST_F(BatchRunTest, CanonicalFormsResumeFromTheirPartialFile) {
  std::string first_half;
  std::string all;
  for (std::size_t i = 0; i < squares.size(); ++i) {
    if (i < squares.size() / 2) first_half += squares[i] + "\n";
    all += squares[i] + "\n";
  }
  for (const OutputFormat format : {OutputFormat::kCollection, OutputFormat::kTsv}) {
    BatchOptions options = options_for(Operation::kCf);
    options.format = format;
    options.output = folder.file_path("full.cf");
    ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
    const std::string full = read_file(options.output);

    options.inputs = {folder.write_file("half.txt", first_half)};
    options.output = folder.file_path("resumed.cf");
    ASSERT_EQ(run_on(options).summary.end, BatchSummary::End::kComplete);
    std::filesystem::rename(options.output, options.output + ".partial");
    options.inputs = {input};
    options.resume = true;
    const Outcome resumed = run_on(options);
    EXPECT_EQ(resumed.summary.resumed, squares.size() / 2);
    EXPECT_EQ(read_file(options.output), full);
  }
}

TEST_F(BatchRunTest, CollectionOutputCarriesTheCountsAndLoadsAsACollection) {
  BatchOptions options = options_for(Operation::kCf);
  options.format = OutputFormat::kCollection;
  options.output = folder.file_path("forms.txt");
  const Outcome outcome = run_on(options);
  const std::vector<std::string> lines = lines_of(read_file(options.output));
  ASSERT_EQ(lines.size(), 11 * outcome.summary.results);
  EXPECT_EQ(lines[0], "0 1 2 3 4 5 6 7 8 9 ");
  EXPECT_EQ(lines[10], "3");  // the first square, its repeat and its transpose
  TSquaresCollection loaded;
  loaded.LoadFromFile_VelmoraFormat(options.output, true, false);
  EXPECT_EQ(loaded.Count(), static_cast<int>(outcome.summary.results));

  options.inputs = {folder.write_file("none.txt", "")};
  run_on(options);
  EXPECT_EQ(read_file(options.output), "-");
}

}  // namespace
}  // namespace dlslab::batch
