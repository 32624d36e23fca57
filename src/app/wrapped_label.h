#pragma once

#include <QLabel>

namespace dlslab::app {

/// A label whose text breaks between words where its width is too small and whose minimum
/// height follows its width, so that the window makes room for every line: its text is never
/// cut, at any width the window takes.
class WrappedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit WrappedLabel(QWidget* parent);

  /// Shows the text, its lines broken anew.
  void set_text(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void follow_width(int width);
};

}  // namespace dlslab::app
