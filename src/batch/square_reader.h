#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/types.h"

namespace dlslab::batch {

/// One order-10 square of the input: its digit string ('0'..'9', '-' for an empty cell) and
/// where it was found.
struct InputSquare {
  std::array<char, kOrder * kOrder> digits{};
  std::uint32_t source = 0;  ///< index into the reader's inputs
  std::uint64_t line = 0;    ///< 1-based line where the square's text begins
};

/// A line or block of the input that holds no readable square; it is skipped.
struct InputProblem {
  std::uint32_t source = 0;
  std::uint64_t line = 0;
  std::string what;
};

/// The lines of one file or of standard input, read in large chunks. A line's view is valid
/// until the next call; the line break and a carriage return before it are not part of it.
class LineReader {
 public:
  /// Lines longer than this are cut and flagged.
  static constexpr std::size_t kMaxLine = 1 << 16;

  /// Reads `fd` and closes it at the end unless it is standard input.
  explicit LineReader(int fd);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  /// The next line; false at the end. `too_long` tells that the line was cut at kMaxLine.
  bool next(std::string_view& line, bool& too_long);
  [[nodiscard]] std::uint64_t bytes_read() const { return bytes_read_; }
  /// Non-empty when reading failed; the reader then reports the end.
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  bool fill();

  int fd_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool skip_to_break_ = false;  // the rest of a cut line is still to be dropped
  std::uint64_t bytes_read_ = 0;
  std::string error_;
};

/// Streams the squares of a list of inputs in order: collection files (blocks of ten row lines
/// and a separator line), square files (a "DLS" or "ODLS" header, the order, the values; an
/// ODLS file gives both squares) and plain files of 100-character digit strings, one per line.
/// "-" is standard input. Each input's kind is told by its first non-empty line. Only squares
/// of order 10 are read; anything else is reported as a problem with its line and skipped.
class SquareReader {
 public:
  explicit SquareReader(std::vector<std::string> inputs);
  ~SquareReader();

  /// The next square; false when every input is read. Problems met on the way are appended to
  /// `problems` in the order they were found.
  bool next(InputSquare& square, std::vector<InputProblem>& problems);

  [[nodiscard]] const std::string& source_name(std::uint32_t source) const {
    return inputs_[source];
  }
  /// Size of all inputs in bytes; 0 when some size is unknown.
  [[nodiscard]] std::uint64_t total_bytes() const { return total_bytes_; }
  /// Share of the inputs' bytes read so far, or a negative value when the size is unknown
  /// (standard input, a pipe).
  [[nodiscard]] double fraction_read() const;

 private:
  enum class Kind { kUnknown, kSquareFile, kLines, kCollection };
  enum class RecordState { kHeader, kOrder, kCells, kSkipping };

  bool open_next(std::vector<InputProblem>& problems);
  void finish_source(std::vector<InputProblem>& problems);
  void on_line(std::string_view line, bool too_long, std::vector<InputProblem>& problems);
  void on_square_file_line(std::string_view line, std::vector<InputProblem>& problems);
  void on_plain_line(std::string_view line, bool too_long, std::vector<InputProblem>& problems);
  void on_collection_line(std::string_view line, bool too_long,
                          std::vector<InputProblem>& problems);
  void problem(std::vector<InputProblem>& problems, std::uint64_t line, std::string what) const;

  std::vector<std::string> inputs_;
  std::uint64_t total_bytes_ = 0;  // of all inputs; 0 when some size is unknown
  std::uint64_t finished_bytes_ = 0;
  std::uint32_t next_source_ = 0;
  std::uint32_t source_ = 0;
  std::unique_ptr<LineReader> lines_;
  std::uint64_t line_number_ = 0;
  Kind kind_ = Kind::kUnknown;
  std::deque<InputSquare> ready_;

  // The square or block being read.
  InputSquare current_;
  int cells_ = 0;
  std::uint64_t record_line_ = 0;
  // Square files: header, order, values.
  RecordState record_state_ = RecordState::kHeader;
  bool pair_ = false;
  // Collection files: rows read of the current block, and whether one of them was unreadable.
  int rows_ = 0;
  bool broken_block_ = false;
};

}  // namespace dlslab::batch
