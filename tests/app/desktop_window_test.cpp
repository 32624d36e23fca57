#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

#include "app/main_form.h"
#include "model/square_view.h"

namespace dlslab::app {

/// The window as a desktop program: its size follows the board, its keys and menus.
class DesktopWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TMainForm> form_;
  QStringList messages_;

  cmd::Context& ctx() { return form_->context(); }
  QWidget* Box() { return form_->findChild<QWidget*>("PaintBox"); }
  /// Lets the window's layout settle (the minimum size, the client area).
  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  void ShrinkAsFarAsItGoes() {
    form_->resize(40, 40);
    Settle();
  }

 private slots:
  void initTestCase() {
    form_ = std::make_unique<TMainForm>();
    form_->set_message_sink([this](const QString& text) { messages_ << text; });
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void init() {
    form_->set_research_mode(false);
    form_->run_command("Single square");
    form_->run_command("Set order...", "10");
    form_->resize(794, 625);
    Settle();
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
    ShrinkAsFarAsItGoes();
    // At its smallest the bitmap holds the grid at the smallest cell size with its margins, and
    // no more in the direction that limits it.
    const ViewSize fitted = GetFittedViewSize(ctx().model, kMinCellSize);
    const QImage& bitmap = form_->bitmap();
    QCOMPARE(bitmap.size(), Box()->size());
    QVERIFY2(bitmap.width() >= fitted.width && bitmap.height() >= fitted.height,
             qPrintable(QString("%1 x %2").arg(bitmap.width()).arg(bitmap.height())));
    QCOMPARE(bitmap.height(), fitted.height);
    if (!research || order > 1) QCOMPARE(bitmap.width(), fitted.width);
    QCOMPARE(GetCellSize(ctx().model, bitmap.width(), bitmap.height()), kMinCellSize);
    // The view takes the whole client area but its margins; the log, when shown, lines up below.
    const QSize client = form_->centralWidget()->size();
    QCOMPARE(Box()->geometry().left(), 8);
    QCOMPARE(Box()->geometry().top(), 10);
    QCOMPARE(Box()->geometry().right(), client.width() - 1 - 8);
    if (research) {
      const QRect memo = form_->findChild<QPlainTextEdit*>("Memo")->geometry();
      QVERIFY(memo.height() > 0);
      QCOMPARE(memo.bottom(), client.height() - 1 - 8);
      QCOMPARE(Box()->geometry().bottom(), memo.top() - 1 - 8);
    } else {
      QCOMPARE(Box()->geometry().bottom(), client.height() - 1 - 8);
    }
  }

  void windowGrowsWhenTheBoardNeedsMoreRoom() {
    ShrinkAsFarAsItGoes();
    const QSize small = form_->size();
    form_->run_command("Set order...", "20");
    Settle();
    QVERIFY(form_->width() > small.width() && form_->height() > small.height());
    QVERIFY(form_->bitmap().height() >= GetFittedViewSize(ctx().model, kMinCellSize).height);
    form_->run_command("Pair of squares");
    Settle();
    QVERIFY(form_->bitmap().width() >= GetFittedViewSize(ctx().model, kMinCellSize).width);
    // Back to the single view, the window may be made small again.
    form_->run_command("Single square");
    form_->run_command("Set order...", "10");
    ShrinkAsFarAsItGoes();
    QCOMPARE(form_->size(), small);
  }

  void largeWindowGivesTheViewEveryPixel() {
    form_->resize(1400, 950);
    Settle();
    const QSize client = form_->centralWidget()->size();
    QCOMPARE(Box()->geometry(), QRect(8, 10, client.width() - 16, client.height() - 18));
    QCOMPARE(form_->bitmap().size(), Box()->size());
  }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::DesktopWindowTest)
#include "desktop_window_test.moc"
