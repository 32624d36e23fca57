#include "analysis/file_scanner.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "analysis/collection_forms.h"
#include "collection/squares_collection.h"
#include "model/error.h"
#include "model/progress.h"

namespace dlslab {
namespace {

/// The names of the folder's regular files (links followed) matching the mask, sorted by their
/// bytes so that the order is the same on every file system.
std::vector<std::string> list_files(const std::string& folder, const std::string& mask) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code status_ec;
    if (!it->is_regular_file(status_ec)) continue;  // folders, devices, dangling links
    std::string name = it->path().filename().string();
    if (matches_mask(name, mask)) names.push_back(std::move(name));
  }
  if (ec) throw Error("Cannot read the folder \"" + folder + "\": " + ec.message() + ".");
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

bool matches_mask(std::string_view name, std::string_view mask) {
  // Greedy match with one back-track point: the last '*' seen.
  std::size_t n = 0, m = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::string with_trailing_separator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

TFileScaner::TFileScaner(std::string mask, std::string folder)
    : mask_(std::move(mask)), folder_(std::move(folder)) {}

void TFileScaner::Scan() {
  const std::vector<std::string> names = list_files(folder_, mask_);
  Progress& progress = current_progress();
  progress.begin("Scanning the folder", names.size());
  for (const std::string& name : names) {
    progress.poll();
    ProcessFile(folder_ + name);
    ++files_count_;
    progress.advance();
    if (OnProgress) OnProgress(files_count_);
  }
}

TSquaresCollectionsScanner::TSquaresCollectionsScanner(std::string mask, std::string folder,
                                                       const TLatinSquare& square)
    : TFileScaner(std::move(mask), std::move(folder)), square_(square) {}

void TSquaresCollectionsScanner::ProcessFile(const std::string& file_name) {
  TSquaresCollection squares;
  {
    // The folder's progress counts files; the reading of one reports into a progress of its own.
    Progress file_progress(&current_progress());
    const ProgressScope scope(file_progress);
    squares.LoadFromFile_VelmoraFormat(file_name, true, true);
  }
  const TSquaresCollection forms = GetCanonicalForms(squares, true);
  if (forms.IndexOfSquare(square_) != -1) found_.push_back(file_name);
}

}  // namespace dlslab
