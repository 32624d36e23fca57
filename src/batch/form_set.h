#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "batch/operations.h"

namespace dlslab::batch {

/// The distinct forms a cf or scf run has met, in the order first met, each with the number of
/// squares that had it. Built for millions of forms: the forms live in fixed chunks that are
/// never moved, and the index is open addressing over hashes the workers compute beforehand,
/// so an addition is one probe and no copy of what is stored.
class FormSet {
 public:
  [[nodiscard]] static std::uint64_t hash(const Digits& form);

  /// Makes room in the index for about `forms` forms without growing it.
  void reserve(std::size_t forms);
  /// Counts `count` more squares with this form; `hash` is hash(form).
  void add(const Digits& form, std::uint64_t hash, std::uint64_t count = 1);

  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] const Digits& form(std::size_t i) const { return record(i).form; }
  [[nodiscard]] std::uint64_t count(std::size_t i) const { return record(i).count; }

 private:
  struct Record {
    Digits form;
    std::uint64_t count;
  };
  static constexpr std::size_t kChunkRecords = 1 << 14;
  struct Slot {
    std::uint32_t record_plus_one = 0;  // 0: free
    std::uint32_t tag = 0;              // high hash bits
  };

  [[nodiscard]] const Record& record(std::size_t i) const {
    return (*chunks_[i / kChunkRecords])[i % kChunkRecords];
  }
  [[nodiscard]] Record& record(std::size_t i) {
    return (*chunks_[i / kChunkRecords])[i % kChunkRecords];
  }
  void grow(std::size_t slots);

  std::vector<std::unique_ptr<std::array<Record, kChunkRecords>>> chunks_;
  std::size_t size_ = 0;
  std::vector<Slot> slots_;  // a power of two, at most half full
};

}  // namespace dlslab::batch
