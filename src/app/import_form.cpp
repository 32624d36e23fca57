#include "app/import_form.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dlslab::app {

TImportForm::TImportForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ImportForm");
  setWindowTitle("Import of the square");
  setModal(true);
  resize(440, 300);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo");
  QFont font;
  font.setFamilies({"Consolas", "Liberation Mono", "DejaVu Sans Mono"});
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(13);
  memo_->setFont(font);
  memo_->setWordWrapMode(QTextOption::WrapAnywhere);  // a digit string is one long word

  auto* import = new QPushButton("Import", this);
  import->setObjectName("ImportButton");
  import->setAutoDefault(false);
  connect(import, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo_);
  layout->addWidget(import, 0, Qt::AlignRight);
}

std::optional<std::string> TImportForm::ask() {
  memo_->clear();
  memo_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return memo_->toPlainText().toLatin1().toStdString();
}

}  // namespace dlslab::app
