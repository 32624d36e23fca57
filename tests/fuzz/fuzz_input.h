#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace dlslab::fuzz {

/// The readers under test take file names: each input goes to one scratch file of this process.
inline const std::string& write_scratch_file(const std::uint8_t* data, std::size_t size) {
  static const std::string name = "/tmp/dlslab-fuzz-" + std::to_string(::getpid()) + ".txt";
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  return name;
}

}  // namespace dlslab::fuzz
