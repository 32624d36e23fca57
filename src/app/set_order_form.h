#pragma once

#include <QDialog>

class QSpinBox;

namespace dlslab::app {

/// The order dialog: a number 1..30 that keeps its last value between uses. Enter closes it
/// with OK, Escape with Cancel, whichever control has the focus.
class TSetOrderForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSetOrderForm(QWidget* parent);

  [[nodiscard]] int order() const;
  [[nodiscard]] QSpinBox* spin_edit() const { return spin_edit_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QSpinBox* spin_edit_;
};

}  // namespace dlslab::app
