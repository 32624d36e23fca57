#include "batch/operations.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_run.h"
#include "batch/batch_test_files.h"
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

std::vector<std::string> split_text(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

/// The log of one command on a model holding the square.
std::vector<std::string> command_log(const std::string& square, void (*command)(cmd::Context&)) {
  cmd::Context ctx;
  cmd::ImportSquareMenuItemClick(ctx, square);
  ctx.log.Clear();
  command(ctx);
  return ctx.log.lines();
}

/// "... (total N)" of a transversals structure line: N.
std::string total_of(const std::string& line) {
  const std::size_t at = line.rfind("(total ");
  if (at == std::string::npos) return line;
  return line.substr(at + 7, line.size() - at - 8);
}

// Squares on which a mix-up of columns shows: random DLS (more transversals than diagonal
// ones, no mate), special squares (one mate, several mates), a Latin square that is not
// diagonal (transversals, but no mate and no type), a partial square (refused, fillings
// counted) and a complete square that is not Latin.
std::vector<std::string> column_test_squares() {
  std::vector<std::string> squares;
  for (std::uint32_t seed = 1; seed <= 3; ++seed)
    squares.push_back(SquareToString(dlslab::test::random_dls(seed), false));
  for (std::size_t i = 0; i < 6; ++i) squares.emplace_back(kSpecialSquares[i].digits);
  std::string rows_swapped = dlslab::test::kBachelor;
  std::swap_ranges(rows_swapped.begin(), rows_swapped.begin() + 10, rows_swapped.begin() + 30);
  squares.push_back(rows_swapped);
  std::string partial = dlslab::test::kBachelor;
  for (const int cell : {3, 17, 26, 38, 44, 51, 69, 72, 80, 95}) partial[cell] = '-';
  squares.push_back(partial);
  squares.emplace_back(100, '7');
  return squares;
}

// Every per-square operation, line by line: as many columns as its header names, and each
// column what the single-square command shows for that square.
TEST(OperationColumns, EveryColumnIsWhatTheSingleSquareCommandShows) {
  const test::ScratchFolder folder;
  const std::vector<std::string> squares = column_test_squares();
  std::string text;
  for (const std::string& s : squares) text += s + "\n";
  const std::string input = folder.write_file("squares.txt", text);

  int differing_counts = 0;
  int several_mates = 0;
  for (const Operation operation :
       {Operation::kOdls, Operation::kType, Operation::kTransversals, Operation::kProperties,
        Operation::kFillings, Operation::kValidate}) {
    SCOPED_TRACE(std::string(operation_name(operation)));
    BatchOptions options;
    options.operation = operation;
    options.inputs = {input};
    options.threads = 2;
    std::ostringstream out;
    std::ostringstream err;
    Reporter reporter(err, Reporter::ProgressMode::kNone);
    const std::atomic<bool> stop{false};
    ASSERT_EQ(run_batch(options, out, reporter, stop).end, BatchSummary::End::kComplete)
        << err.str();
    std::vector<std::string> lines = split_text(out.str(), '\n');
    ASSERT_EQ(lines.back(), "");  // the output ends with a line break
    lines.pop_back();
    ASSERT_EQ(lines.size(), squares.size() + 1);
    const std::vector<std::string> header = split_text(std::string(tsv_header(operation)), '\t');
    EXPECT_EQ(lines[0], tsv_header(operation));
    for (std::size_t i = 0; i < squares.size(); ++i) {
      SCOPED_TRACE("square " + std::to_string(i + 1));
      const std::vector<std::string> row = split_text(lines[i + 1], '\t');
      ASSERT_EQ(row.size(), header.size()) << lines[i + 1];
      EXPECT_EQ(row[0], std::to_string(i + 1));
      EXPECT_EQ(row[1], squares[i]);
      const std::string& square = squares[i];
      switch (operation) {
        case Operation::kOdls: {
          const std::vector<std::string> log = command_log(square, cmd::GetOdlsMenuItemClick);
          if (!log.at(0).starts_with("ODLS found: ")) {
            EXPECT_EQ(row[2], log.at(0));
            EXPECT_EQ(row[3], "");
            break;
          }
          EXPECT_EQ(row[2], log[0].substr(12));
          std::string mates;
          for (std::size_t k = 1; k < log.size() && log[k].starts_with("DLS "); ++k) {
            std::string mate = log[k].substr(log[k].find(": ") + 2);
            std::erase(mate, ' ');
            mates += (mates.empty() ? "" : " ") + mate;
          }
          EXPECT_EQ(row[3], mates);
          several_mates += std::stoi(row[2]) > 1;
          break;
        }
        case Operation::kType:
          EXPECT_EQ(row[2], command_log(square, cmd::GetOdlsTypeMenuItemClick).at(0));
          break;
        case Operation::kTransversals: {
          const std::vector<std::string> log =
              command_log(square, cmd::TransversalsStructureAnalysisMenuItemClick);
          ASSERT_FALSE(log.empty());
          EXPECT_EQ(row[2], total_of(log[0]));
          EXPECT_EQ(row[3], total_of(log.size() > 1 ? log[1] : log[0]));
          differing_counts += row[2] != row[3];
          break;
        }
        case Operation::kProperties: {
          cmd::Context ctx;
          cmd::ImportSquareMenuItemClick(ctx, square);
          EXPECT_EQ(row[2], cmd::get_status_text(ctx.model));
          break;
        }
        case Operation::kFillings:
          EXPECT_EQ("Fillings count: " + row[2],
                    command_log(square, cmd::GetFillingsCountMenuItemClick).at(0));
          break;
        case Operation::kValidate: {
          const bool valid =
              IsDiagonalLatin(StringToSquare(square)) && square.find('-') == std::string::npos;
          EXPECT_EQ(row[2], valid ? "yes" : "no");
          EXPECT_EQ(row[3].empty(), valid) << row[3];
          break;
        }
        default:
          break;
      }
    }
  }
  // The squares did tell the columns apart.
  EXPECT_GE(differing_counts, 5);
  EXPECT_GE(several_mates, 2);
}

}  // namespace
}  // namespace dlslab::batch

namespace dlslab::batch {
namespace {

TEST(validation_problem, NamesTheFirstRepeatOfAColumn) {
  TLatinSquare square = StringToSquare(dlslab::test::kBachelor);
  EXPECT_EQ(validation_problem(square), "");
  std::swap(square[3][1], square[3][2]);  // row 3 keeps its values, columns 1 and 2 not
  EXPECT_EQ(validation_problem(square), "value 7 twice in column 1, again at (4, 1)");
}

}  // namespace
}  // namespace dlslab::batch
