#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// Scratch files of the batch tests, in a folder of this process that goes away with the object.
namespace dlslab::batch::test {

class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("dlslab_batch_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  [[nodiscard]] std::string file_path(std::string_view name) const {
    return (path_ / name).string();
  }

  /// Writes `text` to the file `name` and returns its path.
  std::string write_file(std::string_view name, std::string_view text) const {
    const std::string file = file_path(name);
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

inline std::string read_file(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The collection-file block of a digit string: ten rows of symbols each followed by a blank,
/// and an empty separator line.
inline std::string collection_block(std::string_view digits) {
  std::string text;
  for (int r = 0; r < 10; ++r) {
    for (int c = 0; c < 10; ++c) {
      text += digits[r * 10 + c];
      text += ' ';
    }
    text += '\n';
  }
  return text + "\n";
}

}  // namespace dlslab::batch::test
