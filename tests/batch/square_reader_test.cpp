#include "batch/square_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "batch/batch_test_files.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab::batch {
namespace {

using test::collection_block;
using test::ScratchFolder;

struct Read {
  std::vector<InputSquare> squares;
  std::vector<InputProblem> problems;

  [[nodiscard]] std::string digits(std::size_t i) const {
    return std::string(squares.at(i).digits.data(), squares.at(i).digits.size());
  }
};

Read read_all(std::vector<std::string> inputs) {
  SquareReader reader(std::move(inputs));
  Read read;
  InputSquare square;
  while (reader.next(square, read.problems)) read.squares.push_back(square);
  return read;
}

std::string square_text(std::uint32_t seed) {
  return SquareToString(dlslab::test::random_dls(seed), false);
}

// The square file form: header, order, the values each after a blank.
std::string square_file_line(std::string_view digits) {
  std::string line;
  for (const char c : digits) line += c == '-' ? std::string(" -1") : std::string(" ") + c;
  return line;
}

class SquareReaderTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  const std::string a = square_text(1), b = square_text(2), c = square_text(3);
};

TEST_F(SquareReaderTest, ReadsEveryKindOfInputInOrderWithItsLine) {
  // What follows a square on its line is not read, as the square file loader does.
  // A collection whose second block has its rows behind one leading blank, as some writers do.
  std::string second;
  for (int r = 0; r < 10; ++r) {
    second += ' ';
    for (int k = 0; k < 10; ++k) second += b.substr(r * 10 + k, 1) + ' ';
    second += '\n';
  }
  const std::string collection =
      folder.write_file("c.txt", collection_block(a) + second + "\n" + collection_block(c));
  const std::string pair = folder.write_file(
      "p.txt", "ODLS\r\n10\r\n" + square_file_line(a) + " 9 9\r\n" + square_file_line(b));
  const std::string single = folder.write_file("s.txt", "DLS\n10\n" + square_file_line(c) + " 3\n");
  const std::string lines = folder.write_file("l.txt", a + "\r\n\r\n" + b + "\n" + c);

  const Read read = read_all({collection, pair, single, lines});
  EXPECT_TRUE(read.problems.empty());
  ASSERT_EQ(read.squares.size(), 9u);
  const std::vector<std::string> expected{a, b, c, a, b, c, a, b, c};
  const std::vector<std::uint64_t> lines_of{1, 12, 23, 1, 1, 1, 1, 3, 4};
  const std::vector<std::uint32_t> sources{0, 0, 0, 1, 1, 2, 3, 3, 3};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(read.digits(i), expected[i]) << i;
    EXPECT_EQ(read.squares[i].line, lines_of[i]) << i;
    EXPECT_EQ(read.squares[i].source, sources[i]) << i;
  }
}

TEST_F(SquareReaderTest, EmptyCellsAndBlanksInDigitLines) {
  std::string partial = a;
  partial[5] = '-';
  std::string spaced;
  for (const char ch : b) spaced += std::string(1, ch) + ' ';
  const Read read = read_all({folder.write_file("l.txt", partial + "\n" + spaced + "\n")});
  ASSERT_EQ(read.squares.size(), 2u);
  EXPECT_EQ(read.digits(0), partial);
  EXPECT_EQ(read.digits(1), b);
  const Read file = read_all({folder.write_file("s.txt", "DLS\n10\n" + square_file_line(partial))});
  ASSERT_EQ(file.squares.size(), 1u);
  EXPECT_EQ(file.digits(0), partial);
}

