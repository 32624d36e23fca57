#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/window_fixture.h"
#include "cmd/menu_table.h"
#include "collection/squares_collection.h"
#include "model/square_catalogue.h"
#include "model/square_view.h"

namespace dlslab::app {
namespace {

/// The mnemonic key of a caption as Qt shows it ("Play &game number..." has 'g'), or 0.
QChar mnemonic_key(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return text[i + 1].toLower();
    ++i;
  }
  return QChar();
}

/// Every menu's keys: no two items of a menu share one, and each item has one unless its
/// menu is long enough to run out of letters (`all` asks for one on every item).
void check_mnemonics(const QList<QAction*>& items, const QString& menu, bool all) {
  QSet<QChar> keys;
  for (QAction* item : items) {
    if (item->isSeparator()) continue;
    const QChar key = mnemonic_key(item->text());
    QVERIFY2(!all || !key.isNull(), qPrintable(menu + " > " + item->text()));
    QVERIFY2(key.isNull() || !keys.contains(key), qPrintable(menu + " > " + item->text()));
    if (!key.isNull()) keys.insert(key);
    if (item->menu() != nullptr)
      check_mnemonics(item->menu()->actions(), caption_of(item),
                      item->menu()->actions().size() < 15);
  }
  QVERIFY2(!keys.isEmpty(), qPrintable(menu));
}

}  // namespace

