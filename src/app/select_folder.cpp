#include "app/select_folder.h"

#include <QFile>
#include <QFileDialog>
#include <QString>

#include "analysis/file_scanner.h"

namespace dlslab::app {

bool SelectFolder(std::string& folder, QWidget* owner, const std::string& initial_folder) {
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, QString::fromUtf8("Выберите папку"), QFile::decodeName(initial_folder.c_str()),
      QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return false;
  folder = with_trailing_separator(QFile::encodeName(chosen).toStdString());
  return true;
}

}  // namespace dlslab::app
