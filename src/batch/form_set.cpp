#include "batch/form_set.h"

#include <bit>
#include <functional>

namespace dlslab::batch {

std::uint64_t FormSet::hash(const Digits& form) {
  return std::hash<std::string_view>()(std::string_view(form.data(), form.size()));
}

void FormSet::reserve(std::size_t forms) {
  if (2 * forms > slots_.size()) grow(std::bit_ceil(2 * forms));
}

void FormSet::grow(std::size_t slots) {
  slots_.assign(std::max<std::size_t>(slots, 1024), Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = 0; i < size_; ++i) {
    const std::uint64_t h = hash(record(i).form);
    std::size_t at = h & mask;
    while (slots_[at].record_plus_one != 0) at = (at + 1) & mask;
    slots_[at] = Slot{static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(h >> 32)};
  }
}

void FormSet::add(const Digits& form, std::uint64_t hash, std::uint64_t count) {
  if (2 * (size_ + 1) > slots_.size()) grow(2 * slots_.size());
  const std::size_t mask = slots_.size() - 1;
  const auto tag = static_cast<std::uint32_t>(hash >> 32);
  std::size_t at = hash & mask;
  for (; slots_[at].record_plus_one != 0; at = (at + 1) & mask) {
    if (slots_[at].tag != tag) continue;
    Record& r = record(slots_[at].record_plus_one - 1);
    if (r.form == form) {
      r.count += count;
      return;
    }
  }
  if (size_ % kChunkRecords == 0)
    chunks_.push_back(std::make_unique_for_overwrite<std::array<Record, kChunkRecords>>());
  record(size_) = Record{form, count};
  ++size_;
  slots_[at] = Slot{static_cast<std::uint32_t>(size_), tag};
}

}  // namespace dlslab::batch
