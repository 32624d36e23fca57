#include "app/set_order_form.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include "model/types.h"

namespace dlslab::app {

TSetOrderForm::TSetOrderForm(QWidget* parent) : QDialog(parent) {
  setObjectName("SetOrderForm");
  setWindowTitle(QString::fromUtf8("Выберите порядок квадрата"));
  setFixedSize(329, 74);
  setModal(true);

  spin_edit_ = new QSpinBox(this);
  spin_edit_->setObjectName("SpinEdit");
  spin_edit_->setGeometry(8, 8, 313, 24);
  spin_edit_->setRange(1, kMaxOrder);
  spin_edit_->setValue(1);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OkButton");
  ok->setGeometry(166, 41, 75, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
  cancel->setObjectName("CancelButton");
  cancel->setGeometry(246, 41, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  // The dialog sees Enter and Escape before its controls do.
  spin_edit_->installEventFilter(this);
  ok->installEventFilter(this);
  cancel->installEventFilter(this);
}

int TSetOrderForm::order() const { return spin_edit_->value(); }

void TSetOrderForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* desktop = screen())
    move(desktop->availableGeometry().center() - rect().center());
  spin_edit_->setFocus();
  spin_edit_->selectAll();
}

bool TSetOrderForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      spin_edit_->interpretText();
      accept();
      return true;
    }
    if (key == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace dlslab::app
