#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace dlslab {

/// A temporary folder of stand-in test programs (shell scripts), removed with the object.
class ScriptFolder {
 public:
  explicit ScriptFolder(const std::string& tag)
      : path_(std::filesystem::temp_directory_path() /
              ("dlslab_bench_" + tag + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScriptFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScriptFolder(const ScriptFolder&) = delete;
  ScriptFolder& operator=(const ScriptFolder&) = delete;

  /// Writes an executable script of that name; returns its path.
  std::string add_script(const std::string& name, const std::string& body) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file) << "#!/bin/sh\n" << body << '\n';
    ::chmod(file.c_str(), 0755);
    return file.string();
  }
  /// The folder with its trailing separator, as the runner wants it.
  [[nodiscard]] std::string program_folder() const { return path_.string() + "/"; }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace dlslab
