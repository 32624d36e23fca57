#pragma once

#include <QAction>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtTest>
#include <memory>

#include "app/main_form.h"
#include "app/menu_text.h"
#include "app/own_data_folder.h"
#include "app/paint_box.h"
#include "cmd/context.h"

namespace dlslab::app {

/// The menu item of that caption among `actions` and their submenus, or nullptr.
inline QAction* find_action(const QList<QAction*>& actions, const QString& caption) {
  for (QAction* action : actions) {
    if (caption_of(action) == caption) return action;
    if (action->menu() != nullptr)
      if (QAction* found = find_action(action->menu()->actions(), caption)) return found;
  }
  return nullptr;
}

/// The one window a window test program drives, its messages caught instead of shown and its
/// files kept in the program's own data folder.
class WindowFixture {
 protected:
  std::unique_ptr<TMainForm> form_;
  QStringList messages_;

  /// Makes the window and shows it; called from initTestCase (QVERIFY returns from here only).
  void open_window() {
    use_own_data_folder();
    form_ = std::make_unique<TMainForm>();
    form_->set_message_sink([this](const QString& text) { messages_ << text; });
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  cmd::Context& ctx() { return form_->context(); }
  PaintBox* paint_box() { return form_->findChild<PaintBox*>("PaintBox"); }
  QAction* menu_action(const QString& caption) {
    return find_action(form_->menuBar()->actions(), caption);
  }
};

}  // namespace dlslab::app
