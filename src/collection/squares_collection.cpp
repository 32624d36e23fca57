// A collection keeps its entries back to back in one character pool with an offset table, so a
// million order-10 squares take about 100 MB and no allocation per entry.
//
// Duplicate detection: an open-addressing hash table (linear probing, at most half full) maps
// the text of an entry to the number of the first entry with that text. Entries added without
// duplicate checks may repeat a text; the table keeps pointing at the first of them, which is
// exactly what a scan from the front finds, so both lookups give the same entries, order and
// counts.
//
// Collection file: one block per square, ten row lines and one separator line. A row line holds
// the ten symbols at every second character, starting at the second character when the line
// begins with a blank. Lines end in CR LF or LF on reading; writing uses CR LF.
#include "collection/squares_collection.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ios>
#include <memory>
#include <system_error>

#include "model/diagnostics.h"
#include "model/error.h"
#include "model/file_output.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"

namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;
constexpr int kProgressStep = 50000;
constexpr const char* kWrongFormat =
    "TSquaresCollection.LoadFromFile_VelmoraFormat(): Wrong file format";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// Writes the normalized 100-character form of s into out (see NormalizedSquareString).
void normalize_into(std::string_view s, char* out) {
  std::string without_blanks;
  if (s.find(' ') != std::string_view::npos) {
    without_blanks = s;
    RemoveSpaces(without_blanks);
    s = without_blanks;
  }
  // Cells as StringToSquare leaves them: past the end of s the first row reads 0..9 and the
  // other rows are empty.
  std::array<char, kCells> cells;
  for (int p = 0; p < kCells; ++p) {
    const char c = p < static_cast<int>(s.size()) ? s[p] : (p < kOrder ? '0' + p : '-');
    cells[p] = is_digit(c) ? c : '-';
  }
  std::array<char, kOrder> map;
  map.fill('0');  // a value missing from the first row becomes 0, as NormalizeByFirstRow does
  for (int k = 0; k < kOrder; ++k)
    if (is_digit(cells[k])) map[cells[k] - '0'] = static_cast<char>('0' + k);
  for (int k = 0; k < kOrder; ++k) out[k] = static_cast<char>('0' + k);
  for (int p = kOrder; p < kCells; ++p) out[p] = is_digit(cells[p]) ? map[cells[p] - '0'] : '-';
}

std::uint64_t hash_text(std::string_view s) {
  constexpr std::uint64_t kMul = 0xff51afd7ed558ccdULL;
  std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ s.size();
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    h = (h ^ w) * kMul;
    h ^= h >> 29;
  }
  if (i < s.size()) {
    std::uint64_t w = 0;
    std::memcpy(&w, s.data() + i, s.size() - i);
    h = (h ^ w) * kMul;
  }
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void throw_io_error(const std::string& what, const std::string& file_name) {
  throw std::ios_base::failure(what + " \"" + file_name + "\"",
                               std::error_code(errno, std::generic_category()));
}

/// Reads a file line by line through one buffer; a line is a view valid until the next read.
class LineReader {
 public:
  LineReader(std::FILE* file, const std::string& file_name)
      : file_(file), file_name_(file_name), buffer_(1 << 16) {}

  /// Bytes taken from the file so far.
  [[nodiscard]] std::uint64_t bytes_read() const { return bytes_read_; }
  /// Lines of the file read so far: the number, from 1, of the last one.
  [[nodiscard]] std::uint64_t lines_read() const { return lines_read_; }

  /// True when every byte has been read.
  bool at_end() {
    if (begin_ == end_) fill();
    return begin_ == end_;
  }

  /// The next line without its line break (and without the CR of a CR LF); empty at the end.
  std::string_view read_line() {
    for (;;) {
      const void* nl = std::memchr(buffer_.data() + begin_, '\n', end_ - begin_);
      if (nl != nullptr) {
        const std::size_t at = static_cast<const char*>(nl) - buffer_.data();
        return take(at - begin_, at + 1);
      }
      if (eof_) return take(end_ - begin_, end_);
      fill();
    }
  }

 private:
  std::string_view take(std::size_t length, std::size_t next) {
    std::string_view line(buffer_.data() + begin_, length);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (next > begin_) ++lines_read_;  // past the end there is no line to count
    begin_ = next;
    return line;
  }

  // Moves the unread bytes to the front and reads more behind them.
  void fill() {
    if (eof_) return;
    if (begin_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += got;
    bytes_read_ += got;
    if (got == 0) {
      if (std::ferror(file_)) throw_io_error("Cannot read the collection file", file_name_);
      eof_ = true;
    }
  }

  std::FILE* file_;
  const std::string& file_name_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::uint64_t bytes_read_ = 0;
  std::uint64_t lines_read_ = 0;
  bool eof_ = false;
};

}  // namespace

