#pragma once

#include <string>

#include "cmd/context.h"

// The statistics picture of the browsing collection and the search of a folder of collections.
namespace dlslab::cmd {

/// Name of the statistics picture, written to the current folder.
inline constexpr const char* kStatisticsBitmapName = "bmp.bmp";

/// "Draw statistical info": the per-cell value histograms of the browsing collection, drawn by
/// the shell's statistics painter into "bmp.bmp", and the most frequent value of every cell,
/// column by column, written to the diagnostics without separator or line break. Throws when
/// the shell cannot paint.
void DrawStatisticalInfoMenuItemClick(Context& ctx);

/// "Find square in folder": logs, one line each, the full name of every collection file of the
/// folder whose canonical forms hold the model's first square. A file that fails to load stops
/// the search with its error after the names found before it are logged.
void FindSquareInFolderMenuItemClick(Context& ctx, const std::string& folder);

}  // namespace dlslab::cmd
