#include "cmd/stats_commands.h"

#include <filesystem>

#include "analysis/file_scanner.h"
#include "collection/stats.h"
#include "model/diagnostics.h"
#include "model/error.h"

namespace dlslab::cmd {

void DrawStatisticalInfoMenuItemClick(Context& ctx) {
  if (!ctx.save_statistics_bitmap) throw Error("Pictures cannot be drawn here.");
  const CellHistograms histograms = get_cell_histograms(ctx.collection);
  diag() << get_most_frequent_values(histograms) << std::flush;
  ctx.save_statistics_bitmap(histograms, kStatisticsBitmapName);
  ctx.notify("Draw statistical info: the picture is written to " +
             std::filesystem::absolute(kStatisticsBitmapName).string());
}

void FindSquareInFolderMenuItemClick(Context& ctx, const std::string& folder) {
  if (folder.empty()) throw Error("No folder given.");
  TSquaresCollectionsScanner scanner("*", with_trailing_separator(folder), ctx.model.FirstSquare);
  auto log_found = [&ctx, &scanner] {
    for (const std::string& name : scanner.found_files()) ctx.log.Add(name);
  };
  try {
    scanner.Scan();
  } catch (...) {
    log_found();
    throw;
  }
  log_found();
  // Nothing found leaves no line in the log; the notice tells that the search did run.
  if (scanner.FilesCount() == 0)
    ctx.notify("Find square in folder: " + scanner.Folder() + " holds no files");
  else if (scanner.found_files().empty() && scanner.FilesCount() == 1)
    ctx.notify("Find square in folder: the one file in " + scanner.Folder() +
               " does not hold the square");
  else if (scanner.found_files().empty())
    ctx.notify("Find square in folder: none of the " + std::to_string(scanner.FilesCount()) +
               " files in " + scanner.Folder() + " holds the square");
}

}  // namespace dlslab::cmd
