#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <string>

#include "model/latin_square_class.h"
#include "model/types.h"

// Painting of the square view onto a bitmap. Shared by the window and the CLI's
// "Save as bmp...", which both need nothing more than QtGui.
namespace dlslab::render {

/// The cells' font: "Arial" 14 points italic, or the closest installed sans face.
[[nodiscard]] QFont cell_font();

/// Paints the whole view of the model into bitmap: white with a black outline, then the
/// square, or the pair side by side with one cell of gap.
void Draw(QImage& bitmap, TLatinSquareClass& model);

/// Paints one square with its top-left corner at (left, top) and cells of cell_size pixels.
void DrawSquare(QPainter& painter, TLatinSquareClass& model, int top, int left,
                const TLatinSquare& square, int cell_size);

/// "Save as bmp...": writes the view as a BMP just large enough for the whole grid (a margin of
/// 10 pixels on every side) at the cell size a width x height bitmap gives. Throws Error when
/// the file cannot be written.
void save_view_bitmap(TLatinSquareClass& model, int width, int height, const std::string& file_name);

/// Writes an image as a Windows BMP file, whole or not at all (an earlier file stays when the
/// write fails). Throws Error when the file cannot be written.
void save_image_as_bmp(const QImage& image, const std::string& file_name);

}  // namespace dlslab::render
