// The reader keeps one line of one input in hand at a time: squares are handed out as soon as
// their last cell is read, so memory does not grow with the input. Each kind of input is read
// the way the system reads it elsewhere, with one difference: a line or block that cannot be
// a square is reported and skipped instead of ending the read.
//
// Collection blocks are ten row lines and one separator line, which is skipped unread. A row
// line's symbols sit at every second character, from the second one when the line begins with
// a blank. A block whose row line is unreadable is skipped as a whole (eleven lines), so the
// blocks after it stay aligned; an empty line where a row should be ends the block there, and
// the next block starts after it. Empty lines between blocks are passed over.
#include "batch/square_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "model/parse_number.h"

namespace dlslab::batch {
namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr int kCells = kOrder * kOrder;

bool is_cell_char(char c) { return (c >= '0' && c <= '9') || c == '-'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

bool is_header(std::string_view trimmed) { return trimmed == "DLS" || trimmed == "ODLS"; }

// Up to 100 non-blank characters of a line; more than 100 gives 101.
std::size_t non_blanks(std::string_view line, std::array<char, kCells>& out) {
  std::size_t n = 0;
  for (const char c : line) {
    if (c == ' ' || c == '\t') continue;
    if (n == kCells) return kCells + 1;
    out[n++] = c;
  }
  return n;
}

std::string quoted(std::string_view token) {
  if (token.size() > 20) return "\"" + std::string(token.substr(0, 20)) + "...\"";
  return "\"" + std::string(token) + "\"";
}

}  // namespace

LineReader::LineReader(int fd) : fd_(fd), buffer_(kChunk + kMaxLine) {}

LineReader::~LineReader() {
  if (fd_ > 0) ::close(fd_);
}

bool LineReader::fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  while (end_ < buffer_.size()) {
    const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = std::strerror(errno);
    if (n <= 0) {
      eof_ = true;
      return false;
    }
    end_ += static_cast<std::size_t>(n);
    bytes_read_ += static_cast<std::uint64_t>(n);
    return true;
  }
  return true;
}

bool LineReader::next(std::string_view& line, bool& too_long) {
  too_long = false;
  for (;;) {
    const char* const from = buffer_.data() + begin_;
    const void* found = std::memchr(from, '\n', end_ - begin_);
    if (found != nullptr) {
      const std::size_t length = static_cast<const char*>(found) - from;
      begin_ += length + 1;
      if (skip_to_break_) {
        skip_to_break_ = false;
        continue;
      }
      line = std::string_view(from, std::min(length, kMaxLine));
      too_long = length > kMaxLine;
      if (!too_long && !line.empty() && line.back() == '\r') line.remove_suffix(1);
      return true;
    }
    if (skip_to_break_) {
      begin_ = end_;
    } else if (end_ - begin_ >= kMaxLine) {
      // A line this long is no square; hand out its start and drop the rest.
      line = std::string_view(from, kMaxLine);
      too_long = true;
      begin_ += kMaxLine;
      skip_to_break_ = true;
      return true;
    }
    if (!fill()) {
      if (begin_ == end_ || skip_to_break_) return false;
      line = std::string_view(buffer_.data() + begin_, end_ - begin_);
      begin_ = end_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      return true;
    }
  }
}

SquareReader::SquareReader(std::vector<std::string> inputs) : inputs_(std::move(inputs)) {
  for (const std::string& name : inputs_) {
    struct stat info {};
    if (name == "-" || ::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
      total_bytes_ = 0;
      break;
    }
    total_bytes_ += static_cast<std::uint64_t>(info.st_size);
  }
}

SquareReader::~SquareReader() = default;

double SquareReader::fraction_read() const {
  if (total_bytes_ == 0) return -1;
  const std::uint64_t read = finished_bytes_ + (lines_ ? lines_->bytes_read() : 0);
  return static_cast<double>(read) / static_cast<double>(total_bytes_);
}