/// The window as a desktop program: its size follows the board, its keys and menus.
class DesktopWindowTest : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  /// Lets the window's layout settle (the minimum size, the client area).
  static void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  QAction* toolbar_action(const char* name) { return form_->findChild<QAction*>(name); }
  void shrink_as_far_as_it_goes() {
    form_->resize(40, 40);
    settle();
  }

 private slots:
  void initTestCase() {
    open_window();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  void init() {
    form_->set_research_mode(false);
    form_->run_command("Single square");
    form_->run_command("Set order...", "10");
    form_->resize(794, 625);
    settle();
    messages_.clear();
  }

  void smallestWindowHoldsTheWholeBoard_data() {
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("pair");
    QTest::addColumn<bool>("research");
    for (const int order : {1, 7, 10, 30})
      for (const bool pair : {false, true})
        for (const bool research : {false, true})
          QTest::addRow("order %d %s %s", order, pair ? "pair" : "single",
                        research ? "research" : "crossword")
              << order << pair << research;
  }
  void smallestWindowHoldsTheWholeBoard() {
    QFETCH(int, order);
    QFETCH(bool, pair);
    QFETCH(bool, research);
    form_->set_research_mode(research);
    form_->run_command("Set order...", std::to_string(order));
    form_->run_command(pair ? "Pair of squares" : "Single square");
    shrink_as_far_as_it_goes();
    // At its smallest the bitmap holds the grid at the smallest cell size with its margins, and
    // no more in the direction that limits it.
    const ViewSize fitted = get_fitted_view_size(ctx().model, kMinCellSize);
    const QImage& bitmap = form_->bitmap();
    QCOMPARE(bitmap.size(), paint_box()->size());
    QVERIFY2(bitmap.width() >= fitted.width && bitmap.height() >= fitted.height,
             qPrintable(QString("%1 x %2").arg(bitmap.width()).arg(bitmap.height())));
    QCOMPARE(bitmap.height(), fitted.height);
    if (!research || order > 1) QCOMPARE(bitmap.width(), fitted.width);
    QCOMPARE(GetCellSize(ctx().model, bitmap.width(), bitmap.height()), kMinCellSize);
    // The view takes the whole client area but its margins; the log, when shown, lines up below.
    const QSize client = form_->centralWidget()->size();
    QCOMPARE(paint_box()->geometry().left(), 8);
    QCOMPARE(paint_box()->geometry().top(), 10);
    QCOMPARE(paint_box()->geometry().right(), client.width() - 1 - 8);
    if (research) {
      const QRect memo = form_->findChild<QPlainTextEdit*>("Memo")->geometry();
      QVERIFY(memo.height() > 0);
      QCOMPARE(memo.bottom(), client.height() - 1 - 8);
      QCOMPARE(paint_box()->geometry().bottom(), memo.top() - 1 - 8);
    } else {
      QCOMPARE(paint_box()->geometry().bottom(), client.height() - 1 - 8);
    }
  }

  void windowGrowsWhenTheBoardNeedsMoreRoom() {
    shrink_as_far_as_it_goes();
    const QSize small = form_->size();
    form_->run_command("Set order...", "20");
    settle();
    QVERIFY(form_->width() > small.width() && form_->height() > small.height());
    QVERIFY(form_->bitmap().height() >= get_fitted_view_size(ctx().model, kMinCellSize).height);
    form_->run_command("Pair of squares");
    settle();
    QVERIFY(form_->bitmap().width() >= get_fitted_view_size(ctx().model, kMinCellSize).width);
    // Back to the single view, the window may be made small again.
    form_->run_command("Single square");
    form_->run_command("Set order...", "10");
    shrink_as_far_as_it_goes();
    QCOMPARE(form_->size(), small);
  }

  void largeWindowGivesTheViewEveryPixel() {
    form_->resize(1400, 950);
    settle();
    const QSize client = form_->centralWidget()->size();
    QCOMPARE(paint_box()->geometry(), QRect(8, 10, client.width() - 16, client.height() - 18));
    QCOMPARE(form_->bitmap().size(), paint_box()->size());
  }

  void everyMenuHasMnemonicsOfItsOwn() {
    check_mnemonics(form_->menuBar()->actions(), "menu bar", true);
    // The menu a player sees takes the first letter of its name.
    QCOMPARE(menu_action("Crossword")->text(), QString("&Crossword"));
    QCOMPARE(menu_action("File")->text(), QString("&File"));
    QCOMPARE(menu_action("New game")->text(), QString("&New game"));
  }

  void desktopShortcutsAndExitInTheCrosswordMenu() {
    QCOMPARE(menu_action("New game")->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(menu_action("Undo")->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(menu_action("Redo")->shortcut(), QKeySequence("Ctrl+Y"));
    QCOMPARE(menu_action("Rules")->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(menu_action("Exit")->shortcut(), QKeySequence("Ctrl+Q"));
    // The crossword's menu ends with the one Exit action the "File" menu has, so Ctrl+Q is no
    // ambiguous shortcut.
    const QList<QAction*> crossword = menu_action("Crossword")->menu()->actions();
    QVERIFY(crossword.size() >= 2);
    QVERIFY(crossword[crossword.size() - 2]->isSeparator());
    QCOMPARE(crossword.last(), menu_action("Exit"));
    QVERIFY(menu_action("File")->menu()->actions().contains(crossword.last()));
  }

  void shortcutsActInTheCrossword() {
    form_->run_command("New game");
    const TLatinSquare dealt = ctx().model.FirstSquare;
    // Ctrl+N deals anew; a player's entry is taken back with Ctrl+Z and done again with Ctrl+Y.
    QTest::keyClick(form_.get(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(ctx().model.FirstSquare != dealt);
    const TLatinSquare fresh = ctx().model.FirstSquare;
    int row = 0, col = 0;
    while (ctx().model.FixedCells[row][col]) {
      col = (col + 1) % 10;
      row += col == 0;
    }
    ctx().game.cursor = {row, col};
    QTest::keyClick(paint_box(), Qt::Key_7);
    QCOMPARE(ctx().model.FirstSquare[row][col], 7);
    QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(ctx().model.FirstSquare == fresh);
    QTest::keyClick(form_.get(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(ctx().model.FirstSquare[row][col], 7);
    // F1 tells the rules.
    QTest::keyClick(form_.get(), Qt::Key_F1);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_.first().startsWith("1. "));
  }

  void itemsThatCannotActAreGreyed() {
    form_->set_research_mode(true);
    // The pair's items need the pair view.
    QVERIFY(!menu_action("Print pair")->isEnabled());
    QVERIFY(!menu_action("Get common transversals")->isEnabled());
    form_->run_command("Pair of squares");
    QVERIFY(menu_action("Print pair")->isEnabled());
    QVERIFY(menu_action("Get common transversals")->isEnabled());
    form_->run_command("Transpose");  // shows the single square again
    QVERIFY(!menu_action("Print pair")->isEnabled());

    // The collection's navigation needs a collection.
    ctx().collection = TSquaresCollection();
    form_->UpdateView();
    for (const char* name : {"GoToBeginToolButton", "GoToPreviousToolButton", "GoToNextToolButton",
                             "GoToEndToolButton"})
      QVERIFY2(!toolbar_action(name)->isEnabled(), name);
    QVERIFY(!form_->findChild<QWidget*>("SpinEdit")->isEnabled());
    QVERIFY(!menu_action("Draw statistical info")->isEnabled());
    QTemporaryDir dir;
    TSquaresCollection squares;
    for (int i = 0; i < 2; ++i) squares.AddSquareString(kSpecialSquares[i].digits, true, true);
    const std::string file = (dir.path() + "/two.txt").toStdString();
    squares.SaveToFile(file);
    form_->run_command("Load collection...", file);
    QCOMPARE(ctx().collection.Count(), 2);
    QVERIFY(toolbar_action("GoToNextToolButton")->isEnabled());
    QVERIFY(form_->findChild<QWidget*>("SpinEdit")->isEnabled());
    QVERIFY(menu_action("Draw statistical info")->isEnabled());
    QVERIFY(messages_.isEmpty());
  }

  void ctrlQClosesTheWindow() {
    QTest::keyClick(form_.get(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!form_->isVisible());
  }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::DesktopWindowTest)
#include "desktop_window_test.moc"
