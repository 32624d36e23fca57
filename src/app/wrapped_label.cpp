#include "app/wrapped_label.h"

#include <QResizeEvent>

namespace dlslab::app {

WrappedLabel::WrappedLabel(QWidget* parent) : QLabel(parent) {
  setWordWrap(true);
  setTextFormat(Qt::PlainText);
}

void WrappedLabel::set_text(const QString& text) {
  setText(text);
  // A hidden label's width is no laid-out one; it follows when it is laid out on showing.
  if (!isHidden()) follow_width(width());
}

void WrappedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  follow_width(event->size().width());
}

void WrappedLabel::follow_width(int width) {
  // The layout asks the minimum, not the height for a width: the minimum is made that height.
  const int height = text().isEmpty() ? 0 : heightForWidth(width);
  if (height != minimumHeight()) setMinimumHeight(height);
}

}  // namespace dlslab::app
