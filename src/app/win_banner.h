#pragma once

#include <QFrame>
#include <QRect>

#include "cmd/crossword_game.h"

class QLabel;
class QPushButton;

namespace dlslab::app {

/// The banner laid over the board once the crossword is solved: the time the solution took,
/// the best time of the game's kind, and a button that deals the next game.
class WinBanner : public QFrame {
  Q_OBJECT

 public:
  explicit WinBanner(QWidget* board);

  /// Shows the banner for a solved game (and `shown` true), hides it otherwise; centred on
  /// `grid`, the part of the view the board's cells take, and no wider than it, its lines
  /// broken where the grid is narrow.
  void follow(const cmd::CrosswordGame& game, bool shown, const QRect& grid);
  /// The banner's lines as shown, for the tests.
  [[nodiscard]] QString text() const;

 signals:
  void new_game_clicked();

 private:
  QLabel* label_ = nullptr;
  QPushButton* new_game_ = nullptr;
};

}  // namespace dlslab::app
