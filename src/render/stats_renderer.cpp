// Histogram pictures, drawn pixel-exact the way the view draws its cells: a rectangle from
// (x1, y1) to (x2, y2) covers x1..x2-1 and y1..y2-1, its one-pixel outline in the pen colour,
// and a line leaves out its end point. Every shape here is axis-parallel, so each is a filled
// rectangle; only the labels go through the text engine.
//
// Layout of one histogram of Width x Height (TH: height of the sample text "123,456";
// B = 2 * TH + 5):
//
//   Top + 10           +---------------------------+  tallest bar / band top
//                      |   grey band, red->black   |
//                      |   bars, green marker      |
//   Top + H - 10 - B   +---------------------------+  bar baseline
//                      0,00                     9,00  labels above the axis
//   Top + A            |-----|-----|-----|---------|  axis, A = H - 10 - TH - 2
//                        -1s    0s    +1s             marks below the axis
#include "render/stats_renderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

#include "render/view_renderer.h"

namespace dlslab::render {
namespace {

constexpr int kHistogramSize = 200;
constexpr int kHistogramPitch = 210;
constexpr int kHistogramOffset = 10;

/// Round half to even, the default rounding of the floating-point unit.
int round_to_int(double v) {
  if (!(std::fabs(v) < 1e9)) return v < 0 ? -1000000000 : 1000000000;
  return static_cast<int>(std::nearbyint(v));
}

/// A rectangle with a one-pixel outline in `pen` and the inside in `brush`; the corners may
/// come in any order.
void fill_rectangle(QPainter& p, int x1, int y1, int x2, int y2, const QColor& pen,
                   const QColor& brush) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const int w = x2 - x1, h = y2 - y1;
  if (w <= 0 || h <= 0) return;
  p.fillRect(x1, y1, w, h, pen);
  if (w > 2 && h > 2) p.fillRect(x1 + 1, y1 + 1, w - 2, h - 2, brush);
}

/// A horizontal line from x1 towards x2, x2 itself left out.
void horizontal_line(QPainter& p, int x1, int x2, int y, const QColor& colour) {
  if (x2 > x1)
    p.fillRect(x1, y, x2 - x1, 1, colour);
  else if (x2 < x1)
    p.fillRect(x2 + 1, y, x1 - x2, 1, colour);
}

/// A vertical line from y1 towards y2, y2 itself left out.
void vertical_line(QPainter& p, int x, int y1, int y2, const QColor& colour) {
  if (y2 > y1)
    p.fillRect(x, y1, 1, y2 - y1, colour);
  else if (y2 < y1)
    p.fillRect(x, y2 + 1, 1, y1 - y2, colour);
}

/// Text with its top-left corner at (x, y).
void text_out(QPainter& p, int x, int y, const QString& text) {
  p.setPen(Qt::black);
  p.drawText(x, y + p.fontMetrics().ascent(), text);
}

void DrawGradientRect(QPainter& p, int x1, int x2, int y1, int y2, TColor color_top,
                      TColor color_bottom) {
  const int ya = std::min(y1, y2), yb = std::max(y1, y2);
  fill_rectangle(p, x1, ya, x2, yb, Qt::black, Qt::white);
  int h = yb - ya - 2;
  if (h <= 0) h = 1;
  const int r0 = red_of(color_top), g0 = green_of(color_top), b0 = blue_of(color_top);
  const int dr = red_of(color_bottom) - r0, dg = green_of(color_bottom) - g0,
            db = blue_of(color_bottom) - b0;
  for (int y = ya + 1; y <= yb - 1; ++y) {
    const int t = y - ya - 1;
    const QColor c(round_to_int(r0 + static_cast<double>(t) * dr / h),
                   round_to_int(g0 + static_cast<double>(t) * dg / h),
                   round_to_int(b0 + static_cast<double>(t) * db / h));
    horizontal_line(p, x1 + 1, x2 - 1, y, c);
  }
}

}  // namespace

QFont statistics_font() {
  QFont font;
  font.setFamilies({"Arial", "Liberation Sans", "DejaVu Sans"});
  font.setStyleHint(QFont::SansSerif);
  // 8 points on a 96 dpi bitmap, fixed in pixels so that the picture does not depend on the
  // screen.
  font.setPixelSize(11);
  return font;
}

void DrawGradientRect(QImage& bitmap, int x1, int x2, int y1, int y2, TColor color_top,
                      TColor color_bottom) {
  QPainter p(&bitmap);
  DrawGradientRect(p, x1, x2, y1, y2, color_top, color_bottom);
}

