#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <thread>

#include "app/diagnostics_pane.h"
#include "app/progress_panel.h"
#include "app/window_fixture.h"
#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "model/square_view.h"

namespace dlslab::app {
namespace {

constexpr const char* kBachelor =
    "0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982"
    "760431";

}  // namespace

class LongCommandTest : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  template <typename T>
  T* child_named(const char* name) {
    return form_->findChild<T*>(name);
  }
  /// Lets the window's layout settle.
  static void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  /// Every line of a label's text shows: it is as wide as its longest word and as high as its
  /// lines need at its width, and it lies inside `within`.
  static bool shows_whole(const QLabel* label, const QWidget* within) {
    const QRect where(label->mapTo(within, QPoint(0, 0)), label->size());
    return label->isVisible() && label->width() >= label->minimumSizeHint().width() &&
           label->height() >= label->heightForWidth(label->width()) &&
           within->rect().contains(where);
  }
  /// An empty square: counting its fillings would take far longer than any test.
  void start_endless_count() {
    form_->run_command("Clear square");
    form_->start_command("Get fillings count");
  }

 private slots:
  void initTestCase() {
    open_window();
    form_->set_research_mode(true);
    form_->run_command("Clear log");
  }

  void startReturnsAtOnceProgressAdvancesAndCancelRestoresEverything() {
    form_->run_command("Import square...", kBachelor);
    form_->run_command("Clear square");
    ctx().log.Add("before");
    const std::vector<std::string> log_before = ctx().log.lines();
    const TLatinSquare square_before = ctx().model.FirstSquare;

    form_->start_command("Get fillings count");
    QVERIFY(form_->command_running());  // back in the event loop with the command still going
    QVERIFY(!menu_action("Transpose")->isEnabled());
    QVERIFY(!menu_action("Get fillings count")->isEnabled());
    QVERIFY(menu_action("Exit")->isEnabled());
    QVERIFY(menu_action("Diagnostics")->isEnabled());

    ProgressPanel* panel = form_->panel();
    QTRY_VERIFY(panel->isVisible());
    QVERIFY(!child_named<QToolBar>("ToolBar")->isEnabled());
    QCOMPARE(child_named<QLabel>("ProgressCaption")->text(),
             QString("Get fillings count: Counting the fillings"));
    // The size of a count is not known: a busy bar, and the fillings found so far beside it.
    QCOMPARE(child_named<QProgressBar>("ProgressBar")->maximum(), 0);
    QLabel* found = child_named<QLabel>("ProgressTimeLeft");
    QTRY_VERIFY(found->text().toULongLong() > 0);
    const qulonglong first = found->text().toULongLong();
    QTRY_VERIFY(found->text().toULongLong() > first);

    QSignalSpy ended(form_.get(), &TMainForm::command_ended);
    QTest::mouseClick(child_named<QPushButton>("CancelButton"), Qt::LeftButton);
    QVERIFY(ended.wait(5000));
    QVERIFY(!form_->command_running());
    QVERIFY(!panel->isVisible());
    QVERIFY(menu_action("Transpose")->isEnabled());
    QVERIFY(child_named<QToolBar>("ToolBar")->isEnabled());
    QCOMPARE(ctx().model.FirstSquare, square_before);
    std::vector<std::string> expected = log_before;
    expected.push_back("Get fillings count: cancelled");
    QCOMPARE(ctx().log.lines(), expected);
    QVERIFY(messages_.isEmpty());
  }

  void statusLineStaysWholeBesideALongCommand() {
    // The special square with the longest status line.
    QString caption, text;
    auto* status = child_named<QLabel>("StatusPanel");
    for (const SpecialSquare& special : kSpecialSquares) {
      form_->run_command(special.caption);
      if (status->text().size() > text.size()) {
        caption = QString::fromUtf8(special.caption.data(), special.caption.size());
        text = status->text();
      }
    }
    form_->run_command(caption.toStdString());
    QVERIFY2(text.size() > 40, qPrintable(text));
    for (const QSize asked : {QSize(1, 1), QSize(560, 640), QSize(1500, 900)}) {
      form_->resize(asked);
      settle();
      const QSize before = form_->size();
      const QRect board = paint_box()->geometry();
      QVERIFY(shows_whole(status, form_->statusBar()));
      // A search that runs far longer than the test; its row comes up beside the status line.
      form_->start_command("Search ODLS...", "rsv3 4000000000");
      ProgressPanel* panel = form_->panel();
      QTRY_VERIFY(panel->isVisible());
      settle();
      const QString at = QString("%1 x %2").arg(form_->width()).arg(form_->height());
      QVERIFY(!form_->statusBar()->isAncestorOf(panel));
      QCOMPARE(status->text(), text);
      QVERIFY2(shows_whole(status, form_->statusBar()), qPrintable(at));
      QVERIFY2(form_->statusBar()->geometry().bottom() < form_->height(), qPrintable(at));
      if (asked.width() > 1000)  // wide enough for the whole line in one
        QVERIFY2(status->width() >= status->fontMetrics().horizontalAdvance(text), qPrintable(at));
      // The row lies between the board and the status bar, its name and step whole.
      const QRect row(panel->mapTo(form_.get(), QPoint(0, 0)), panel->size());
      QVERIFY2(form_->rect().contains(row), qPrintable(at));
      QVERIFY2(row.bottom() < form_->statusBar()->geometry().top(), qPrintable(at));
      auto* name = child_named<QLabel>("ProgressCaption");
      QVERIFY(name->text().startsWith("Search ODLS"));
      QVERIFY2(shows_whole(name, panel), qPrintable(at + ": " + name->text()));
      QVERIFY(child_named<QPushButton>("CancelButton")->isVisible());
      // The board neither moves nor shrinks for the row.
      QCOMPARE(paint_box()->geometry(), board);
      QVERIFY(form_->bitmap().height() >= get_fitted_view_size(ctx().model, kMinCellSize).height);

      QSignalSpy ended(form_.get(), &TMainForm::command_ended);
      form_->cancel_command();
      QVERIFY(ended.wait(5000));
      settle();
      QVERIFY(!panel->isVisible());
      QCOMPARE(form_->size(), before);
      QCOMPARE(paint_box()->geometry(), board);
      QVERIFY(shows_whole(status, form_->statusBar()));
    }
    QCOMPARE(ctx().log.lines().back(), std::string("Search ODLS: cancelled"));
    QVERIFY(messages_.isEmpty());
  }

