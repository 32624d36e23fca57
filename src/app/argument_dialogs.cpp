#include "app/argument_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QString>

#include "app/import_form.h"
#include "app/select_folder.h"
#include "app/set_order_form.h"

namespace dlslab::app {
namespace {

/// The file dialogs' filter for the command that shows one.
QString filter_for(const cmd::MenuEntry& entry) {
  switch (entry.id) {
    case cmd::MenuId::kLoadFromFile:
    case cmd::MenuId::kSaveToFile:
      return QString::fromUtf8("Текстовый файл (*.txt)");
    case cmd::MenuId::kSaveAsBmp:
      return QString::fromUtf8("Изображение (*.bmp)");
    default:
      return {};
  }
}

std::string to_file_name(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace

ArgumentDialogs::ArgumentDialogs(QWidget* owner)
    : owner_(owner),
      set_order_form_(new TSetOrderForm(owner)),
      import_form_(new TImportForm(owner)) {}

std::optional<std::string> ArgumentDialogs::ask(const cmd::MenuEntry& entry,
                                                const cmd::Context& ctx) {
  switch (entry.arg) {
    case cmd::ArgKind::kNone:
      return std::string();
    case cmd::ArgKind::kOpenFile: {
      const QString name = QFileDialog::getOpenFileName(owner_, {}, {}, filter_for(entry));
      if (name.isEmpty()) return std::nullopt;
      return to_file_name(name);
    }
    case cmd::ArgKind::kSaveFile: {
      const QString name = QFileDialog::getSaveFileName(owner_, {}, {}, filter_for(entry));
      if (name.isEmpty()) return std::nullopt;
      return to_file_name(name);
    }
    case cmd::ArgKind::kText:
      return import_form_->ask();
    case cmd::ArgKind::kOrder:
      if (set_order_form_->exec() != QDialog::Accepted) return std::nullopt;
      return std::to_string(set_order_form_->order());
    case cmd::ArgKind::kFolder: {
      std::string folder;
      if (!SelectFolder(folder, owner_, {})) return std::nullopt;
      return folder;
    }
    case cmd::ArgKind::kSearch: {
      bool ok = false;
      const QString request = QInputDialog::getText(
          owner_, "Search ODLS",
          "Generator, number of squares and, if you like, the first seed (rsv3, brown or switch):",
          QLineEdit::Normal, "rsv3 100000", &ok);
      if (!ok) return std::nullopt;
      return request.toStdString();
    }
    case cmd::ArgKind::kGameNumber: {
      bool ok = false;
      const QString number = QInputDialog::getText(
          owner_, "Play game number", "Game number (0 to 4294967295):", QLineEdit::Normal,
          QString::number(ctx.game.number), &ok);
      if (!ok) return std::nullopt;
      return number.toStdString();
    }
  }
  return std::nullopt;
}

}  // namespace dlslab::app
