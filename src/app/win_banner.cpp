#include "app/win_banner.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dlslab::app {

WinBanner::WinBanner(QWidget* board) : QFrame(board) {
  setObjectName("WinBanner");
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setStyleSheet(
      "#WinBanner { background: rgba(255, 255, 225, 235); border: 2px solid #2a6f2a; "
      "border-radius: 6px; }");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 12, 18, 12);
  label_ = new QLabel(this);
  label_->setObjectName("WinBannerText");
  label_->setAlignment(Qt::AlignCenter);
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

void WinBanner::follow(const cmd::CrosswordGame& game, bool shown) {
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
  adjustSize();
  const QWidget* board = parentWidget();
  move((board->width() - width()) / 2, (board->height() - height()) / 2);
  show();
  raise();
}

QString WinBanner::text() const { return isVisible() ? label_->text() : QString(); }

}  // namespace dlslab::app
