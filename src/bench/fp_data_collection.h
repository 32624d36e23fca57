#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The rates of a benchmark, one per round, and their binary data file.
namespace dlslab {

/// Values in round order and the two header integers fixed at creation.
class TFpDataCollection {
 public:
  TFpDataCollection(std::int32_t a, std::int32_t b) : a_(a), b_(b) {}

  void Add(double value) { values_.push_back(value); }
  [[nodiscard]] int Count() const { return static_cast<int>(values_.size()); }
  [[nodiscard]] const std::vector<double>& values() const { return values_; }

  /// The file's bytes: length byte 31, the 31-character title and a zero byte, A, the count
  /// and B as little-endian 32-bit integers, then the values as little-endian doubles.
  [[nodiscard]] std::string to_bytes() const;
  /// Writes to_bytes() as the file, whole or not at all; throws Error when it cannot.
  void SaveToFile(const std::string& file_name) const;

 private:
  std::vector<double> values_;
  std::int32_t a_;
  std::int32_t b_;
};

/// The title at the head of every FP data file.
inline constexpr const char* kFpDataFileTitle = "FP data file (c) morvasti, 2015";

}  // namespace dlslab
