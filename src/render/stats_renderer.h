#pragma once

#include <QFont>
#include <QImage>
#include <string>

#include "collection/stats.h"
#include "model/types.h"

// Painting of histograms and of the per-cell statistics picture of a collection.
namespace dlslab::render {

/// Side of the statistics picture: ten 200-pixel histograms per row and column, 10 pixels
/// apart and from the edges.
inline constexpr int kStatisticsBitmapSize = 2110;

/// The histograms' font: "Arial" 8 points, or the closest installed sans face.
[[nodiscard]] QFont statistics_font();

/// A black-outlined rectangle from x1 to x2 (exclusive) between the two y values, filled line
/// by line from color_top at the upper edge to color_bottom at the lower one.
void DrawGradientRect(QImage& bitmap, int x1, int x2, int y1, int y2, TColor color_top,
                      TColor color_bottom);

/// Draws hist into the rectangle left..left+width, top..top+height of bitmap: the bars from red
/// to black over a grey band from band_from to band_to, the axis from xmin to xmax with its
/// end labels, marks every sigma from mean ("0s", "-1s", ..., "+1s", ...) and a green marker.
void DrawHistogram(const TStatsHistogram& hist, int width, int height, QImage& bitmap, double xmin,
                   double xmax, double mean, double sigma, double band_from, double band_to,
                   double marker, int left, int top);

/// The 2110 x 2110 picture of the per-cell histograms: cell (row, column) at
/// x = column * 210 + 10, y = row * 210 + 10, on white.
[[nodiscard]] QImage DrawStatisticalInfo(const CellHistograms& histograms);

/// DrawStatisticalInfo saved as a BMP file; throws Error when the file cannot be written.
void save_statistical_info_bitmap(const CellHistograms& histograms, const std::string& file_name);

}  // namespace dlslab::render
