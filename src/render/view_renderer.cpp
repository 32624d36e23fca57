#include "render/view_renderer.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetrics>
#include <QPen>
#include <QString>

#include "model/error.h"
#include "model/file_output.h"
#include "model/square_view.h"

namespace dlslab::render {
namespace {

QColor to_q_color(TColor c) { return QColor(red_of(c), green_of(c), blue_of(c)); }

/// Writes text with its box centred in the cell whose top-left corner is (x, y); the halves
/// are truncated, as the cell rules want.
void draw_centred(QPainter& painter, int x, int y, int cell_size, int value, TColor colour) {
  const QString text = QString::number(value);
  const QFontMetrics metrics = painter.fontMetrics();
  const int tx = x + (cell_size - metrics.horizontalAdvance(text)) / 2;
  const int ty = y + (cell_size - metrics.height()) / 2;
  painter.setPen(to_q_color(colour));
  painter.drawText(tx, ty + metrics.ascent(), text);
  painter.setPen(QPen(Qt::black, 1));
}

}  // namespace

QFont cell_font() {
  QFont font;
  font.setFamilies({"Arial", "Liberation Sans", "DejaVu Sans"});
  font.setStyleHint(QFont::SansSerif);
  // 14 points on a 96 dpi bitmap, fixed in pixels so that a saved picture does not depend on
  // the screen it was made on.
  font.setPixelSize(19);
  font.setItalic(true);
  return font;
}

void DrawSquare(QPainter& painter, TLatinSquareClass& model, int top, int left,
                const TLatinSquare& square, int cell_size) {
  const int inner = cell_size - 1;  // outline and fill cover cell_size pixels, as a GDI rectangle
  for (const CellLook& look : get_square_looks(model, top, left, cell_size, square)) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(to_q_color(look.fill));
    painter.drawRect(look.x, look.y, inner, inner);
    if (look.text >= 0) draw_centred(painter, look.x, look.y, cell_size, look.text, kClBlack);
    if (look.hint >= 0) draw_centred(painter, look.x, look.y, cell_size, look.hint, kClGreen);
    if (look.cross) {
      const int x1 = look.x, y1 = look.y, x2 = look.x + cell_size, y2 = look.y + cell_size;
      painter.setPen(QPen(Qt::red, 3, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(x1 + 5, y1 + 5, x2 - 5, y2 - 5);
      painter.drawLine(x1 + 5, y2 - 5, x2 - 5, y1 + 5);
      painter.setPen(QPen(Qt::black, 1));
    }
  }
}

void Draw(QImage& bitmap, TLatinSquareClass& model) {
  if (bitmap.isNull()) return;
  QPainter painter(&bitmap);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(0, 0, bitmap.width() - 1, bitmap.height() - 1);
  painter.setFont(cell_font());
  const int s = GetCellSize(model, bitmap.width(), bitmap.height());
  if (model.ViewMode == 0) {
    DrawSquare(painter, model, kViewMargin, kViewMargin, model.FirstSquare, s);
  } else {
    const int n = model.GetOrder();
    ComputePairRepeats(model);
    DrawSquare(painter, model, kViewMargin, kViewMargin, model.FirstSquare, s);
    DrawSquare(painter, model, kViewMargin, kViewMargin + (n + 1) * s, model.SecondSquare, s);
  }
}

void save_view_bitmap(TLatinSquareClass& model, int width, int height, const std::string& file_name) {
  const ViewSize size = get_fitted_view_size(model, GetCellSize(model, width, height));
  QImage picture(size.width, size.height, QImage::Format_RGB32);
  Draw(picture, model);
  save_image_as_bmp(picture, file_name);
}

void save_image_as_bmp(const QImage& image, const std::string& file_name) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) throw Error("Cannot write the file \"" + file_name + "\".");
  write_file_atomically(file_name, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace dlslab::render