std::string normalized_square_string(std::string_view s) {
  std::string out(kCells, '-');
  normalize_into(s, out.data());
  return out;
}

void TSquaresCollection::AddSquare(const TLatinSquare& square, bool check_duplicates,
                                   bool normalize) {
  AddSquareString(SquareToString(square, false), check_duplicates, normalize);
}

void TSquaresCollection::AddSquareString(std::string_view s, bool check_duplicates,
                                         bool normalize) {
  std::array<char, kCells> normalized;
  std::string own_copy;
  std::string_view text = s;
  if (normalize) {
    normalize_into(s, normalized.data());
    text = std::string_view(normalized.data(), kCells);
  } else if (s.data() >= pool_.data() && s.data() < pool_.data() + pool_.size()) {
    own_copy = s;  // an entry of this collection: the pool may move while appending
    text = own_copy;
  }

  int found = -1;
  std::uint64_t hash = 0;
  if (lookup_ == Lookup::kHashed) {
    hash = hash_text(text);
    if (!slots_.empty()) {
      const std::size_t mask = slots_.size() - 1;
      const auto tag = static_cast<std::uint32_t>(hash >> 32);
      for (std::size_t pos = hash & mask; slots_[pos].entry_plus_one != 0; pos = (pos + 1) & mask) {
        const int entry = static_cast<int>(slots_[pos].entry_plus_one) - 1;
        if (slots_[pos].tag == tag && Items(entry) == text) {
          found = entry;
          break;
        }
      }
    }
  } else if (check_duplicates) {
    found = index_of_string_linear(text);
  }

  if (check_duplicates && found >= 0) {
    ++counts_[found];
    return;
  }
  append(text);
  if (lookup_ == Lookup::kHashed && found < 0) index_insert(Count() - 1, hash);
}

void TSquaresCollection::append(std::string_view s) {
  pool_.append(s);
  starts_.push_back(pool_.size());
  counts_.push_back(1);
}

void TSquaresCollection::reserve(std::size_t entries) {
  const std::size_t total = static_cast<std::size_t>(Count()) + entries;
  pool_.reserve(total * kCells);
  starts_.reserve(total + 1);
  counts_.reserve(total);
  if (lookup_ == Lookup::kHashed && 2 * total > slots_.size()) {
    std::size_t size = 1024;
    while (size < 2 * total) size *= 2;
    resize_index(size);
  }
}

void TSquaresCollection::resize_index(std::size_t slots) {
  slots_.assign(slots, Slot{});
  indexed_ = 0;
  rebuild_index();
}

void TSquaresCollection::index_insert(int entry, std::uint64_t hash) {
  if ((indexed_ + 1) * 2 > slots_.size())
    resize_index(std::max<std::size_t>(1024, slots_.size() * 2));
  const std::size_t mask = slots_.size() - 1;
  std::size_t pos = hash & mask;
  while (slots_[pos].entry_plus_one != 0) pos = (pos + 1) & mask;
  slots_[pos] = Slot{static_cast<std::uint32_t>(entry + 1), static_cast<std::uint32_t>(hash >> 32)};
  ++indexed_;
}

// Refills the (cleared) slot table from the entries, first occurrences only.
void TSquaresCollection::rebuild_index() {
  const std::size_t mask = slots_.size() - 1;
  for (int i = 0; i < Count(); ++i) {
    const std::string_view text = Items(i);
    const std::uint64_t hash = hash_text(text);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    std::size_t pos = hash & mask;
    bool repeated = false;
    for (; slots_[pos].entry_plus_one != 0; pos = (pos + 1) & mask) {
      if (slots_[pos].tag == tag &&
          Items(static_cast<int>(slots_[pos].entry_plus_one) - 1) == text) {
        repeated = true;
        break;
      }
    }
    if (repeated) continue;
    slots_[pos] = Slot{static_cast<std::uint32_t>(i + 1), tag};
    ++indexed_;
  }
}

TLatinSquare TSquaresCollection::get_square(int index) const { return StringToSquare(Items(index)); }

int TSquaresCollection::IndexOfString(std::string_view s) const {
  if (lookup_ == Lookup::kLinear) return index_of_string_linear(s);
  if (slots_.empty()) return -1;
  const std::uint64_t hash = hash_text(s);
  const auto tag = static_cast<std::uint32_t>(hash >> 32);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t pos = hash & mask; slots_[pos].entry_plus_one != 0; pos = (pos + 1) & mask) {
    const int entry = static_cast<int>(slots_[pos].entry_plus_one) - 1;
    if (slots_[pos].tag == tag && Items(entry) == s) return entry;
  }
  return -1;
}

