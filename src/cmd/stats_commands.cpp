#include "cmd/stats_commands.h"

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
}

}  // namespace dlslab::cmd
