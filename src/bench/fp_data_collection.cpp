#include "bench/fp_data_collection.h"

#include <bit>
#include <cstring>

#include "model/file_output.h"

namespace dlslab {
namespace {

void append_little_endian(std::string& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

}  // namespace

std::string TFpDataCollection::to_bytes() const {
  const std::size_t title_length = std::strlen(kFpDataFileTitle);
  std::string bytes;
  bytes.reserve(1 + title_length + 1 + 12 + 8 * values_.size());
  bytes.push_back(static_cast<char>(title_length));
  bytes.append(kFpDataFileTitle, title_length);
  bytes.push_back('\0');
  append_little_endian(bytes, static_cast<std::uint32_t>(a_), 4);
  append_little_endian(bytes, static_cast<std::uint32_t>(values_.size()), 4);
  append_little_endian(bytes, static_cast<std::uint32_t>(b_), 4);
  for (const double value : values_)
    append_little_endian(bytes, std::bit_cast<std::uint64_t>(value), 8);
  return bytes;
}

void TFpDataCollection::SaveToFile(const std::string& file_name) const {
  write_file_atomically(file_name, to_bytes());
}

}  // namespace dlslab
