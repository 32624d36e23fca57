// The batch input reader on arbitrary bytes: every square it hands out is a digit string of
// order 10, squares and problems come in line order, and a second copy of the input reads
// exactly like the first (no state leaks from one input into the next).
#include <cstdlib>
#include <string_view>
#include <vector>

#include "batch/square_reader.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using dlslab::batch::InputProblem;
  using dlslab::batch::InputSquare;
  const std::string& file = dlslab::fuzz::write_scratch_file(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::uint64_t lines = 1;
  for (const char c : text) lines += c == '\n';

  dlslab::batch::SquareReader reader({file, file});
  std::vector<InputSquare> squares[2];
  std::vector<InputProblem> problems;
  std::size_t problems_of[2] = {0, 0};
  std::uint64_t last_line[2] = {0, 0};
  InputSquare square;
  for (;;) {
    const std::size_t before = problems.size();
    const bool got = reader.next(square, problems);
    for (std::size_t i = before; i < problems.size(); ++i) {
      if (problems[i].source > 1 || problems[i].line > lines) std::abort();
      ++problems_of[problems[i].source];
    }
    if (!got) break;
    if (square.source > 1 || square.line < 1 || square.line > lines) std::abort();
    if (square.line < last_line[square.source]) std::abort();
    last_line[square.source] = square.line;
    for (const char c : square.digits)
      if ((c < '0' || c > '9') && c != '-') std::abort();
    squares[square.source].push_back(square);
  }
  if (squares[0].size() != squares[1].size() || problems_of[0] != problems_of[1]) std::abort();
  for (std::size_t i = 0; i < squares[0].size(); ++i)
    if (squares[0][i].digits != squares[1][i].digits || squares[0][i].line != squares[1][i].line)
      std::abort();
  return 0;
}
