#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWheelEvent>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/main_form.h"
#include "app/menu_text.h"
#include "app/own_data_folder.h"
#include "app/paint_box.h"
#include "app/win_banner.h"
#include "cmd/crossword_commands.h"
#include "cmd/crossword_game.h"
#include "cmd/saved_game.h"
#include "cmd/view_commands.h"
#include "fill/fillings.h"
#include "fill/puzzle_rating.h"
#include "model/ls_data_structs.h"
#include "model/square_view.h"
#include "render/pencil_marks.h"

namespace dlslab::app {

// The crossword as the player meets it: the game dealt at start-up, its yellow clues, the
// mouse and the keyboard that cannot change them, "Start again", undo, games by number and a
// solved board.
class CrosswordWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TMainForm> form_;

  cmd::Context& ctx() { return form_->context(); }
  PaintBox* paint_box() { return form_->findChild<PaintBox*>("PaintBox"); }
  int board_cell_size() {
    return GetCellSize(ctx().model, form_->bitmap().width(), form_->bitmap().height());
  }
  QPoint cell_point(int row, int col) {
    const int s = board_cell_size();
    return {kViewMargin + col * s + s / 2, kViewMargin + row * s + s / 2};
  }
  /// The fill of a cell as painted: a pixel inside its outline, clear of the digit.
  TColor painted_fill(int row, int col) {
    const int s = board_cell_size();
    const QColor c =
        form_->bitmap().pixelColor(kViewMargin + col * s + 3, kViewMargin + row * s + 3);
    return rgb(c.red(), c.green(), c.blue());
  }
  QAction* menu_action(const QString& caption) {
    for (QAction* top : form_->menuBar()->actions())
      if (QAction* found = top->menu() != nullptr ? find_in_menu(top->menu(), caption) : nullptr)
        return found;
    return nullptr;
  }
  static QAction* find_in_menu(QMenu* menu, const QString& caption) {
    for (QAction* item : menu->actions()) {
      if (caption_of(item) == caption) return item;
      if (item->menu() != nullptr)
        if (QAction* found = find_in_menu(item->menu(), caption)) return found;
    }
    return nullptr;
  }
  /// A left click on a cell; the view acts on the cell the pointer moved over.
  void click_cell(int row, int col) {
    QTest::mouseMove(paint_box(), cell_point(row, col));
    QTest::mouseClick(paint_box(), Qt::LeftButton, {}, cell_point(row, col));
  }
  void press_key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(paint_box(), static_cast<Qt::Key>(key), modifiers);
  }
  CellPos cursor_cell() { return ctx().game.cursor; }
  static bool same_cell(CellPos a, CellPos b) { return a.row == b.row && a.col == b.col; }
  /// The first cell, row by row, that holds a clue (want_clue) or not.
  CellPos find_cell(bool want_clue) {
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if ((ctx().puzzle[r][c] >= 0) == want_clue) return {r, c};
    return {-1, -1};
  }
  /// The clue set of game `number` as dlslab-cli deals it.
  QString cli_clues(quint32 number) {
    QProcess cli;
    cli.start(DLSLAB_CLI_PATH, {"--seed", QString::number(number), "New game", "As solid string"});
    if (!cli.waitForFinished(60000)) return {};
    for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n'))
      if (line.startsWith("DLS: ")) return line.mid(5);
    return {};
  }
  static QString digits_of(const TLatinSquare& square) {
    QString text;
    for (int i = 0; i < square.size(); ++i)
      text += square.data()[i] < 0 ? QChar('-') : QChar('0' + square.data()[i]);
    return text;
  }

  /// Puts value into a cell through the cell pop-up menu, as the player does.
  void pick_value(int row, int col, int value) {
    QTest::mouseMove(paint_box(), cell_point(row, col));
    form_->popup_menu()->actions().at(1 + value)->trigger();
  }

  /// The window's questions, each answered with answer_.
  QStringList questions_;
  bool answer_ = true;
  std::function<bool(const QString&)> Answer() {
    return [this](const QString& text) {
      questions_ << text;
      return answer_;
    };
  }
  static QString kept_file() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/saved_game.txt";
  }
  /// The n-th cell, row by row, that is no clue.
  CellPos free_cell(int n) {
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx().puzzle[r][c] == kEmpty && n-- == 0) return {r, c};
    return {-1, -1};
  }
  /// The pointer onto a cell, from wherever it was (a move onto the same point is no move).
  void hover(CellPos cell) {
    QTest::mouseMove(paint_box(), QPoint(1, 1));
    QTest::mouseMove(paint_box(), cell_point(cell.row, cell.col));
  }
  QImage cell_image(const QImage& image, CellPos cell) {
    const int s = board_cell_size();
    return image.copy(kViewMargin + cell.col * s, kViewMargin + cell.row * s, s, s);
  }

 private slots:
  void initTestCase() {
    use_own_data_folder();
    form_ = std::make_unique<TMainForm>();
    form_->set_question_sink(Answer());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void startUpDealsAUniquePuzzleWithYellowClues() {
    const TLatinSquare& board = ctx().model.FirstSquare;
    QCOMPARE(ctx().puzzle.order(), 10);
    QVERIFY(ctx().puzzle == board);
    const int clues = 100 - GetEmptyCellsCount(board);
    QVERIFY(clues > 0 && clues < 100);
    QVERIFY(has_one_filling(board));
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) {
        QCOMPARE(ctx().model.FixedCells[r][c], board[r][c] >= 0);
        QCOMPARE(painted_fill(r, c) == kClYellow, board[r][c] >= 0);
      }
    }
  }

  void cluesCannotBeEdited() {
    const TLatinSquare before = ctx().model.FirstSquare;
    int r = 0, c = 0;
    while (before[r][c] < 0) c == 9 ? (++r, c = 0) : ++c;
    click_cell(r, c);
    QVERIFY(ctx().model.FirstSquare == before);
    QWheelEvent up(QPointF(5, 5), paint_box()->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120),
                   Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form_.get(), &up);
    QVERIFY(ctx().model.FirstSquare == before);
    pick_value(r, c, (before[r][c] + 1) % 10);
    QVERIFY(ctx().model.FirstSquare == before);
    form_->popup_menu()->actions().at(0)->trigger();  // "Clear cell"
    QVERIFY(ctx().model.FirstSquare == before);
  }

  void startAgainEmptiesEveryPlayersCell() {
    const TLatinSquare puzzle = ctx().puzzle;
    int edited = 0;
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (puzzle[r][c] < 0 && (r + c) % 3 == 0) {
          click_cell(r, c);
          ++edited;
        }
    QVERIFY(edited > 0);
    QVERIFY(!(ctx().model.FirstSquare == puzzle));
    menu_action("Start again")->trigger();
    QVERIFY(ctx().model.FirstSquare == puzzle);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c) QCOMPARE(painted_fill(r, c) == kClYellow, puzzle[r][c] >= 0);
  }

  void theUniqueSolutionLeavesNoRedCell() {
    const TLatinSquare solution = GetFirstFilling(ctx().puzzle);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx().puzzle[r][c] < 0) pick_value(r, c, solution[r][c]);
    QVERIFY(ctx().model.FirstSquare == solution);
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) {
        QVERIFY(!ctx().model.RedCells[r][c]);
        QVERIFY(painted_fill(r, c) != kClRed);
      }
    }
    // One repeat turns red at once.
    int r = 0, c = 0;
    while (ctx().puzzle[r][c] >= 0) c == 9 ? (++r, c = 0) : ++c;
    pick_value(r, c, (solution[r][c] + 1) % 10);
    QVERIFY(ctx().model.RedCells[r][c]);
  }

  void newGameDealsAnotherPuzzle() {
    const TLatinSquare first = ctx().puzzle;
    menu_action("New game")->trigger();
    QVERIFY(!(ctx().puzzle == first));
    QVERIFY(ctx().model.FirstSquare == ctx().puzzle);
    QVERIFY(has_one_filling(ctx().puzzle));
  }

  void keyboardMovesTheCursorAndWritesCells() {
    form_->run_command("Play game number...", "2024");
    const TLatinSquare& board = ctx().model.FirstSquare;
    const CellPos start = cmd::first_free_cell(ctx().model, ctx().puzzle);
    QVERIFY(same_cell(cursor_cell(), start));
    QVERIFY(ctx().puzzle[start.row][start.col] < 0);
    press_key(Qt::Key_Down);
    press_key(Qt::Key_End);
    QVERIFY(same_cell(cursor_cell(), {start.row + 1, 9}));
    press_key(Qt::Key_Right);  // the edge holds it
    QVERIFY(same_cell(cursor_cell(), {start.row + 1, 9}));
    press_key(Qt::Key_Home);
    press_key(Qt::Key_Up);
    QVERIFY(same_cell(cursor_cell(), {start.row, 0}));
    // Tab walks the free cells only, along the row and on to the next.
    press_key(Qt::Key_Home);
    press_key(Qt::Key_Tab);
    for (int k = 0; k < 30; ++k) {
      QVERIFY(ctx().puzzle[cursor_cell().row][cursor_cell().col] < 0);
      press_key(Qt::Key_Tab);
    }
    const CellPos at = cursor_cell();
    press_key(Qt::Key_Tab);
    press_key(Qt::Key_Backtab);
    QVERIFY(same_cell(cursor_cell(), at));

    press_key(Qt::Key_7);
    QCOMPARE(board[at.row][at.col], 7);
    press_key(Qt::Key_3);
    QCOMPARE(board[at.row][at.col], 3);
    press_key(Qt::Key_Delete);
    QCOMPARE(board[at.row][at.col], kEmpty);
    press_key(Qt::Key_5);
    press_key(Qt::Key_Backspace);
    QCOMPARE(board[at.row][at.col], kEmpty);
    press_key(Qt::Key_5);
    press_key(Qt::Key_Space);
    QCOMPARE(board[at.row][at.col], kEmpty);

    // The outline on the screen: a blue band at the cell's edge, a white line inside it, the
    // fill beyond.
    press_key(Qt::Key_1);
    const QImage screen = paint_box()->grab().toImage();
    const int s = board_cell_size();
    const int band = std::max(2, s / 14);
    const int x = kViewMargin + at.col * s, y = kViewMargin + at.row * s;
    const QColor blue(0, 70, 220);
    QCOMPARE(screen.pixelColor(x, y + s / 2), blue);
    QCOMPARE(screen.pixelColor(x + band - 1, y + s / 2), blue);
    QCOMPARE(screen.pixelColor(x + s - 1, y + s / 2), blue);
    QCOMPARE(screen.pixelColor(x + s / 2, y + band), QColor(Qt::white));
    const TColor fill = ctx().model.RedCells[at.row][at.col] ? kClRed : ctx().model.ValueColors[1];
    const QColor inside = screen.pixelColor(x + band + 1, y + band + 1);
    QCOMPARE(rgb(inside.red(), inside.green(), inside.blue()), fill);
    // The bitmap, and a saved picture with it, has no cursor.
    QCOMPARE(form_->bitmap().pixelColor(x + 1, y + s / 2),
             form_->bitmap().pixelColor(x + 3, y + 3));
  }

  void keyboardCannotChangeCluesAndTheCursorFollowsAClick() {
    form_->run_command("Play game number...", "2024");
    const CellPos clue = find_cell(true);
    const CellPos free = find_cell(false);
    // A move alone leaves the cursor.
    QTest::mouseMove(paint_box(), cell_point(clue.row, clue.col));
    QVERIFY(same_cell(cursor_cell(), free));
    click_cell(clue.row, clue.col);
    QVERIFY(same_cell(cursor_cell(), clue));
    const TLatinSquare before = ctx().model.FirstSquare;
    press_key(Qt::Key_0 + (before[clue.row][clue.col] + 1) % 10);
    press_key(Qt::Key_Delete);
    press_key(Qt::Key_Space);
    QVERIFY(ctx().model.FirstSquare == before);
    click_cell(free.row, free.col);
    QVERIFY(same_cell(cursor_cell(), free));
    QCOMPARE(ctx().model.FirstSquare[free.row][free.col], 0);
  }

  void undoAndRedoReachAcrossStartAgain() {
    form_->run_command("Play game number...", "99");
    const TLatinSquare puzzle = ctx().puzzle;
    QVERIFY(!menu_action("Undo")->isEnabled());
    QVERIFY(!menu_action("Redo")->isEnabled());
    press_key(Qt::Key_4);
    QVERIFY(menu_action("Undo")->isEnabled());
    press_key(Qt::Key_Tab);
    press_key(Qt::Key_6);
    const TLatinSquare played = ctx().model.FirstSquare;
    QVERIFY(!(played == puzzle));
    menu_action("Start again")->trigger();
    QVERIFY(ctx().model.FirstSquare == puzzle);
    press_key(Qt::Key_Z, Qt::ControlModifier);  // Start again is one step
    QVERIFY(ctx().model.FirstSquare == played);
    menu_action("Undo")->trigger();
    TLatinSquare one_move = puzzle;
    const CellPos first = cmd::first_free_cell(ctx().model, puzzle);
    one_move[first.row][first.col] = 4;
    QVERIFY(ctx().model.FirstSquare == one_move);
    press_key(Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(ctx().model.FirstSquare == played);
    press_key(Qt::Key_Z, Qt::ControlModifier);
    press_key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(ctx().model.FirstSquare == played);
    menu_action("Redo")->trigger();  // Start again once more
    QVERIFY(ctx().model.FirstSquare == puzzle);
    QVERIFY(!menu_action("Redo")->isEnabled());
    // A research command that rewrites the board leaves nothing to take back.
    form_->run_command("Transpose");
    QVERIFY(!menu_action("Undo")->isEnabled());
    const TLatinSquare transposed = ctx().model.FirstSquare;
    press_key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(ctx().model.FirstSquare == transposed);
    // A new game starts a fresh history.
    menu_action("New game")->trigger();
    const TLatinSquare dealt = ctx().model.FirstSquare;
    menu_action("Undo")->trigger();
    QVERIFY(ctx().model.FirstSquare == dealt);
  }

  void gameNumberDealsTheCliGame() {
    form_->run_command("Play game number...", "12345");
    QCOMPARE(ctx().game.number, 12345u);
    QVERIFY(form_->windowTitle().startsWith("Diagonal Latin squares crossword - game 12345 - "));
    const QString clues = cli_clues(12345);
    QCOMPARE(clues.size(), 100);
    QCOMPARE(digits_of(ctx().puzzle), clues);
    // The number of a game dealt from the clock deals it again.
    menu_action("New game")->trigger();
    const TLatinSquare dealt = ctx().puzzle;
    form_->run_command("Play game number...", std::to_string(ctx().game.number));
    QVERIFY(ctx().puzzle == dealt);
  }

  void aSolvedBoardSaysSoAndHowLongItTook() {
    // The games solved above set best times of their own.
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                  "/best_times.txt");
    double now = 1000;
    ctx().clock = [&now] { return now; };
    QStringList messages;
    form_->set_message_sink([&messages](const QString& text) { messages << text; });
    form_->run_command("Play game number...", "31337");
    const QString caption = "Diagonal Latin squares crossword - game 31337 - ";
    QCOMPARE(form_->windowTitle(), caption + "00:00");
    now += 65;
    QTest::qWait(1100);  // the clock in the caption moves on by itself
    QCOMPARE(form_->windowTitle(), caption + "01:05");

    const TLatinSquare solution = GetFirstFilling(ctx().puzzle);
    const int empty = GetEmptyCellsCount(ctx().puzzle);
    now += 18;
    for (int k = 0; k < empty; ++k) {
      const CellPos at = cursor_cell();
      press_key(Qt::Key_0 + solution[at.row][at.col]);
      press_key(Qt::Key_Tab);
    }
    QVERIFY(ctx().model.FirstSquare == solution);
    QCOMPARE(form_->windowTitle(), caption + "solved in 01:23");
    // The board says so too, with the best time; it lies over the board.
    auto* banner = form_->findChild<WinBanner*>("WinBanner");
    QVERIFY(banner != nullptr && banner->isVisible());
    QCOMPARE(banner->text(), QString("Solved in 01:23\nA new best time!"));
    QVERIFY(paint_box()->rect().contains(banner->geometry()));
    now += 100;
    QTest::qWait(1100);
    QCOMPARE(form_->windowTitle(), caption + "solved in 01:23");
    QVERIFY(messages.isEmpty());  // no box interrupts the player

    // Edits go on; a broken board runs the clock again, mending it solves it anew.
    const CellPos at = cursor_cell();
    press_key(Qt::Key_Delete);
    QCOMPARE(ctx().model.FirstSquare[at.row][at.col], kEmpty);
    QCOMPARE(form_->windowTitle(), caption + "03:03");
    QVERIFY(!banner->isVisible());
    press_key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form_->windowTitle(), caption + "solved in 03:03");
    QCOMPARE(banner->text(), QString("Solved in 03:03\nBest time: 01:23"));
    // The best time is kept in the user's data folder.
    const QString kept =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/best_times.txt";
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("dlslab best times 1\nany 83\n"));
    // Its button deals the next game.
    QTest::mouseClick(banner->findChild<QPushButton*>("WinBannerNewGame"), Qt::LeftButton);
    QVERIFY(!banner->isVisible());
    QVERIFY(!cmd::is_solved(ctx().model.FirstSquare, ctx().puzzle));
    form_->set_message_sink({});
    ctx().clock = {};
  }

  void theWinBannerLiesWholeOverTheBoardAtEverySize() {
    // A medium game's first solution has the banner's longest line.
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                  "/best_times.txt");
    menu_action("Medium")->trigger();
    form_->run_command("New game");
    menu_action("Any deal")->trigger();
    const TLatinSquare solution = GetFirstFilling(ctx().puzzle);
    const int empty = GetEmptyCellsCount(ctx().puzzle);
    for (int k = 0; k < empty; ++k) {
      const CellPos at = cursor_cell();
      press_key(Qt::Key_0 + solution[at.row][at.col]);
      press_key(Qt::Key_Tab);
    }
    auto* banner = form_->findChild<WinBanner*>("WinBanner");
    QVERIFY(banner->text().endsWith("\nA new best time for medium games!"));
    const QSize size_before = form_->size();
    for (const QSize asked : {QSize(40, 40), QSize(794, 625), QSize(1500, 1000)}) {
      form_->resize(asked);
      QCoreApplication::processEvents();
      const QString at = QString("%1 x %2").arg(form_->width()).arg(form_->height());
      QVERIFY2(banner->isVisible(), qPrintable(at));
      // Over the cells and centred on them, also where the view is wider than the board.
      const int s = board_cell_size();
      const QRect grid(kViewMargin, kViewMargin, 10 * s, 10 * s);
      QVERIFY2(grid.contains(banner->geometry()), qPrintable(at));
      QVERIFY2((banner->geometry().center() - grid.center()).manhattanLength() <= 2,
               qPrintable(at));
      // Every line whole, broken between words where the board is narrow.
      auto* text = banner->findChild<QLabel*>("WinBannerText");
      QVERIFY2(banner->rect().contains(text->geometry()), qPrintable(at));
      QVERIFY2(text->height() >= text->heightForWidth(text->width()), qPrintable(at));
      for (const QString& word : text->text().split(QRegularExpression("\\s+")))
        QVERIFY2(text->width() >= text->fontMetrics().horizontalAdvance(word), qPrintable(at));
      auto* button = banner->findChild<QPushButton*>("WinBannerNewGame");
      QVERIFY2(banner->rect().contains(button->geometry()), qPrintable(at));
    }
    form_->resize(size_before);
    QCoreApplication::processEvents();
  }

  void researchModeSetsTheGameAsideAndBringsItBackExactly() {
    double now = 1000;
    ctx().clock = [&now] { return now; };
    form_->run_command("Play game number...", "777");
    const CellPos free = find_cell(false);
    const CellPos clue = find_cell(true);
    pick_value(free.row, free.col, 3);
    now += 65;
    const TLatinSquareClass model = ctx().model;
    const TLatinSquare puzzle = ctx().puzzle;
    form_->update_caption();
    const QString caption = form_->windowTitle();
    QVERIFY(caption.endsWith("game 777 - 01:05"));

    form_->set_research_mode(true);
    // A workbench: the same squares, nothing yellow, every cell editable.
    QVERIFY(ctx().model.FirstSquare == model.FirstSquare);
    QCOMPARE(painted_fill(clue.row, clue.col) == kClYellow, false);
    form_->run_command("Fish");
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c) QVERIFY(painted_fill(r, c) != kClYellow);
    form_->run_command("Clear square");
    pick_value(clue.row, clue.col, 5);
    QCOMPARE(ctx().model.FirstSquare[clue.row][clue.col], 5);
    press_key(Qt::Key_7);
    form_->run_command("Set order...", "12");
    now += 600;  // time in research mode is not game time

    form_->set_research_mode(false);
    QVERIFY(ctx().model.FirstSquare == model.FirstSquare);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c) QCOMPARE(ctx().model.FixedCells[r][c], model.FixedCells[r][c]);
    QVERIFY(ctx().model.ValueColors == model.ValueColors);
    QVERIFY(ctx().puzzle == puzzle);
    QCOMPARE(ctx().game.number, 777u);
    QCOMPARE(form_->windowTitle(), caption);
    QCOMPARE(painted_fill(clue.row, clue.col), kClYellow);
    // The history came back too: the player's move can be taken back.
    QVERIFY(menu_action("Undo")->isEnabled());
    menu_action("Undo")->trigger();
    QCOMPARE(ctx().model.FirstSquare[free.row][free.col], kEmpty);

    // A game dealt in research mode is the game from then on.
    form_->set_research_mode(true);
    form_->run_command("Play game number...", "778");
    const TLatinSquare dealt = ctx().puzzle;
    form_->set_research_mode(false);
    QCOMPARE(ctx().game.number, 778u);
    QVERIFY(ctx().puzzle == dealt);
    ctx().clock = {};
  }

  void aDifficultyFromTheMenuDealsTheFirstGameOfThatRating() {
    QAction* hard = menu_action("Hard");
    QAction* any = menu_action("Any deal");
    QVERIFY(hard != nullptr && any != nullptr);
    QVERIFY(any->isChecked());  // the plain deal at start
    hard->trigger();
    QVERIFY(hard->isChecked());
    form_->run_command("Play game number...", "500");
    const cmd::RatedDeal deal = cmd::deal_of_difficulty(500, Difficulty::kHard);
    QVERIFY(ctx().puzzle == deal.puzzle);
    QVERIFY(form_->windowTitle().startsWith(
        QString("Diagonal Latin squares crossword - game %1 (hard) - ").arg(deal.number)));
    QCOMPARE(rate_puzzle(ctx().puzzle).difficulty, Difficulty::kHard);
    menu_action("Easy")->trigger();
    form_->run_command("New game");
    QCOMPARE(rate_puzzle(ctx().puzzle).difficulty, Difficulty::kEasy);
    QVERIFY(form_->windowTitle().contains(" (easy) - "));
    any->trigger();
    form_->run_command("Play game number...", "500");
    QCOMPARE(digits_of(ctx().puzzle), cli_clues(500));
    QVERIFY(form_->windowTitle().startsWith("Diagonal Latin squares crossword - game 500 - "));
  }

  void pencilMarksAreNotedUndoneAndDrawnOverTheBoardOnly() {
    form_->run_command("Play game number...", "2026");
    const CellPos cell = free_cell(0);
    cmd::place_cursor(ctx(), cell);
    const QImage board = form_->bitmap().copy();
    const QImage plain = cell_image(paint_box()->grab().toImage(), cell);
    press_key(Qt::Key_3, Qt::ControlModifier);
    press_key(Qt::Key_7, Qt::ControlModifier);
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), (1u << 3) | (1u << 7));
    QVERIFY(ctx().model.FirstSquare[cell.row][cell.col] == kEmpty);
    // The board's picture stays as it was; the marks are painted over it on the screen.
    QVERIFY(form_->bitmap() == board);
    QVERIFY(cell_image(paint_box()->grab().toImage(), cell) != plain);

    // The pop-up menu offers them on a cell that can take them, checked as they are.
    auto offered = [this] {
      return form_->popup_menu()->actions().contains(form_->marks_menu()->menuAction());
    };
    hover(find_cell(true));
    form_->follow_marks_menu();
    QVERIFY(!offered());
    hover(cell);
    form_->follow_marks_menu();
    QVERIFY(offered());
    const QList<QAction*> items = form_->marks_menu()->actions();
    QCOMPARE(items.size(), 11);
    QCOMPARE(items.at(0)->text(), QString("Clear marks"));
    QVERIFY(items.at(1 + 3)->isChecked() && items.at(1 + 7)->isChecked());
    QVERIFY(!items.at(1 + 5)->isChecked());
    items.at(1 + 5)->trigger();
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), (1u << 3) | (1u << 5) | (1u << 7));
    items.at(0)->trigger();
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), 0u);
    QVERIFY(cell_image(paint_box()->grab().toImage(), cell) == plain);
    menu_action("Undo")->trigger();
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), (1u << 3) | (1u << 5) | (1u << 7));

    // A value takes the marks off its cell, and undo brings both back.
    press_key(Qt::Key_4);
    QCOMPARE(ctx().model.FirstSquare[cell.row][cell.col], 4);
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), 0u);
    form_->follow_marks_menu();
    QVERIFY(!offered());
    press_key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(ctx().model.FirstSquare[cell.row][cell.col] == kEmpty);
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), (1u << 3) | (1u << 5) | (1u << 7));
    // Research mode shows none of the game's marks and gives them back after.
    form_->set_research_mode(true);
    QVERIFY(ctx().game.marks.empty());
    form_->set_research_mode(false);
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), (1u << 3) | (1u << 5) | (1u << 7));
  }

  void marksFitTheirCellAtEveryOrderAndSize() {
    for (int n = 1; n <= kMaxOrder; ++n) {
      const QString widest(QString::number(n - 1).size(), '0');
      for (const int s : {kMinCellSize, 26, 33, 40, 53, 80, 120}) {
        for (const int marked : {1, (n + 1) / 2, n}) {
          const render::MarkLayout layout = render::mark_layout(n, s, marked);
          const QString where = QString("order %1, cell %2, %3 marks").arg(n).arg(s).arg(marked);
          const int room = s - 2 * layout.inset;
          QVERIFY2(layout.inset > std::max(2, s / 14), qPrintable(where));  // clear of the cursor
          QVERIFY2(layout.font_px >= render::kMinMarkFontPx, qPrintable(where));
          const QFontMetrics metrics(render::mark_font(layout.font_px));
          QVERIFY2(metrics.horizontalAdvance(widest) <= room / layout.columns, qPrintable(where));
          QVERIFY2(metrics.ascent() <= room / layout.rows, qPrintable(where));
          if (layout.by_value) QVERIFY2(layout.columns * layout.rows >= n, qPrintable(where));
        }
      }
    }
    // The game's board in the window's first size gives every value a place of its own.
    QVERIFY(render::mark_layout(10, board_cell_size(), 10).by_value);
  }

  void newGameAsksBeforeDiscardingThePlayersEntries() {
    questions_.clear();
    form_->run_command("Play game number...", "2026");
    menu_action("New game")->trigger();  // nothing of the player's yet: no question
    QVERIFY(questions_.isEmpty());
    QVERIFY(ctx().game.number != 2026u);

    form_->run_command("Play game number...", "2026");
    const CellPos cell = free_cell(0);
    cmd::place_cursor(ctx(), cell);
    press_key(Qt::Key_1, Qt::ControlModifier);  // a mark is the player's too
    answer_ = false;
    menu_action("New game")->trigger();
    menu_action("Play game number...")->trigger();
    QCOMPARE(questions_, QStringList(2, "Game 2026 is not finished. Discard it and your entries?"));
    QCOMPARE(ctx().game.number, 2026u);
    QCOMPARE(ctx().game.marks.at(cell.row, cell.col), 1u << 1);
    // The game set aside for research mode is the one a new game would throw away.
    press_key(Qt::Key_1);
    form_->set_research_mode(true);
    menu_action("New game")->trigger();
    QCOMPARE(questions_.size(), 3);
    form_->set_research_mode(false);
    QCOMPARE(ctx().model.FirstSquare[cell.row][cell.col], 1);
    answer_ = true;
    menu_action("New game")->trigger();
    QCOMPARE(questions_.size(), 4);
    QVERIFY(ctx().game.number != 2026u);
    QVERIFY(ctx().model.FirstSquare == ctx().puzzle);
  }

  void aClosedGameIsOfferedAtTheNextStartAndResumedExactly() {
    QFile::remove(kept_file());
    double now = 100;
    QString kept_text;
    {
      TMainForm first;
      first.set_question_sink(Answer());
      first.context().clock = [&now] { return now; };
      first.show();
      QVERIFY(QTest::qWaitForWindowExposed(&first));
      first.run_command("Play game number...", "2026");
      cmd::Context& game = first.context();
      auto free = [&game](int n) {
        for (int r = 0; r < 10; ++r)
          for (int c = 0; c < 10; ++c)
            if (game.puzzle[r][c] == kEmpty && n-- == 0) return CellPos{r, c};
        return CellPos{};
      };
      cmd::toggle_pencil_mark(game, free(0), 2);
      cmd::toggle_pencil_mark(game, free(0), 8);
      cmd::MenuItemClick(game, free(1), 6);
      cmd::MenuItemClick(game, free(2), 3);
      first.run_command("Undo");
      cmd::place_cursor(game, free(5));
      now += 95.5;
      kept_text = QString::fromStdString(cmd::saved_game_text(cmd::take_game_state(game)));
      first.close();
    }
    QVERIFY(QFile::exists(kept_file()));

    questions_.clear();
    now = 7;
    {
      TMainForm second;
      second.set_question_sink(Answer());
      second.context().clock = [&now] { return now; };
      second.show();
      QVERIFY(QTest::qWaitForWindowExposed(&second));
      QCOMPARE(questions_, QStringList("Game 2026 was not finished (01:35 played). Continue it?"));
      // Board, clues, marks, history, cursor and clock as they were.
      QCOMPARE(QString::fromStdString(cmd::saved_game_text(cmd::take_game_state(second.context()))),
               kept_text);
      QCOMPARE(second.windowTitle(),
               QString("Diagonal Latin squares crossword - game 2026 - 01:35"));
      QVERIFY(second.context().model.FixedCells[0][0] == (second.context().puzzle[0][0] >= 0));
      now += 10;
      second.close();  // kept again, ten seconds on
    }
    QVERIFY(QFile::exists(kept_file()));

    // Declined, the kept game goes and a new one is dealt.
    answer_ = false;
    {
      TMainForm third;
      third.set_question_sink(Answer());
      third.show();
      QVERIFY(QTest::qWaitForWindowExposed(&third));
      QCOMPARE(questions_.size(), 2);
      QVERIFY(questions_.last().contains("(01:45 played)"));
      QVERIFY(third.context().game.dealt);
      QVERIFY(third.context().model.FirstSquare == third.context().puzzle);
      QVERIFY(!QFile::exists(kept_file()));
    }
    answer_ = true;
  }

  void aDamagedKeptGameIsSetAsideAndANewGameBegins() {
    QFile::remove(kept_file() + ".bad");
    QFile file(kept_file());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("dlslab saved game 1\nnumber 7\norder 10\n\xff\xfe");
    file.close();
    questions_.clear();
    QStringList messages;
    TMainForm form;
    form.set_question_sink(Answer());
    form.set_message_sink([&messages](const QString& text) { messages << text; });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(questions_.isEmpty());
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains("holds no game that can be continued"));
    QVERIFY(QFile::exists(kept_file() + ".bad"));
    QVERIFY(!QFile::exists(kept_file()));
    QVERIFY(form.context().game.dealt);
  }

  void cleanupTestCase() { form_.reset(); }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::CrosswordWindowTest)
#include "crossword_window_test.moc"
