#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QPlainTextEdit;

namespace dlslab::app {

/// The import dialog: one memo for the square's (or the pair's) text and the button "Import".
class TImportForm : public QDialog {
  Q_OBJECT

 public:
  explicit TImportForm(QWidget* parent);

  /// Empties the memo and shows the dialog; the memo's lines, one character per byte
  /// (a character outside Latin-1 becomes "?"), when closed with "Import".
  [[nodiscard]] std::optional<std::string> ask();
  [[nodiscard]] QPlainTextEdit* memo() const { return memo_; }

 private:
  QPlainTextEdit* memo_;
};

}  // namespace dlslab::app
