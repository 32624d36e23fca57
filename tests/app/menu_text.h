#pragma once

#include <QAction>
#include <QString>

namespace dlslab::app {

/// A menu item's caption as the command table writes it: the text Qt shows without its
/// mnemonic mark ("&Undo" is "Undo", "A&&B" is "A&B").
inline QString caption_of(const QAction* action) {
  const QString text = action->text();
  QString caption;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    caption += text[i];
  }
  return caption;
}

}  // namespace dlslab::app
