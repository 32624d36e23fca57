#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "app/main_form.h"
#include "app/paint_box.h"
#include "fill/fillings.h"
#include "model/square_view.h"

namespace dlslab::app {

// The crossword as the player meets it: the game dealt at start-up, its yellow clues, the
// mouse that cannot change them, "Start again" and a solved board.
class CrosswordWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TMainForm> form_;

  cmd::Context& ctx() { return form_->Context(); }
  PaintBox* Box() { return form_->findChild<PaintBox*>("PaintBox"); }
  int CellSize() {
    return GetCellSize(ctx().model, form_->Bitmap().width(), form_->Bitmap().height());
  }
  QPoint CellPoint(int row, int col) {
    const int s = CellSize();
    return {kViewMargin + col * s + s / 2, kViewMargin + row * s + s / 2};
  }
  /// The fill of a cell as painted: a pixel inside its outline, clear of the digit.
  TColor PaintedFill(int row, int col) {
    const int s = CellSize();
    const QColor c =
        form_->Bitmap().pixelColor(kViewMargin + col * s + 3, kViewMargin + row * s + 3);
    return Rgb(c.red(), c.green(), c.blue());
  }
  QAction* Action(const QString& caption) {
    for (QAction* top : form_->menuBar()->actions())
      if (top->menu() != nullptr)
        for (QAction* item : top->menu()->actions())
          if (item->text() == caption) return item;
    return nullptr;
  }
  /// A left click on a cell; the view acts on the cell the pointer moved over.
  void ClickCell(int row, int col) {
    QTest::mouseMove(Box(), CellPoint(row, col));
    QTest::mouseClick(Box(), Qt::LeftButton, {}, CellPoint(row, col));
  }
  /// Puts value into a cell through the cell pop-up menu, as the player does.
  void PickValue(int row, int col, int value) {
    QTest::mouseMove(Box(), CellPoint(row, col));
    form_->PopupMenu()->actions().at(1 + value)->trigger();
  }

 private slots:
  void initTestCase() {
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void startUpDealsAUniquePuzzleWithYellowClues() {
    const TLatinSquare& board = ctx().model.FirstSquare;
    QCOMPARE(ctx().puzzle.order(), 10);
    QVERIFY(ctx().puzzle == board);
    const int clues = 100 - GetEmptyCellsCount(board);
    QVERIFY(clues > 0 && clues < 100);
    QVERIFY(HasOneFilling(board));
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) {
        QCOMPARE(ctx().model.FixedCells[r][c], board[r][c] >= 0);
        QCOMPARE(PaintedFill(r, c) == kClYellow, board[r][c] >= 0);
      }
    }
  }

  void cluesCannotBeEdited() {
    const TLatinSquare before = ctx().model.FirstSquare;
    int r = 0, c = 0;
    while (before[r][c] < 0) c == 9 ? (++r, c = 0) : ++c;
    ClickCell(r, c);
    QVERIFY(ctx().model.FirstSquare == before);
    QWheelEvent up(QPointF(5, 5), Box()->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120),
                   Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form_.get(), &up);
    QVERIFY(ctx().model.FirstSquare == before);
    PickValue(r, c, (before[r][c] + 1) % 10);
    QVERIFY(ctx().model.FirstSquare == before);
    form_->PopupMenu()->actions().at(0)->trigger();  // "Clear cell"
    QVERIFY(ctx().model.FirstSquare == before);
  }

  void startAgainEmptiesEveryPlayersCell() {
    const TLatinSquare puzzle = ctx().puzzle;
    int edited = 0;
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (puzzle[r][c] < 0 && (r + c) % 3 == 0) {
          ClickCell(r, c);
          ++edited;
        }
    QVERIFY(edited > 0);
    QVERIFY(!(ctx().model.FirstSquare == puzzle));
    Action("Start again")->trigger();
    QVERIFY(ctx().model.FirstSquare == puzzle);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c) QCOMPARE(PaintedFill(r, c) == kClYellow, puzzle[r][c] >= 0);
  }

  void theUniqueSolutionLeavesNoRedCell() {
    const TLatinSquare solution = GetFirstFilling(ctx().puzzle);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx().puzzle[r][c] < 0) PickValue(r, c, solution[r][c]);
    QVERIFY(ctx().model.FirstSquare == solution);
    for (int r = 0; r < 10; ++r) {
      for (int c = 0; c < 10; ++c) {
        QVERIFY(!ctx().model.RedCells[r][c]);
        QVERIFY(PaintedFill(r, c) != kClRed);
      }
    }
    // One repeat turns red at once.
    int r = 0, c = 0;
    while (ctx().puzzle[r][c] >= 0) c == 9 ? (++r, c = 0) : ++c;
    PickValue(r, c, (solution[r][c] + 1) % 10);
    QVERIFY(ctx().model.RedCells[r][c]);
  }

  void newGameDealsAnotherPuzzle() {
    const TLatinSquare first = ctx().puzzle;
    Action("New game")->trigger();
    QVERIFY(!(ctx().puzzle == first));
    QVERIFY(ctx().model.FirstSquare == ctx().puzzle);
    QVERIFY(HasOneFilling(ctx().puzzle));
  }

  void cleanupTestCase() { form_.reset(); }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::CrosswordWindowTest)
#include "crossword_window_test.moc"
