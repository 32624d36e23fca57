#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "model/types.h"

namespace dlslab {

/// A collection file that breaks off: the message is the reader's own ("...Wrong file
/// format"); line() is the line, from 1, at which the block stopped making sense.
class CollectionFormatError : public Error {
 public:
  CollectionFormatError(const std::string& message, std::uint64_t line)
      : Error(message), line_(line) {}
  [[nodiscard]] std::uint64_t line() const { return line_; }

 private:
  std::uint64_t line_;
};

/// Per entry, its number of orthogonal partners inside the collection.
using TDegreesArr = std::vector<int>;

/// An ordered list of order-10 squares kept as 100-character digit strings, each with its
/// multiplicity. Entries stay in insertion order; only Clear removes them.
///
/// Duplicate detection goes through a hash index beside the list, so adding n squares costs
/// O(n); a collection built with Lookup::kLinear scans the list instead (the plain baseline).
class TSquaresCollection {
 public:
  enum class Lookup { kHashed, kLinear };

  explicit TSquaresCollection(Lookup lookup = Lookup::kHashed) : lookup_(lookup) {}

  /// AddSquareString(SquareToString(square), ...).
  void AddSquare(const TLatinSquare& square, bool check_duplicates, bool normalize);
  /// With normalize, the square is first relabelled so that its first row reads 0..9; with
  /// check_duplicates, an entry already present gets its count raised instead of a new entry.
  void AddSquareString(std::string_view s, bool check_duplicates, bool normalize);

  /// Entry `index` (0..Count()-1) as a string.
  [[nodiscard]] std::string GetSquareString(int index) const { return std::string(Items(index)); }
  /// Entry `index` converted to an order-10 square.
  [[nodiscard]] TLatinSquare get_square(int index) const;
  /// First index whose entry equals s exactly, -1 if none.
  [[nodiscard]] int IndexOfString(std::string_view s) const;
  [[nodiscard]] int IndexOfSquare(const TLatinSquare& square) const;
  /// The same answer as IndexOfString, always by scanning the list.
  [[nodiscard]] int index_of_string_linear(std::string_view s) const;

  /// Removes every entry; the degrees stay.
  void Clear();
  /// Entries and counts become copies of other's (degrees are not copied).
  void Assign(const TSquaresCollection& other);
  /// Adds other's entries one by one, normalized, with duplicate checks (their counts are not
  /// carried); into an empty collection it copies other instead.
  void AddCollection(const TSquaresCollection& other);

  /// Appends every square of a collection file. A broken block throws CollectionFormatError
  /// ("...Wrong file format", with its line) and keeps what was read before; an unopenable file
  /// throws std::ios_base::failure.
  void LoadFromFile_VelmoraFormat(const std::string& file_name, bool check_duplicates,
                                  bool normalize);
  /// Writes every entry in the collection file format, "-" for an empty collection.
  void SaveToFile(const std::string& file_name) const;

  [[nodiscard]] int Count() const { return static_cast<int>(counts_.size()); }
  /// Entry `index` as a view into the collection; invalidated by the next addition.
  [[nodiscard]] std::string_view Items(int index) const {
    return std::string_view(pool_).substr(starts_[index], starts_[index + 1] - starts_[index]);
  }
  /// Multiplicity of entry `index`.
  [[nodiscard]] int Counts(int index) const { return counts_[index]; }
  [[nodiscard]] TDegreesArr& Degrees() { return degrees_; }
  [[nodiscard]] const TDegreesArr& Degrees() const { return degrees_; }

 private:
  // Open-addressing table of entry numbers keyed by the entries' text. Only the first entry of
  // each distinct text is in it, so a lookup finds what a scan from the front would find.
  struct Slot {
    std::uint32_t entry_plus_one = 0;  // 0: free
    std::uint32_t tag = 0;             // high hash bits, to skip most string comparisons
  };

  void append(std::string_view s);
  /// Makes room for `entries` more 100-character entries without reallocating.
  void reserve(std::size_t entries);
  void resize_index(std::size_t slots);
  void index_insert(int entry, std::uint64_t hash);
  void rebuild_index();

  Lookup lookup_;
  std::string pool_;                    // the entries back to back
  std::vector<std::size_t> starts_{0};  // entry i is pool_[starts_[i], starts_[i + 1])
  std::vector<int> counts_;             // one per entry
  TDegreesArr degrees_;
  std::vector<Slot> slots_;  // size 0 or a power of two, at most half full
  std::size_t indexed_ = 0;  // occupied slots
};

/// The digit string of a square relabelled so that its first row reads 0..9, as the collection
/// stores a normalized entry: SquareToString(NormalizeByFirstRow(StringToSquare(s))) without
/// the detour through a square.
[[nodiscard]] std::string normalized_square_string(std::string_view s);

/// Characters '0'..'9' -> 0..9 and 'A'..'Z' -> 10..35; any other character gives 0.
[[nodiscard]] TIntArr StringToIntArr(std::string_view s);
/// Same length and equal elements.
[[nodiscard]] bool IntArrsEqual(const TIntArr& a, const TIntArr& b);

}  // namespace dlslab