int TSquaresCollection::IndexOfSquare(const TLatinSquare& square) const {
  return IndexOfString(SquareToString(square, false));
}

int TSquaresCollection::index_of_string_linear(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i) == s) return i;
  return -1;
}

void TSquaresCollection::Clear() {
  std::string().swap(pool_);
  starts_.assign(1, 0);
  starts_.shrink_to_fit();
  std::vector<int>().swap(counts_);
  std::vector<Slot>().swap(slots_);
  indexed_ = 0;
}

void TSquaresCollection::Assign(const TSquaresCollection& other) {
  if (&other == this) return;
  pool_ = other.pool_;
  starts_ = other.starts_;
  counts_ = other.counts_;
  if (lookup_ == other.lookup_) {
    slots_ = other.slots_;
    indexed_ = other.indexed_;
  } else {
    slots_.clear();
    indexed_ = 0;
    if (Count() > 0) reserve(0);
  }
}

void TSquaresCollection::AddCollection(const TSquaresCollection& other) {
  if (Count() == 0) {
    Assign(other);
    return;
  }
  const int n = other.Count();  // fixed before adding, in case other is this collection
  for (int i = 0; i < n; ++i) AddSquareString(other.Items(i), true, true);
}

void TSquaresCollection::LoadFromFile_VelmoraFormat(const std::string& file_name,
                                                    bool check_duplicates, bool normalize) {
  const File file(std::fopen(file_name.c_str(), "rb"));
  if (!file) throw_io_error("Cannot open the collection file", file_name);
  LineReader reader(file.get(), file_name);
  // The shortest block is ten 19-character rows and a separator, each ended by LF.
  std::error_code size_error;
  const std::uintmax_t file_size = std::filesystem::file_size(file_name, size_error);
  constexpr std::uintmax_t kMaxReserve = 10'000'000;
  if (!size_error) reserve(static_cast<std::size_t>(std::min(file_size / 201, kMaxReserve)));

  Progress& progress = current_progress();
  progress.begin("Loading the collection", size_error ? 0 : static_cast<std::uint64_t>(file_size));
  std::array<char, kCells> block;
  while (!reader.at_end()) {
    progress.poll();
    progress.set(reader.bytes_read());
    for (int row = 0; row < kOrder; ++row) {
      const std::string_view line = reader.read_line();
      if (line.empty()) throw CollectionFormatError(kWrongFormat, reader.lines_read());
      const std::size_t first = line[0] == ' ' ? 1 : 0;
      // A row line too short for its ten symbols is as broken as an empty one.
      if (line.size() < first + 2 * kOrder - 1)
        throw CollectionFormatError(kWrongFormat, reader.lines_read());
      for (int col = 0; col < kOrder; ++col) block[row * kOrder + col] = line[first + 2 * col];
    }
    (void)reader.read_line();  // the separator
    const int before = Count();
    AddSquareString(std::string_view(block.data(), kCells), check_duplicates, normalize);
    if (Count() != before && Count() % kProgressStep == 0)
      diag() << "  " << Count() << " squares loaded\n" << std::flush;
  }
}

void TSquaresCollection::SaveToFile(const std::string& file_name) const {
  AtomicFileWriter file(file_name);
  if (!file.ok()) throw_io_error("Cannot create the collection file", file_name);
  auto write = [&](const std::string& text) {
    if (!file.write(text)) throw_io_error("Cannot write the collection file", file_name);
  };

  std::string out;
  if (Count() == 0) out = "-";
  for (int i = 0; i < Count(); ++i) {
    const std::string_view entry = Items(i);
    for (std::size_t k = 0; k < entry.size(); ++k) {
      out += entry[k];
      out += ' ';
      if ((k + 1) % kOrder == 0) out += "\r\n";
    }
    out += "\r\n";
    if (out.size() >= (1 << 20)) {
      write(out);
      out.clear();
    }
  }
  write(out);
  if (!file.commit()) throw_io_error("Cannot write the collection file", file_name);
}

TIntArr StringToIntArr(std::string_view s) {
  TIntArr values(s.size(), 0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (is_digit(c)) values[i] = c - '0';
    if (c >= 'A' && c <= 'Z') values[i] = c - 'A' + 10;
  }
  return values;
}

bool IntArrsEqual(const TIntArr& a, const TIntArr& b) { return a == b; }

}  // namespace dlslab
