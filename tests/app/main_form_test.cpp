#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "app/import_form.h"
#include "app/set_order_form.h"
#include "app/window_fixture.h"
#include "cmd/menu_table.h"
#include "collection/squares_collection.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "model/square_view.h"

namespace dlslab::app {
namespace {

constexpr const char* kBachelor =
    "0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982"
    "760431";

}  // namespace

class MainFormTest : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  QStringList visible_menus() {
    QStringList captions;
    for (QAction* top : form_->menuBar()->actions())
      if (top->isVisible()) captions << caption_of(top);
    return captions;
  }
  /// Runs `step` inside the next modal dialog's event loop.
  static void when_modal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
      QWidget* dialog = QApplication::activeModalWidget();
      QVERIFY(dialog != nullptr);
      step(dialog);
    });
  }

 private slots:
  void initTestCase() {
    open_window();
    // Start-up dealt a game: its clues are the board's filled cells, kept in the puzzle copy.
    QCOMPARE(ctx().puzzle.order(), 10);
    QVERIFY(ctx().puzzle == ctx().model.FirstSquare);
    int clues = 0;
    for (int i = 0; i < 10; ++i)
      for (int j = 0; j < 10; ++j) {
        QCOMPARE(ctx().model.FixedCells[i][j], ctx().puzzle[i][j] >= 0);
        clues += ctx().model.FixedCells[i][j];
      }
    QVERIFY(clues > 0 && clues < 100);
    QVERIFY(messages_.isEmpty());
  }

  void init() {
    // Whatever the start-up game left: an empty order-10 board without clues.
    form_->set_research_mode(false);
    form_->resize(794, 625);
    form_->run_command("Single square");
    form_->run_command("Set order...", "10");
    ctx().puzzle = TLatinSquare();
    ctx().model.FixedCells.fill(false);
    messages_.clear();
  }

  void startUpShowsOnlyTheCrossword() {
    QCOMPARE(visible_menus(), QStringList{"Crossword"});
    QVERIFY(form_->windowTitle().startsWith("Diagonal Latin squares crossword - game "));
    QVERIFY(!form_->findChild<QPlainTextEdit*>("Memo")->isVisible());
    QVERIFY(!form_->findChild<QToolBar*>("ToolBar")->isVisible());
    QVERIFY(!form_->statusBar()->isVisible());
    QVERIFY(!form_->findChild<QPushButton*>("DbgButton")->isVisible());
    QVERIFY(menu_action("Single square")->isChecked());
    QVERIFY(!menu_action("Pair of squares")->isChecked());
  }

  void menusFollowTheCommandTable() {
    QStringList expected, shown;
    const auto table = cmd::menu_table();
    for (const cmd::MenuEntry& entry : table)
      if (entry.depth == 0)
        expected << QString::fromUtf8(entry.caption.data(), entry.caption.size());
    for (QAction* top : form_->menuBar()->actions()) shown << caption_of(top);
    QCOMPARE(shown, expected);
    for (std::size_t i = 0; i < table.size(); ++i) {
      const cmd::MenuEntry& entry = table[i];
      if (entry.caption == "-" || cmd::is_container(table, i)) continue;
      QAction* action = menu_action(QString::fromUtf8(entry.caption.data(), entry.caption.size()));
      QVERIFY2(action != nullptr, entry.name.data());
      // Every item can act at start, but Undo and Redo with an empty history and the items
      // whose needs are missing (the single view, no collection).
      const bool history = entry.id == cmd::MenuId::kUndo || entry.id == cmd::MenuId::kRedo;
      QVERIFY2(action->isEnabled() == (!history && cmd::can_act(entry, ctx())), entry.name.data());
    }
    QCOMPARE(menu_action("Heuristic filling")->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(menu_action("Undo")->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
    QCOMPARE(menu_action("Redo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    const QStringList file_items = [this] {
      QStringList items;
      for (QAction* a : menu_action("File")->menu()->actions())
        items << (a->isSeparator() ? "-" : caption_of(a));
      return items;
    }();
    QCOMPARE(file_items.mid(5),
             (QStringList{"Save as bmp...", "-", "Load collection...", "-", "Exit"}));
  }

  void resizeLaysOutTheBoxAndItsBitmap() {
    // The view takes the client area but for a margin of 8 (10 above); in research mode the log
    // of 177 lines up below it.
    form_->resize(900, 700);
    const QSize client = form_->centralWidget()->size();
    QCOMPARE(paint_box()->geometry(), QRect(8, 10, client.width() - 16, client.height() - 18));
    QCOMPARE(form_->bitmap().size(), paint_box()->size());
    form_->set_research_mode(true);
    QCoreApplication::sendPostedEvents();
    const QSize research = form_->centralWidget()->size();
    const QRect memo = form_->findChild<QPlainTextEdit*>("Memo")->geometry();
    QCOMPARE(memo, QRect(8, research.height() - 8 - 177, research.width() - 16, 177));
    QCOMPARE(paint_box()->geometry(), QRect(8, 10, research.width() - 16, memo.top() - 8 - 10));
    QCOMPARE(form_->bitmap().size(), paint_box()->size());
  }

  void researchModeShowsTheHiddenParts() {
    menu_action("Research mode")->trigger();
    QVERIFY(form_->research_mode());
    QCOMPARE(visible_menus().size(), form_->menuBar()->actions().size());
    auto* memo = form_->findChild<QPlainTextEdit*>("Memo");
    QVERIFY(memo->isVisible());
    QVERIFY(form_->statusBar()->isVisible());
    QVERIFY(paint_box()->geometry().bottom() < memo->geometry().top());  // the log hides no cell
    menu_action("Research mode")->trigger();
    QCOMPARE(visible_menus(), QStringList{"Crossword"});
  }

  void clickAtTheMarginEditsTheFirstCell() {
    QTest::mouseMove(paint_box(), QPoint(5, 5));
    QCOMPARE(form_->remembered_cell().row, 0);
    QCOMPARE(form_->remembered_cell().col, 0);
    QTest::mouseClick(paint_box(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(ctx().model.FirstSquare[0][0], 0);
    QTest::mouseClick(paint_box(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(ctx().model.FirstSquare[0][0], 1);
  }

  void wheelAndPopupActOnTheRememberedCellButNotOnClues() {
    const int s = GetCellSize(ctx().model, form_->bitmap().width(), form_->bitmap().height());
    QTest::mouseMove(paint_box(), QPoint(10 + 2 * s + 5, 10 + 3 * s + 5));
    QWheelEvent down(QPointF(5, 5), paint_box()->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                     Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCOMPARE(form_->remembered_cell().row, 3);
    QCOMPARE(form_->remembered_cell().col, 2);
    QApplication::sendEvent(form_.get(), &down);
    QCOMPARE(ctx().model.FirstSquare[3][2], 8);
    form_->popup_menu()->actions().at(1 + 4)->trigger();
    QCOMPARE(ctx().model.FirstSquare[3][2], 4);

    ctx().puzzle = TLatinSquare(10);
    ctx().puzzle[3][2] = 4;
    QApplication::sendEvent(form_.get(), &down);
    form_->popup_menu()->actions().at(0)->trigger();  // "Clear cell"
    QTest::mouseClick(paint_box(), Qt::LeftButton, {}, QPoint(10 + 2 * s + 5, 10 + 3 * s + 5));
    QCOMPARE(ctx().model.FirstSquare[3][2], 4);
  }

  void setOrderDialogTakesEnterAndEscape() {
    when_modal([](QWidget* dialog) {
      auto* form = qobject_cast<TSetOrderForm*>(dialog);
      QVERIFY(form != nullptr);
      form->spin_edit()->setValue(12);
      QTest::keyClick(form->spin_edit(), Qt::Key_Return);
    });
    menu_action("Set order...")->trigger();
    QCOMPARE(ctx().model.GetOrder(), 12);
    QCOMPARE(GetEmptyCellsCount(ctx().model.FirstSquare), 144);
    QStringList items;
    for (QAction* item : form_->popup_menu()->actions()) items << item->text();
    QCOMPARE(items.size(), 13);
    QCOMPARE(items.first(), QString("Clear cell"));
    QCOMPARE(items.last(), QString("11"));

    when_modal([](QWidget* dialog) {
      auto* form = qobject_cast<TSetOrderForm*>(dialog);
      form->spin_edit()->setValue(5);
      QTest::keyClick(form->spin_edit(), Qt::Key_Escape);
    });
    menu_action("Set order...")->trigger();
    QCOMPARE(ctx().model.GetOrder(), 12);
    QCOMPARE(form_->set_order_form()->order(), 5);  // the field keeps its last value
  }

  void importDialogReadsItsMemo() {
    when_modal([](QWidget* dialog) {
      auto* form = qobject_cast<TImportForm*>(dialog);
      QVERIFY(form != nullptr);
      QCOMPARE(form->windowTitle(), QString("Import of the square"));
      QVERIFY(form->memo()->toPlainText().isEmpty());
      const QString digits(kBachelor);
      form->memo()->setPlainText(digits.left(50) + "\n" + digits.mid(50));
      form->findChild<QPushButton*>("ImportButton")->click();
    });
    menu_action("Import square...")->trigger();
    QCOMPARE(SquareToString(ctx().model.FirstSquare, false), std::string(kBachelor));
  }

  void pairViewPaintsRepeatedPairsRed() {
    std::string pair;
    for (const char c : std::string(kBachelor)) pair += std::string{c, c};
    form_->run_command("Import pair...", pair);
    QCOMPARE(int(ctx().model.ViewMode), 1);
    const QImage& bitmap = form_->bitmap();
    const int s = std::min((bitmap.height() - 20) / 10, (bitmap.width() - 20) / 21);
    QCOMPARE(GetCellSize(ctx().model, bitmap.width(), bitmap.height()), s);
    auto corner = [&](int row, int col) {
      return bitmap.pixelColor(10 + col * s + 3, 10 + row * s + 3);
    };
    QCOMPARE(corner(0, 1), QColor(Qt::red));
    QCOMPARE(corner(5, 9), QColor(Qt::red));
    QCOMPARE(corner(5, 11 + 9), QColor(Qt::red));
    QVERIFY(corner(4, 0) != QColor(Qt::red));
    QVERIFY(corner(4, 11) != QColor(Qt::red));
    QCOMPARE(corner(4, 10), QColor(Qt::white));  // the gap
  }

  void saveAsBmpWritesTheFittedPicture() {
    form_->resize(form_->size() - paint_box()->size() + QSize(310, 310));
    QCOMPARE(paint_box()->size(), QSize(310, 310));
    const QImage before = form_->bitmap();
    QTemporaryDir dir;
    form_->run_command("Import square...", kBachelor);
    form_->run_command("Save as bmp...", (dir.path() + "/board").toStdString());
    const QImage saved(dir.path() + "/board.bmp");
    QCOMPARE(saved.size(), QSize(310, 310));
    QCOMPARE(form_->bitmap().size(), before.size());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             form_->bitmap().convertToFormat(QImage::Format_RGB32));
    QVERIFY(messages_.isEmpty());
    form_->run_command("Save as bmp...", "/nonexistent-dir/board.bmp");
    QCOMPARE(messages_.size(), 1);
  }

  void commandErrorsBecomeMessagesAndTheLogMirrorsTheMemo() {
    form_->run_command("Load from file...", "/nonexistent-dir/square.txt");
    QCOMPARE(messages_.size(), 1);
    auto* memo = form_->findChild<QPlainTextEdit*>("Memo");
    form_->run_command("Clear log");
    form_->run_command("Import square...", kBachelor);
    form_->run_command("As solid string");
    QCOMPARE(memo->toPlainText(), QString("DLS: ") + kBachelor);
    form_->run_command("Clear log");
    QVERIFY(memo->toPlainText().isEmpty());
  }

  void toolBarBrowsesTheCollection() {
    QTemporaryDir dir;
    TSquaresCollection squares;
    for (int i = 0; i < 3; ++i) squares.AddSquareString(kSpecialSquares[i].digits, true, true);
    const std::string file = (dir.path() + "/three.txt").toStdString();
    squares.SaveToFile(file);
    form_->run_command("Load collection...", file);
    auto* spin = form_->findChild<QSpinBox*>("SpinEdit");
    QCOMPARE(spin->maximum(), 2);
    QCOMPARE(spin->value(), 0);
    QVERIFY(ctx().model.FirstSquare == squares.get_square(0));
    form_->findChild<QAction*>("GoToEndToolButton")->trigger();
    QCOMPARE(spin->value(), 2);
    QVERIFY(ctx().model.FirstSquare == squares.get_square(2));
    form_->findChild<QAction*>("GoToPreviousToolButton")->trigger();
    QVERIFY(ctx().model.FirstSquare == squares.get_square(1));
    spin->setValue(0);
    QVERIFY(ctx().model.FirstSquare == squares.get_square(0));
    QVERIFY(messages_.isEmpty());
  }

  void failedCollectionLoadLeavesTheCollectionItsPositionAndTheBoard() {
    QTemporaryDir dir;
    TSquaresCollection squares;
    for (int i = 0; i < 3; ++i) squares.AddSquareString(kSpecialSquares[i].digits, true, true);
    const std::string good = (dir.path() + "/good.txt").toStdString();
    squares.SaveToFile(good);
    form_->set_research_mode(true);
    form_->run_command("Load collection...", good);
    form_->findChild<QAction*>("GoToNextToolButton")->trigger();
    form_->run_command("Rotate to 180");
    const TLatinSquare board = ctx().model.FirstSquare;

    const std::string file = (dir.path() + "/broken.txt").toStdString();
    squares.SaveToFile(file);
    QFile broken(QString::fromStdString(file));
    QVERIFY(broken.open(QIODevice::Append));
    broken.write("0 1 2 3 4 5 6 7 8 9 \r\n");  // a block that stops after one row
    broken.close();
    form_->run_command("Load collection...", file);
    QCOMPARE(messages_,
             QStringList{"TSquaresCollection.LoadFromFile_VelmoraFormat(): Wrong file format"});
    QCOMPARE(ctx().log.lines().back(),
             "Load collection: " + file +
                 " not loaded, wrong file format at line 34; the collection is unchanged");
    // The error box does not name the file; the notice beside it does.
    QVERIFY(form_->notice()->isVisible());
    QCOMPARE(form_->notice()->text(), QString::fromStdString(ctx().log.lines().back()));
    auto* spin = form_->findChild<QSpinBox*>("SpinEdit");
    QCOMPARE(spin->maximum(), 2);
    QCOMPARE(spin->value(), 1);
    QCOMPARE(ctx().collection.Count(), 3);
    QVERIFY(ctx().model.FirstSquare == board);
    form_->findChild<QAction*>("GoToNextToolButton")->trigger();
    QVERIFY(ctx().model.FirstSquare == squares.get_square(2));
  }

  void noticesTellWhatTheLogDoesNot() {
    QLabel* notice = form_->notice();
    QWidget* client = form_->findChild<QWidget*>("Client");
    for (const bool research : {false, true}) {
      form_->set_research_mode(research);
      const std::vector<std::string> log = ctx().log.lines();
      menu_action("Fish")->trigger();
      QVERIFY(notice->isVisible());
      QCOMPARE(notice->text(), QString("Special square Fish loaded, type FISH (N)"));
      // Over the foot of the client area, every line of it inside.
      const QRect where = notice->geometry();
      QVERIFY(client->rect().contains(where));
      QCOMPARE(where.bottom(), client->height() - 1 - 8);
      QVERIFY(where.height() >= notice->heightForWidth(where.width()));

      QTemporaryDir dir;
      form_->run_command("Save to file...", (dir.path() + "/fish").toStdString());
      QCOMPARE(notice->text(), "Save to file: " + dir.path() + "/fish.txt written");
      QTemporaryDir empty;
      form_->run_command("Find square in folder", empty.path().toStdString());
      QCOMPARE(notice->text(), "Find square in folder: " + empty.path() + "/ holds no files");
      QCOMPARE(ctx().log.lines(), log);  // the log says no more than before
      QTest::mouseClick(notice, Qt::LeftButton);
      QVERIFY(!notice->isVisible());
    }
    // A narrow window breaks a long notice into lines instead of cutting it.
    form_->resize(1, 1);
    QCoreApplication::processEvents();
    form_->run_command("Find square in folder", "/nonexistent-dir");
    QCOMPARE(messages_.size(), 1);
    menu_action("XO=74")->trigger();
    QVERIFY(notice->height() >= notice->heightForWidth(notice->width()));
    QVERIFY(client->rect().contains(notice->geometry()));
    QVERIFY(messages_.size() == 1);
  }

  void cliPaintsTheSamePictureOffscreen() {
    QTemporaryDir dir;
    QProcess cli;
    cli.start(DLSLAB_CLI_PATH, {"--square", kBachelor, "Save as bmp...", dir.path() + "/cli"});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    const QImage saved(dir.path() + "/cli.bmp");
    QCOMPARE(saved.size(), QSize(310, 310));
    QCOMPARE(saved.pixelColor(10 + 3, 10 + 3), QColor(0, 8, 220));  // value 0's colour
  }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::MainFormTest)
#include "main_form_test.moc"