void SquareReader::problem(std::vector<InputProblem>& problems, std::uint64_t line,
                           std::string what) const {
  problems.push_back(InputProblem{source_, line, std::move(what)});
}

bool SquareReader::open_next(std::vector<InputProblem>& problems) {
  while (next_source_ < inputs_.size()) {
    source_ = next_source_++;
    const std::string& name = inputs_[source_];
    const int fd = name == "-" ? 0 : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      problem(problems, 0, std::string("cannot open: ") + std::strerror(errno));
      continue;
    }
    lines_ = std::make_unique<LineReader>(fd);
    line_number_ = 0;
    kind_ = Kind::kUnknown;
    record_state_ = RecordState::kHeader;
    cells_ = 0;
    rows_ = 0;
    broken_block_ = false;
    return true;
  }
  return false;
}

void SquareReader::finish_source(std::vector<InputProblem>& problems) {
  if (!lines_->error().empty()) problem(problems, line_number_, "read error: " + lines_->error());
  switch (kind_) {
    case Kind::kSquareFile:
      if (record_state_ == RecordState::kOrder || record_state_ == RecordState::kCells)
        problem(problems, record_line_, "the file ends inside the square that begins on this line");
      break;
    case Kind::kCollection:
      if (rows_ == kOrder && !broken_block_) {
        ready_.push_back(current_);  // the last block may go without its separator line
      } else if (rows_ > 0 && !broken_block_) {
        problem(problems, record_line_,
                "the file ends inside the block that begins on this line (" +
                    std::to_string(rows_) + " of 10 rows)");
      }
      break;
    default:
      break;
  }
  finished_bytes_ += lines_->bytes_read();
  lines_.reset();
}

bool SquareReader::next(InputSquare& square, std::vector<InputProblem>& problems) {
  while (ready_.empty()) {
    if (!lines_ && !open_next(problems)) return false;
    std::string_view line;
    bool too_long = false;
    if (lines_->next(line, too_long)) {
      ++line_number_;
      on_line(line, too_long, problems);
    } else {
      finish_source(problems);
    }
  }
  square = ready_.front();
  ready_.pop_front();
  return true;
}

void SquareReader::on_line(std::string_view line, bool too_long,
                           std::vector<InputProblem>& problems) {
  if (kind_ == Kind::kUnknown) {
    const std::string_view trimmed = trim_blanks(line);
    if (trimmed.empty()) return;
    std::array<char, kCells> scratch{};
    if (is_header(trimmed)) {
      kind_ = Kind::kSquareFile;
    } else if (trimmed == "-") {
      kind_ = Kind::kCollection;  // an empty collection
      return;
    } else if (!too_long && non_blanks(line, scratch) == kCells) {
      kind_ = Kind::kLines;
    } else {
      kind_ = Kind::kCollection;
    }
  }
  current_.source = source_;
  switch (kind_) {
    case Kind::kSquareFile:
      on_square_file_line(too_long ? std::string_view() : line, problems);
      if (too_long) {
        problem(problems, line_number_, "line too long");
        record_state_ = RecordState::kSkipping;
      }
      break;
    case Kind::kLines:
      on_plain_line(line, too_long, problems);
      break;
    case Kind::kCollection:
      on_collection_line(line, too_long, problems);
      break;
    case Kind::kUnknown:
      break;
  }
}

