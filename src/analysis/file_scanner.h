#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/types.h"

namespace dlslab {

/// Walks the regular files of one folder whose names match a mask, in name order, and hands
/// each to ProcessFile. Subfolders are not entered.
class TFileScaner {
 public:
  /// `folder` ends with a path separator; `mask` is a file name pattern of '*' and '?'.
  TFileScaner(std::string mask, std::string folder);
  virtual ~TFileScaner() = default;
  TFileScaner(const TFileScaner&) = delete;
  TFileScaner& operator=(const TFileScaner&) = delete;

  /// Calls ProcessFile(Folder + name) for every matching file, counting them in FilesCount
  /// and calling OnProgress after each. A folder that cannot be read throws Error.
  void Scan();

  [[nodiscard]] const std::string& Mask() const { return mask_; }
  [[nodiscard]] const std::string& Folder() const { return folder_; }
  /// Files processed so far.
  [[nodiscard]] int FilesCount() const { return files_count_; }

  /// Called after each file with FilesCount; may be left empty.
  std::function<void(int files_count)> OnProgress;

 protected:
  virtual void ProcessFile(const std::string& file_name) = 0;

 private:
  std::string mask_;
  std::string folder_;
  int files_count_ = 0;
};

/// Reads every file as a collection file and keeps the names of those whose canonical forms
/// hold the square looked for (compared as text, so it must itself be a canonical form).
class TSquaresCollectionsScanner : public TFileScaner {
 public:
  TSquaresCollectionsScanner(std::string mask, std::string folder, const TLatinSquare& square);

  /// The matching files, full names, in the order scanned.
  [[nodiscard]] const std::vector<std::string>& found_files() const { return found_; }

 protected:
  void ProcessFile(const std::string& file_name) override;

 private:
  TLatinSquare square_;
  std::vector<std::string> found_;
};

/// Whether a file name matches a mask of '*' (any run of characters) and '?' (any one).
[[nodiscard]] bool matches_mask(std::string_view name, std::string_view mask);

/// The folder with exactly one trailing '/' (a root stays "/").
[[nodiscard]] std::string with_trailing_separator(std::string folder);

}  // namespace dlslab
