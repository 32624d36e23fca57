#include "app/win_banner.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace dlslab::app {
namespace {

// The banner's inner margins, left and right, top and bottom.
constexpr int kSideMargin = 18;
constexpr int kEndMargin = 12;

}  // namespace

WinBanner::WinBanner(QWidget* board) : QFrame(board) {
  setObjectName("WinBanner");
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setStyleSheet(
      "#WinBanner { background: rgba(255, 255, 225, 235); border: 2px solid #2a6f2a; "
      "border-radius: 6px; }");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kSideMargin, kEndMargin, kSideMargin, kEndMargin);
  label_ = new QLabel(this);
  label_->setObjectName("WinBannerText");
  label_->setAlignment(Qt::AlignCenter);
  label_->setWordWrap(true);
  QFont font = label_->font();
  font.setPixelSize(16);
  label_->setFont(font);
  layout->addWidget(label_);
  new_game_ = new QPushButton("New game", this);
  new_game_->setObjectName("WinBannerNewGame");
  layout->addWidget(new_game_, 0, Qt::AlignHCenter);
  connect(new_game_, &QPushButton::clicked, this, &WinBanner::new_game_clicked);
  hide();
}

void WinBanner::follow(const cmd::CrosswordGame& game, bool shown, const QRect& grid) {
  if (!shown || !game.dealt || !game.solved_after) {
    hide();
    return;
  }
  QString text = QString("Solved in %1").arg(cmd::format_game_time(*game.solved_after).c_str());
  const QString kind = QString::fromStdString(
      game.difficulty ? std::string(difficulty_name(*game.difficulty)) : std::string());
  if (game.new_best)
    text += kind.isEmpty() ? QString("\nA new best time!")
                           : QString("\nA new best time for %1 games!").arg(kind);
  else if (game.best_time)
    text += QString("\nBest time%1: %2")
                .arg(kind.isEmpty() ? QString() : " (" + kind + ")")
                .arg(cmd::format_game_time(*game.best_time).c_str());
  label_->setText(text);
  // Its lines in one each where the grid is wide enough, else broken between words: on the
  // smallest board a line as long as "A new best time for medium games!" would be cut.
  const int room = std::max(grid.width() - 2 * kSideMargin - 2 * frameWidth(), 1);
  label_->setFixedWidth(std::min(label_->fontMetrics().size(0, text).width() + 1, room));
  adjustSize();
  const QPoint at = grid.center() - rect().center();
  move(std::max(at.x(), 0), std::max(at.y(), 0));
  show();
  raise();
}

QString WinBanner::text() const { return isVisible() ? label_->text() : QString(); }

}  // namespace dlslab::app