void DrawHistogram(const TStatsHistogram& hist, int width, int height, QImage& bitmap, double xmin,
                   double xmax, double mean, double sigma, double band_from, double band_to,
                   double marker, int left, int top) {
  QPainter p(&bitmap);
  p.setFont(statistics_font());
  const QFontMetrics metrics = p.fontMetrics();
  const int th = metrics.height();  // of "123,456": one line of this font
  const int bottom = 2 * th + 5;

  fill_rectangle(p, left, top, left + width, top + height, Qt::black, Qt::white);

  const int n = static_cast<int>(hist.size());
  const double bar_width = n > 0 ? static_cast<double>(width - 40) / n : 0;
  const int largest = n > 0 ? *std::max_element(hist.begin(), hist.end()) : 0;

  const double scale = std::fabs(xmax - xmin) > 0 ? (width - 40) / (xmax - xmin) : 0;
  auto x_of = [&](double v) { return (v - xmin) * scale + left + 20; };

  const QColor grey(230, 230, 230);
  fill_rectangle(p, round_to_int(x_of(band_from)), top + 10, round_to_int(x_of(band_to)),
                top + height - bottom - 10, grey, grey);

  const double bar_scale = largest > 0 ? static_cast<double>(height - 20 - bottom) / largest : 0;
  const int baseline = top + height - 10 - bottom;
  double pos = 20.0;
  for (int i = 0; i < n; ++i) {
    DrawGradientRect(p, round_to_int(pos) + left, round_to_int(pos + bar_width) + left, baseline,
                     round_to_int(height - 10 - bottom - hist[i] * bar_scale) + top, kClRed,
                     kClBlack);
    pos += bar_width;
  }

  const int axis = top + height - 10 - th - 2;
  horizontal_line(p, left + 20, left + width - 20, axis, Qt::black);
  auto tick = [&](int x) { vertical_line(p, x, axis - 3, axis + 4, Qt::black); };
  auto label_above = [&](int x, const QString& text) {
    text_out(p, x - metrics.horizontalAdvance(text) / 2, axis - metrics.height() - 3, text);
  };
  auto label_below = [&](int x, const QString& text) {
    text_out(p, x - metrics.horizontalAdvance(text) / 2, axis + 4, text);
  };
  tick(left + 20);
  label_above(left + 20, QString::fromStdString(FormatFloatWithGroups(xmin)));
  tick(left + width - 20);
  label_above(left + width - 20, QString::fromStdString(FormatFloatWithGroups(xmax)));

  // At most one mark per pixel of width each way: a tiny sigma on a wide range cannot run away.
  const int max_marks = std::max(width, 1);
  double v = mean;
  for (int k = 0, marks = 0; v > xmin && marks < max_marks; --k, ++marks) {
    const int x = round_to_int(x_of(v));
    tick(x);
    label_below(x, QString::number(k) + "s");
    v -= sigma;
    if (std::fabs(sigma) < 1e-15) break;
  }
  v = mean + sigma;
  for (int k = 1, marks = 0; v < xmax && marks < max_marks; ++k, ++marks) {
    const int x = round_to_int(x_of(v));
    tick(x);
    label_below(x, "+" + QString::number(k) + "s");
    v += sigma;
    if (std::fabs(sigma) < 1e-15) break;
  }

  const QColor green(0, 128, 0);
  const int mx = round_to_int(x_of(marker));
  fill_rectangle(p, mx, top + 10, mx + 2, top + height - bottom - 10, green, green);
}

QImage DrawStatisticalInfo(const CellHistograms& histograms) {
  QImage picture(kStatisticsBitmapSize, kStatisticsBitmapSize, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QImage scratch(kHistogramSize, kHistogramSize, QImage::Format_RGB32);
  QPainter painter(&picture);
  for (int a = 0; a < kOrder; ++a)
    for (int b = 0; b < kOrder; ++b) {
      DrawHistogram(histograms[b * kOrder + a], kHistogramSize, kHistogramSize, scratch, 0, 9, 5, 1,
                    0, 9, 1, 0, 0);
      painter.drawImage(a * kHistogramPitch + kHistogramOffset,
                        b * kHistogramPitch + kHistogramOffset, scratch);
    }
  return picture;
}

void save_statistical_info_bitmap(const CellHistograms& histograms, const std::string& file_name) {
  save_image_as_bmp(DrawStatisticalInfo(histograms), file_name);
}

}  // namespace dlslab::render