TEST_F(SquareReaderTest, BrokenBlocksAreReportedAndTheRestIsRead) {
  // Block 2 has a letter in its third row; block 3 stops after four rows at an empty line.
  std::string broken = collection_block(b);
  broken[2 * 21 + 6] = 'x';
  std::string cut = collection_block(c).substr(0, 4 * 21) + "\n";
  const std::string file =
      folder.write_file("c.txt", collection_block(a) + broken + cut + collection_block(a) + "\n\n");
  const Read read = read_all({file});
  ASSERT_EQ(read.squares.size(), 2u);
  EXPECT_EQ(read.digits(1), a);
  EXPECT_EQ(read.squares[1].line, 28u);
  ASSERT_EQ(read.problems.size(), 2u);
  EXPECT_EQ(read.problems[0].line, 14u);
  EXPECT_EQ(read.problems[0].what, "not a digit: \"x\"");
  EXPECT_EQ(read.problems[1].line, 27u);
  EXPECT_EQ(read.problems[1].what,
            "empty line inside the block that begins on line 23 (4 of 10 rows)");

  // A short row, and a file that ends inside a block.
  const Read tail = read_all(
      {folder.write_file("t.txt", collection_block(a) + "0 1 2\n" + collection_block(b).substr(21) +
                                      collection_block(c).substr(0, 42))});
  ASSERT_EQ(tail.squares.size(), 1u);
  ASSERT_EQ(tail.problems.size(), 2u);
  EXPECT_EQ(tail.problems[0].line, 12u);
  EXPECT_EQ(tail.problems[0].what, "row line too short: \"0 1 2\"");
  EXPECT_EQ(tail.problems[1].line, 23u);
  EXPECT_EQ(tail.problems[1].what,
            "the file ends inside the block that begins on this line (2 of 10 rows)");
}

TEST_F(SquareReaderTest, BadDigitLinesAndSquareFilesAreReported) {
  const Read lines = read_all({folder.write_file(
      "l.txt", a + "\n" + a.substr(1) + "\n" + a.substr(0, 99) + "x\n" + b + "\n")});
  ASSERT_EQ(lines.squares.size(), 2u);
  EXPECT_EQ(lines.digits(1), b);
  EXPECT_EQ(lines.squares[1].line, 4u);
  ASSERT_EQ(lines.problems.size(), 2u);
  EXPECT_EQ(lines.problems[0].line, 2u);
  EXPECT_EQ(lines.problems[1].line, 3u);

  std::string bad_value = square_file_line(b);
  bad_value.replace(bad_value.find(' ', 10), 2, " 12");
  const std::string file =
      folder.write_file("s.txt", "DLS\n5\n" + square_file_line(a.substr(0, 25)) + "\nDLS\n10\n" +
                                     bad_value + "\nDLS\n10\n" + square_file_line(c) +
                                     "\nDLS\n10\n1 2 3\nODLS\n10\n" + square_file_line(a));
  const Read squares = read_all({file});
  ASSERT_EQ(squares.squares.size(), 2u);
  EXPECT_EQ(squares.digits(0), c);
  EXPECT_EQ(squares.squares[0].line, 7u);
  EXPECT_EQ(squares.digits(1), a);  // the first square of the cut pair
  ASSERT_EQ(squares.problems.size(), 4u);
  EXPECT_EQ(squares.problems[0].line, 2u);
  EXPECT_EQ(squares.problems[0].what, "order 5: only squares of order 10 are read");
  EXPECT_EQ(squares.problems[1].line, 6u);
  EXPECT_EQ(squares.problems[1].what, "value 12 is not -1..9");
  EXPECT_EQ(squares.problems[2].line, 10u);
  EXPECT_EQ(squares.problems[2].what, "the square that begins on this line ends early, on line 13");
  EXPECT_EQ(squares.problems[3].line, 13u);
  EXPECT_EQ(squares.problems[3].what, "the file ends inside the square that begins on this line");
}

TEST_F(SquareReaderTest, EmptyInputsAndUnopenableFiles) {
  const Read read =
      read_all({folder.write_file("empty.txt", ""), folder.write_file("dash.txt", "-"),
                folder.file_path("missing.txt"), folder.write_file("l.txt", a)});
  ASSERT_EQ(read.squares.size(), 1u);
  EXPECT_EQ(read.squares[0].source, 3u);
  ASSERT_EQ(read.problems.size(), 1u);
  EXPECT_EQ(read.problems[0].source, 2u);
  EXPECT_EQ(read.problems[0].what, "cannot open: No such file or directory");
}

TEST(LineReader, CutsOverlongLinesAndReadsALastLineWithoutBreak) {
  ScratchFolder folder;
  const std::string huge(LineReader::kMaxLine + 10, '7');
  const std::string file = folder.write_file("x.txt", "one\r\n" + huge + "\ntwo\r\nthree");
  LineReader lines(::open(file.c_str(), O_RDONLY));
  std::string_view line;
  bool too_long = false;
  std::vector<std::pair<std::string, bool>> got;
  while (lines.next(line, too_long)) got.emplace_back(std::string(line.substr(0, 8)), too_long);
  const std::vector<std::pair<std::string, bool>> expected{
      {"one", false}, {"77777777", true}, {"two", false}, {"three", false}};
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace dlslab::batch