  void knownSizeShowsHowFarAndTheTimeLeft() {
    ProgressPanel panel(nullptr);
    panel.start("Load collection");
    auto* bar = panel.findChild<QProgressBar*>("ProgressBar");
    auto* caption = panel.findChild<QLabel*>("ProgressCaption");
    auto* left = panel.findChild<QLabel*>("ProgressTimeLeft");
    QCOMPARE(bar->maximum(), 0);  // nothing known yet
    panel.show_progress({"Loading the collection", 0, 4000});
    QCOMPARE(caption->text(), QString("Load collection: Loading the collection"));
    QCOMPARE(bar->value() * 4, bar->maximum() * 0);
    QVERIFY(left->text().isEmpty());  // no rate to tell the time left from yet
    QTest::qWait(1100);
    panel.show_progress({"Loading the collection", 1000, 4000});
    QCOMPARE(bar->value() * 4, bar->maximum());
    // A quarter done in a second or more: three more quarters take about three times that.
    QVERIFY2(left->text().endsWith(" left"), qPrintable(left->text()));
    const QStringList minutes_seconds = left->text().chopped(5).split(':');
    QCOMPARE(minutes_seconds.size(), 2);
    const int seconds = minutes_seconds[0].toInt() * 60 + minutes_seconds[1].toInt();
    QVERIFY2(seconds >= 3, qPrintable(left->text()));
    // A new step restarts the estimate.
    panel.show_progress({"Checking the squares", 1000, 4000});
    QVERIFY(left->text().isEmpty());
  }

  void aLongWaitReadsInHoursAndTheDialogDotsGo() {
    ProgressPanel panel(nullptr);
    panel.start("Search ODLS...");
    auto* caption = panel.findChild<QLabel*>("ProgressCaption");
    auto* left = panel.findChild<QLabel*>("ProgressTimeLeft");
    QCOMPARE(caption->text(), QString("Search ODLS"));
    panel.show_progress({"search", 0, 100000});
    QCOMPARE(caption->text(), QString("Search ODLS: search"));
    QTest::qWait(1100);
    // One in 100,000 in a second or more: more than a day left, as h:mm:ss.
    panel.show_progress({"search", 1, 100000});
    const QStringList parts = left->text().chopped(5).split(':');
    QCOMPARE(parts.size(), 3);
    QVERIFY2(parts[0].toInt() >= 27 && parts[1].size() == 2 && parts[1].toInt() < 60 &&
                 parts[2].size() == 2,
             qPrintable(left->text()));
  }

  void escapeCancelsToo() {
    start_endless_count();
    QVERIFY(form_->command_running());
    QSignalSpy ended(form_.get(), &TMainForm::command_ended);
    QTest::keyClick(form_.get(), Qt::Key_Escape);
    QVERIFY(ended.wait(5000));
    QCOMPARE(ctx().log.lines().back(), std::string("Get fillings count: cancelled"));
  }

  void finishedCommandIsAppliedAsIfRunInPlace() {
    form_->run_command("Import square...", kBachelor);
    form_->run_command("Backward");  // waits for the end, the window alive meanwhile
    QVERIFY(!form_->command_running());
    QCOMPARE(ctx().log.lines().back(), std::string("Dominating set cardinality: 34"));
    QCOMPARE(GetEmptyCellsCount(ctx().model.FirstSquare), 100 - 34);
  }

  void diagnosticsPaneShowsWhatAnyThreadWrites() {
    DiagnosticsPane* pane = form_->diagnostics();
    QVERIFY(!pane->isVisible());
    menu_action("Diagnostics")->trigger();
    QVERIFY(pane->isVisible());
    QVERIFY(menu_action("Diagnostics")->isChecked());
    QCoreApplication::processEvents();  // what earlier commands wrote
    pane->clear();
    std::thread([] { diag() << "from a worker " << 42 << '\n' << std::flush; }).join();
    diag() << "partial line" << std::flush;
    QTRY_COMPARE(pane->toPlainText(), QString("from a worker 42\npartial line"));
    menu_action("Diagnostics")->trigger();
    QVERIFY(!pane->isVisible());
  }

  void closingDuringALongCommandCancelsIt() {
    start_endless_count();
    const std::vector<std::string> log_before = ctx().log.lines();
    QVERIFY(form_->command_running());
    form_->close();
    QVERIFY(!form_->command_running());
    QCoreApplication::processEvents();
    QCOMPARE(ctx().log.lines(), log_before);  // nothing applied, not even the cancel line
  }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::LongCommandTest)
#include "long_command_test.moc"