void SquareReader::on_square_file_line(std::string_view line, std::vector<InputProblem>& problems) {
  const std::string_view trimmed = trim_blanks(line);
  if (is_header(trimmed)) {
    if (record_state_ == RecordState::kOrder || record_state_ == RecordState::kCells)
      problem(problems, record_line_,
              "the square that begins on this line ends early, on line " +
                  std::to_string(line_number_));
    record_state_ = RecordState::kOrder;
    pair_ = trimmed == "ODLS";
    record_line_ = line_number_;
    cells_ = 0;
    return;
  }
  if (record_state_ == RecordState::kSkipping) return;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && is_blank(line[pos])) ++pos;
    if (pos == line.size()) break;
    std::size_t end = pos;
    while (end < line.size() && !is_blank(line[end])) ++end;
    const std::string_view token = line.substr(pos, end - pos);
    pos = end;
    if (record_state_ == RecordState::kHeader) {
      problem(problems, line_number_, "expected \"DLS\" or \"ODLS\", found " + quoted(token));
      record_state_ = RecordState::kSkipping;
      return;
    }
    const std::optional<long long> number =
        parse_number<long long>(token.size() > 1 && token.front() == '+' ? token.substr(1) : token);
    if (!number) {
      problem(problems, line_number_, "not a number: " + quoted(token));
      record_state_ = RecordState::kSkipping;
      return;
    }
    const long long value = *number;
    if (record_state_ == RecordState::kOrder) {
      if (value != kOrder) {
        problem(problems, line_number_,
                "order " + std::string(token) + ": only squares of order 10 are read");
        record_state_ = RecordState::kSkipping;
        return;
      }
      record_state_ = RecordState::kCells;
      continue;
    }
    if (value < -1 || value >= kOrder) {
      problem(problems, line_number_, "value " + std::string(token) + " is not -1..9");
      record_state_ = RecordState::kSkipping;
      return;
    }
    current_.digits[cells_ % kCells] = value < 0 ? '-' : static_cast<char>('0' + value);
    ++cells_;
    if (cells_ % kCells == 0) {
      current_.line = record_line_;
      ready_.push_back(current_);
      if (cells_ == (pair_ ? 2 : 1) * kCells) record_state_ = RecordState::kHeader;
      return;  // the second square of a pair starts on a new line, as the file loader reads it
    }
  }
}

void SquareReader::on_plain_line(std::string_view line, bool too_long,
                                 std::vector<InputProblem>& problems) {
  std::size_t n = 0;
  if (line.size() == kCells) {
    // The common line, without blanks: one copy.
    std::memcpy(current_.digits.data(), line.data(), kCells);
    n = kCells;
  } else {
    n = too_long ? kCells + 1 : non_blanks(line, current_.digits);
  }
  if (n == 0) return;
  bool ok = n == kCells;
  for (std::size_t i = 0; ok && i < kCells; ++i) ok = is_cell_char(current_.digits[i]);
  if (!ok) {
    problem(problems, line_number_, "not a digit string of 100 cells");
    return;
  }
  current_.line = line_number_;
  ready_.push_back(current_);
}

void SquareReader::on_collection_line(std::string_view line, bool too_long,
                                      std::vector<InputProblem>& problems) {
  if (rows_ == kOrder) {  // the separator
    if (!broken_block_) ready_.push_back(current_);
    rows_ = 0;
    broken_block_ = false;
    return;
  }
  if (line.empty()) {
    if (rows_ > 0 && !broken_block_)
      problem(problems, line_number_,
              "empty line inside the block that begins on line " + std::to_string(record_line_) +
                  " (" + std::to_string(rows_) + " of 10 rows)");
    rows_ = 0;
    broken_block_ = false;
    return;
  }
  if (rows_ == 0) {
    record_line_ = line_number_;
    current_.line = line_number_;
  }
  if (!broken_block_) {
    const std::size_t p = line.front() == ' ' ? 1 : 0;  // 0-based position of the first symbol
    if (too_long || line.size() < p + 2 * (kOrder - 1) + 1) {
      problem(problems, line_number_,
              too_long ? std::string("line too long") : "row line too short: " + quoted(line));
      broken_block_ = true;
    } else {
      for (int j = 0; j < kOrder; ++j) {
        const char c = line[p + 2 * j];
        if (!is_cell_char(c)) {
          problem(problems, line_number_,
                  "not a digit: " + quoted(std::string_view(&line[p + 2 * j], 1)));
          broken_block_ = true;
          break;
        }
        current_.digits[rows_ * kOrder + j] = c;
      }
    }
  }
  ++rows_;
}

}  // namespace dlslab::batch
