#include "app/main_form.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <exception>
#include <map>
#include <span>
#include <utility>

#include "app/argument_dialogs.h"
#include "app/board_keys.h"
#include "app/diagnostics_pane.h"
#include "app/import_form.h"
#include "app/long_command.h"
#include "app/menu_mnemonics.h"
#include "app/paint_box.h"
#include "app/progress_panel.h"
#include "app/set_order_form.h"
#include "app/statistics_window.h"
#include "app/win_banner.h"
#include "app/wrapped_label.h"
#include "cmd/collection_commands.h"
#include "cmd/command_job.h"
#include "cmd/crossword_commands.h"
#include "cmd/status.h"
#include "cmd/view_commands.h"
#include "render/pencil_marks.h"
#include "render/stats_renderer.h"
#include "render/view_renderer.h"

namespace dlslab::app {
namespace {

const char* const kDesignCaption = "dlslab";
const char* const kResearchCaption = "Diagonal Latin squares workbench";

// Design sizes of the window and its parts, in pixels.
constexpr int kFormWidth = 794;
constexpr int kFormHeight = 625;
constexpr int kLeft = 8;  ///< the client area's margin left, right and below
constexpr int kTop = 10;  ///< the margin above the view
constexpr int kMemoHeight = 177;
/// The log gives up its height down to this much before the board would be cut.
constexpr int kMinMemoHeight = 60;
/// A notice stays this long, counted from when no message box hides it.
constexpr int kNoticeMs = 8000;

QString from_view(std::string_view s) { return QString::fromUtf8(s.data(), std::ssize(s)); }

/// Each entry's caption as Qt shows it: "&" doubled and the mnemonic marked. The keys are
/// chosen menu by menu; on the menu bar the last menu ("Crossword"), the one always shown,
/// chooses first.
std::vector<QString> shown_captions(std::span<const cmd::MenuEntry> table) {
  std::map<std::ptrdiff_t, std::vector<std::size_t>> menus;  // parent entry (-1: the bar)
  std::ptrdiff_t containers[3] = {-1, -1, -1};
  for (std::size_t i = 0; i < table.size(); ++i) {
    const int depth = table[i].depth;
    if (cmd::is_container(table, i)) containers[depth] = static_cast<std::ptrdiff_t>(i);
    if (table[i].caption != "-") menus[depth == 0 ? -1 : containers[depth - 1]].push_back(i);
  }
  std::vector<QString> shown(table.size());
  for (const auto& [parent, items] : menus) {
    std::vector<std::string_view> captions;
    for (const std::size_t i : items) captions.push_back(table[i].caption);
    const std::vector<int> keys = mnemonic_positions(captions, parent < 0 ? items.size() - 1 : 0);
    for (std::size_t k = 0; k < items.size(); ++k) {
      const std::string_view caption = captions[k];
      std::string text;
      for (std::size_t c = 0; c < caption.size(); ++c) {
        if (static_cast<int>(c) == keys[k]) text += '&';
        text += caption[c] == '&' ? std::string("&&") : std::string(1, caption[c]);
      }
      shown[items[k]] = QString::fromStdString(text);
    }
  }
  return shown;
}

/// The font of the window's own controls: the dialog font of height 11.
QFont form_font() {
  QFont font;
  font.setFamilies({"Tahoma", "Liberation Sans", "DejaVu Sans"});
  font.setPixelSize(11);
  return font;
}

QFont memo_font() {
  QFont font;
  font.setFamilies({"Consolas", "Liberation Mono", "DejaVu Sans Mono"});
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(11);
  font.setItalic(true);
  return font;
}

}  // namespace

TMainForm::TMainForm() {
  setObjectName("MainForm");
  setWindowTitle(kDesignCaption);
  resize(kFormWidth, kFormHeight);

  // The client area above the row of the running command's progress, which comes and goes: it
  // lies outside the status bar, whose text it would squeeze and which the crossword hides.
  auto* central = new QWidget(this);
  central->setObjectName("Central");
  auto* rows = new QVBoxLayout(central);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  auto* client = new QWidget(central);
  client_ = client;
  client->setObjectName("Client");
  client->setFont(form_font());
  // The parts are laid out whenever the client area changes, also when the tool bar, the
  // status bar or the rows below come or go while the window keeps its size.
  client->installEventFilter(this);
  rows->addWidget(client, 1);
  setCentralWidget(central);

  paint_box_ = new PaintBox(&bitmap_, client);
  paint_box_->setObjectName("PaintBox");
  paint_box_->setGeometry(kLeft, kTop, 310, 310);
  connect(paint_box_, &PaintBox::mouse_moved, this, &TMainForm::PaintBoxMouseMove);
  connect(paint_box_, &PaintBox::clicked, this, &TMainForm::PaintBoxClick);
  connect(paint_box_, &PaintBox::popup_requested, this, &TMainForm::paint_box_popup);
  paint_box_->setFocusPolicy(Qt::StrongFocus);
  paint_box_->installEventFilter(new BoardKeys(ctx_, this));
  paint_box_->set_overlay([this](QPainter& painter) {
    render::draw_pencil_marks(painter, ctx_.model, bitmap_.width(), bitmap_.height(),
                              ctx_.game.marks.cells());
    draw_cursor(painter, ctx_.model, bitmap_.width(), bitmap_.height(), ctx_.game.cursor);
  });
  // The crossword's files (the best times) live in the user's data folder.
  const QString data_folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (!data_folder.isEmpty() && QDir().mkpath(data_folder))
    ctx_.game_folder = data_folder.toStdString();
  win_banner_ = new WinBanner(paint_box_);
  connect(win_banner_, &WinBanner::new_game_clicked, this,
          [this] { start_command(cmd::find_menu_item(cmd::MenuId::kNewGame).caption, {}); });
  // The game's clock in the caption moves on every second.
  auto* caption_clock = new QTimer(this);
  caption_clock->setInterval(1000);
  connect(caption_clock, &QTimer::timeout, this, &TMainForm::update_caption);
  caption_clock->start();

  memo_ = new QPlainTextEdit(client);
  memo_->setObjectName("Memo");
  memo_->setGeometry(kLeft, 352, 310, kMemoHeight);
  memo_->setReadOnly(true);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setFont(memo_font());

  diagnostics_ = new DiagnosticsPane(client);
  diagnostics_->setObjectName("DiagnosticsPane");
  diagnostics_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  diagnostics_->setFont(memo_font());
  diagnostics_->hide();

  // The status line breaks between its tags rather than lose any where the window is narrow.
  status_panel_ = new WrappedLabel(this);
  status_panel_->setObjectName("StatusPanel");
  status_panel_->setMinimumWidth(50);
  status_panel_->setFont(form_font());
  statusBar()->setObjectName("StatusBar");
  statusBar()->addWidget(status_panel_, 1);
  progress_panel_ = new ProgressPanel(central);
  progress_panel_->setFont(form_font());
  progress_panel_->hide();
  rows->addWidget(progress_panel_);
  connect(progress_panel_, &ProgressPanel::cancel_clicked, this, &TMainForm::cancel_command);
  // The notice lies over the foot of the client area, in both modes, for a few seconds; it
  // moves nothing while it comes and goes. A click takes it away sooner.
  notice_ = new QLabel(client);
  notice_->setObjectName("NoticeLabel");
  notice_->setWordWrap(true);
  notice_->setTextFormat(Qt::PlainText);
  notice_->setContentsMargins(6, 3, 6, 3);
  notice_->setFrameShape(QFrame::Box);
  notice_->setAutoFillBackground(true);
  notice_->setBackgroundRole(QPalette::ToolTipBase);
  notice_->setForegroundRole(QPalette::ToolTipText);
  notice_->installEventFilter(this);
  notice_->hide();
  notice_timer_ = new QTimer(this);
  notice_timer_->setSingleShot(true);
  notice_timer_->setInterval(kNoticeMs);
  connect(notice_timer_, &QTimer::timeout, notice_, &QLabel::hide);
  statistics_window_ = new StatisticsWindow(this);

  long_command_ = new LongCommand(this, progress_panel_);
  connect(long_command_, &LongCommand::ended, this, &TMainForm::long_command_ended);
  connect(long_command_, &LongCommand::panel_shown, this, [this] {
    tool_bar_->setEnabled(false);
    size_before_progress_ = size();
  });

  build_tool_bar();
  build_menus();

  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName("PopupMenu");
  marks_menu_ = new QMenu("Pencil marks", this);
  marks_menu_->setObjectName("PencilMarksMenu");
  marks_separator_ = new QAction(this);
  marks_separator_->setSeparator(true);
  dialogs_ = std::make_unique<ArgumentDialogs>(this);

  ctx_.update_view = [this] { UpdateView(); };
  ctx_.show_message = [this](const std::string& text) {
    show_message(QString::fromUtf8(text.c_str()));
  };
  ctx_.save_bitmap = [this](const std::string& file_name) { save_bitmap(file_name); };
  ctx_.notice = [this](const std::string& text) { show_notice(QString::fromUtf8(text.c_str())); };
  ctx_.save_statistics_bitmap = [this](const CellHistograms& histograms,
                                       const std::string& file_name) {
    // The picture is drawn once: the file gets it, and the window shows it.
    const QImage picture = render::DrawStatisticalInfo(histograms);
    render::save_image_as_bmp(picture, file_name);
    statistics_window_->show_picture(
        picture, QDir::current().absoluteFilePath(QString::fromStdString(file_name)));
  };
  ctx_.log.on_add = [this](const std::string& line) {
    memo_->appendPlainText(QString::fromUtf8(line.c_str()));
  };
  ctx_.log.on_clear = [this] { memo_->clear(); };
  // Repaints while a benchmark waits for its test programs; no input, so no command can start
  // in the middle of another.
  ctx_.process_events = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() {
  // The worker works on a copy, but it writes to the diagnostics pane: it must end first.
  long_command_->shutdown();
}

TSetOrderForm* TMainForm::set_order_form() const { return dialogs_->set_order_form(); }
QLabel* TMainForm::notice() const { return notice_; }
TImportForm* TMainForm::import_form() const { return dialogs_->import_form(); }

void TMainForm::build_menus() {
  const auto table = cmd::menu_table();
  const std::vector<QString> captions = shown_captions(table);
  QMenu* menus[3] = {};
  std::map<int, QActionGroup*> groups;
  QAction* exit_action = nullptr;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const cmd::MenuEntry& entry = table[i];
    if (entry.depth == 0) {
      menus[0] = menuBar()->addMenu(captions[i]);
      QAction* item = menus[0]->menuAction();
      if (!entry.shortcut.empty()) item->setShortcut(QKeySequence(from_view(entry.shortcut)));
      top_menus_.push_back(item);
      continue;
    }
    QMenu* parent = menus[entry.depth - 1];
    if (entry.caption == "-") {
      parent->addSeparator();
      continue;
    }
    if (cmd::is_container(table, i)) {
      menus[entry.depth] = parent->addMenu(captions[i]);
      continue;
    }
    QAction* action = parent->addAction(captions[i]);
    entry_actions_[&entry] = action;
    if (!entry.shortcut.empty())
      action->setShortcuts(QKeySequence::listFromString(from_view(entry.shortcut)));
    action->setEnabled(entry.handler != nullptr || entry.window_only);
    if (entry.radio_group != 0) {
      QActionGroup*& group = groups[entry.radio_group];
      action->setCheckable(true);
      if (group == nullptr) {
        group = new QActionGroup(this);
        action->setChecked(true);  // the first item of a group is checked at start
      }
      group->addAction(action);
    }
    switch (entry.id) {
      case cmd::MenuId::kUndo:
        undo_action_ = action;
        break;
      case cmd::MenuId::kRedo:
        redo_action_ = action;
        break;
      case cmd::MenuId::kResearchMode:
        research_action_ = action;
        action->setCheckable(true);
        break;
      case cmd::MenuId::kDiagnostics:
        diagnostics_action_ = action;
        action->setCheckable(true);
        break;
      case cmd::MenuId::kExit:
        exit_action = action;
        break;
      default:
        break;
    }
    if (!entry.window_only) command_actions_.emplace_back(action, &entry);
    connect(action, &QAction::triggered, this, [this, &entry] { menu_command_click(entry); });
  }
  // The crossword's menu, the only one a player sees, ends with Exit as a desktop game's does:
  // the same action as the "File" menu's, so that its shortcut stays one.
  if (exit_action != nullptr && menus[0] != nullptr) {
    menus[0]->addSeparator();
    menus[0]->addAction(exit_action);
  }
}

void TMainForm::build_tool_bar() {
  tool_bar_ = addToolBar("ToolBar");
  tool_bar_->setObjectName("ToolBar");
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->setFixedHeight(29);
  tool_bar_->setFont(form_font());
  auto add_button = [this](const char* name, QStyle::StandardPixmap icon, const char* hint,
                           void (TMainForm::*slot)()) {
    QAction* button = tool_bar_->addAction(style()->standardIcon(icon), hint);
    navigation_.push_back(button);
    button->setObjectName(name);
    button->setToolTip(hint);
    connect(button, &QAction::triggered, this, slot);
  };
  add_button("GoToBeginToolButton", QStyle::SP_MediaSkipBackward, "Select first item",
             &TMainForm::GoToBeginToolButtonClick);
  add_button("GoToPreviousToolButton", QStyle::SP_MediaSeekBackward, "Select previous item",
             &TMainForm::GoToPreviousToolButtonClick);
  spin_edit_ = new QSpinBox(tool_bar_);
  spin_edit_->setObjectName("SpinEdit");
  spin_edit_->setFixedWidth(85);
  spin_edit_->setRange(0, 0);
  tool_bar_->addWidget(spin_edit_);
  connect(spin_edit_, &QSpinBox::valueChanged, this, &TMainForm::SpinEditChange);
  add_button("GoToNextToolButton", QStyle::SP_MediaSeekForward, "Select next item",
             &TMainForm::GoToNextToolButtonClick);
  add_button("GoToEndToolButton", QStyle::SP_MediaSkipForward, "Select last item",
             &TMainForm::GoToEndToolButtonClick);
  // The debug button sits at the tool bar's right end, shown with it, so that it never covers
  // the board.
  auto* spacer = new QWidget(tool_bar_);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  tool_bar_->addWidget(spacer);
  dbg_button_ = new QPushButton(tool_bar_);
  dbg_button_->setObjectName("DbgButton");
  dbg_button_->setFixedSize(25, 25);
  dbg_button_->setFocusPolicy(Qt::NoFocus);
  tool_bar_->addWidget(dbg_button_);
  connect(dbg_button_, &QPushButton::clicked, this, &TMainForm::DbgButtonClick);
}

void TMainForm::BuildCellPopupMenu() {
  popup_menu_->clear();
  const int n = ctx_.model.GetOrder();
  for (int value = kEmpty; value < n; ++value) {
    QAction* item =
        popup_menu_->addAction(value == kEmpty ? QString("Clear cell") : QString::number(value));
    item->setData(value);
    connect(item, &QAction::triggered, this, [this, value] { MenuItemClick(value); });
  }
  // Pencil marks, offered on the cells that can take them (paint_box_popup).
  marks_menu_->clear();
  for (int value = kEmpty; value < n; ++value) {
    QAction* item =
        marks_menu_->addAction(value == kEmpty ? QString("Clear marks") : QString::number(value));
    item->setData(value);
    item->setCheckable(value != kEmpty);
    connect(item, &QAction::triggered, this, [this, value] {
      if (!command_running()) cmd::toggle_pencil_mark(ctx_, cell_, value);
    });
  }
  popup_order_ = n;
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) FormShow();
}

void TMainForm::FormShow() {
  shown_ = true;
  bitmap_ = QImage(paint_box_->size(), QImage::Format_RGB32);
  ctx_.model.SetOrder(kOrder);
  ctx_.model.ClearSquares();
  UpdateView();
  BuildCellPopupMenu();
  tool_bar_->hide();
  memo_->hide();
  statusBar()->hide();
  for (std::size_t i = 0; i + 1 < top_menus_.size(); ++i) top_menus_[i]->setVisible(false);
  update_caption();
  paint_box_->setFocus();
  // The window got its size before it was shown, while the view did not exist yet.
  FormResize();
  if (continue_kept_game()) return;
  const cmd::MenuEntry& new_game = cmd::find_menu_item(cmd::MenuId::kNewGame);
  guarded([this, &new_game] { new_game.handler(ctx_, {}); });
}

bool TMainForm::continue_kept_game() {
  std::string error;
  std::optional<cmd::GameState> kept = cmd::kept_game(ctx_, error);
  if (!error.empty()) show_message(QString::fromStdString(error), true);
  if (!kept) return false;
  const QString question = QString("Game %1 was not finished (%2 played). Continue it?")
                               .arg(kept->game.number)
                               .arg(QString::fromStdString(cmd::format_game_time(kept->played)));
  if (!ask(question, "Continue")) {
    cmd::drop_kept_game(ctx_);
    return false;
  }
  cmd::resume_game(ctx_, std::move(*kept));
  return true;
}

bool TMainForm::may_discard_game() {
  const std::optional<cmd::GameState> game = cmd::unfinished_game(ctx_);
  if (!game) return true;
  return ask(
      QString("Game %1 is not finished. Discard it and your entries?").arg(game->game.number),
      "Discard");
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) FormResize();
  if (watched == notice_ && event->type() == QEvent::MouseButtonPress) notice_->hide();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormResize() {
  if (!shown_) return;
  // The view takes the client area but for its margins; the log, when shown, keeps its height
  // below it as long as the whole board still fits above.
  const QSize client = client_->size();
  const int width = std::max(client.width() - 2 * kLeft, 1);
  int bottom = client.height() - kLeft;
  if (research_mode_) {
    const int board = kTop + get_fitted_view_size(ctx_.model, kMinCellSize).height + kLeft;
    // The progress row below takes its height from the log first, so that the board keeps its
    // size while the row comes and goes.
    const int rows = centralWidget()->height() - client.height();
    const int memo_height =
        std::clamp(bottom - board, kMinMemoHeight, std::max(kMemoHeight - rows, kMinMemoHeight));
    const int memo_top = bottom - memo_height;
    if (diagnostics_shown_) {
      // The diagnostics take the right half beside the log.
      const int half = std::max((width - kLeft) / 2, 1);
      memo_->setGeometry(kLeft, memo_top, half, memo_height);
      diagnostics_->setGeometry(kLeft + half + kLeft, memo_top, std::max(width - half - kLeft, 1),
                                memo_height);
    } else {
      memo_->setGeometry(kLeft, memo_top, width, memo_height);
    }
    bottom = memo_top - kLeft;
  }
  paint_box_->setGeometry(kLeft, kTop, width, std::max(bottom - kTop, 1));
  if (!notice_->isHidden()) place_notice();
  if (bitmap_.size() != paint_box_->size()) {
    bitmap_ = QImage(paint_box_->size(), QImage::Format_RGB32);
    UpdateView();
  }
}

void TMainForm::update_minimum_size() {
  // The window cannot shrink below the size at which the whole board fits at the smallest
  // cell size: the client area's minimum follows the order, the view and the mode, and the
  // window adds its menu bar, tool bar and status bar to it.
  const ViewSize board = get_fitted_view_size(ctx_.model, kMinCellSize);
  int height = kTop + board.height + kLeft;
  if (research_mode_) height += kMinMemoHeight + kLeft;
  const QSize wanted(board.width + 2 * kLeft, height);
  if (client_->minimumSize() == wanted) return;
  client_->setMinimumSize(wanted);
  // Now rather than on the next event loop pass: a window below the new minimum grows at once.
  if (shown_) lay_out_now();
}

void TMainForm::lay_out_now() {
  // The client's rows pass a new minimum on to the window only once their own layout has run.
  if (QLayout* rows = centralWidget()->layout()) rows->activate();
  if (layout() != nullptr) layout()->activate();
}

void TMainForm::UpdateView() {
  {
    // The number field follows the collection; setting it is no user's change.
    const QSignalBlocker quiet(spin_edit_);
    spin_edit_->setRange(0, std::max(ctx_.collection.Count() - 1, 0));
    spin_edit_->setValue(ctx_.spin_edit_value);
  }
  if (popup_order_ != ctx_.model.GetOrder() && shown_) BuildCellPopupMenu();
  update_minimum_size();
  render::Draw(bitmap_, ctx_.model);
  paint_box_->update();
  status_panel_->set_text(QString::fromStdString(cmd::get_status_text(ctx_.model)));
  refresh_enabled();
  update_caption();
}

void TMainForm::update_caption() {
  if (!shown_) return;
  setWindowTitle(research_mode_ ? QString(kResearchCaption)
                                : QString::fromStdString(cmd::game_caption(ctx_)));
  // The banner lies over the board's cells, which take the top left of the view.
  const int cell = GetCellSize(ctx_.model, bitmap_.width(), bitmap_.height());
  const ViewSize board = get_fitted_view_size(ctx_.model, cell);
  win_banner_->follow(ctx_.game, !research_mode_,
                      QRect(kViewMargin, kViewMargin, board.width - 2 * kViewMargin,
                            board.height - 2 * kViewMargin));
}

void TMainForm::set_research_mode(bool on) {
  // The game is set aside for the workbench and comes back when the crossword does.
  if (on != research_mode_ && shown_)
    guarded([this, on] {
      if (on)
        cmd::set_game_aside(ctx_);
      else
        cmd::bring_game_back(ctx_);
    });
  research_mode_ = on;
  if (research_action_ != nullptr) research_action_->setChecked(on);
  for (std::size_t i = 0; i + 1 < top_menus_.size(); ++i) top_menus_[i]->setVisible(on);
  tool_bar_->setVisible(on);
  memo_->setVisible(on);
  diagnostics_->setVisible(on && diagnostics_shown_);
  statusBar()->setVisible(on);
  update_caption();
  update_minimum_size();
  FormResize();
}

void TMainForm::PaintBoxMouseMove(int x, int y) {
  cell_ = GetCellAtPoint(ctx_.model, bitmap_.width(), bitmap_.height(), x, y);
}

void TMainForm::PaintBoxClick() {
  if (!command_running()) cmd::PaintBoxClick(ctx_, cell_);
}

void TMainForm::paint_box_popup(const QPoint& global_pos) {
  if (command_running()) return;
  cmd::place_cursor(ctx_, cell_);
  follow_marks_menu();
  popup_menu_->popup(global_pos);
}

void TMainForm::follow_marks_menu() {
  popup_menu_->removeAction(marks_separator_);
  popup_menu_->removeAction(marks_menu_->menuAction());
  if (!cmd::can_mark(ctx_, cell_)) return;
  const std::uint32_t marks = ctx_.game.marks.at(cell_.row, cell_.col);
  for (QAction* item : marks_menu_->actions()) {
    const int value = item->data().toInt();
    if (value >= 0) item->setChecked((marks >> value) & 1u);
  }
  popup_menu_->addAction(marks_separator_);
  popup_menu_->addAction(marks_menu_->menuAction());
}

void TMainForm::MenuItemClick(int value) {
  if (!command_running()) cmd::MenuItemClick(ctx_, cell_, value);
}

void TMainForm::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  FormMouseWheel(delta);
  event->accept();
}

void TMainForm::FormMouseWheel(int delta) {
  if (!command_running()) cmd::FormMouseWheel(ctx_, cell_, delta);
}

void TMainForm::save_bitmap(const std::string& file_name) {
  render::save_view_bitmap(ctx_.model, bitmap_.width(), bitmap_.height(), file_name);
  UpdateView();
}

void TMainForm::GoToBeginToolButtonClick() {
  guarded([this] { cmd::GoToBeginToolButtonClick(ctx_); });
}
void TMainForm::GoToPreviousToolButtonClick() {
  guarded([this] { cmd::GoToPreviousToolButtonClick(ctx_); });
}
void TMainForm::GoToNextToolButtonClick() {
  guarded([this] { cmd::GoToNextToolButtonClick(ctx_); });
}
void TMainForm::GoToEndToolButtonClick() {
  guarded([this] { cmd::GoToEndToolButtonClick(ctx_); });
}
void TMainForm::SpinEditChange(int value) {
  guarded([this, value] { cmd::SpinEditChange(ctx_, value); });
}
void TMainForm::DbgButtonClick() {
  guarded([this] { cmd::DbgButtonClick(ctx_); });
}

void TMainForm::menu_command_click(const cmd::MenuEntry& entry) {
  if (entry.window_only) {
    window_item_click(entry);
    return;
  }
  if (entry.handler == nullptr || command_running()) return;
  if ((entry.id == cmd::MenuId::kNewGame || entry.arg == cmd::ArgKind::kGameNumber) &&
      !may_discard_game())
    return;
  const std::optional<std::string> arg = dialogs_->ask(entry, ctx_);
  if (!arg) return;
  execute(entry, *arg);
}

void TMainForm::window_item_click(const cmd::MenuEntry& entry) {
  switch (entry.id) {
    case cmd::MenuId::kExit:
      close();
      break;
    case cmd::MenuId::kResearchMode:
      set_research_mode(!research_mode_);
      break;
    case cmd::MenuId::kDiagnostics:
      set_diagnostics_visible(!diagnostics_shown_);
      break;
    default:
      break;
  }
}

void TMainForm::execute(const cmd::MenuEntry& entry, const std::string& arg) {
  if (command_running()) return;
  if (!entry.long_running) {
    running_ = &entry;
    guarded([this, &entry, &arg] { entry.handler(ctx_, arg); });
    running_ = nullptr;
    return;
  }
  set_commands_enabled(false);
  long_command_->start(entry, arg, ctx_);
}

void TMainForm::long_command_ended() {
  LongCommand::Ended ended = long_command_->take_ended();
  tool_bar_->setEnabled(true);
  set_commands_enabled(true);
  give_back_progress_room();
  running_ = ended.entry;
  if (ended.job) guarded([this, &ended] { ended.job->apply(ctx_); });
  running_ = nullptr;
  UpdateView();  // the undo and redo items follow the model again
  emit command_ended();
}

bool TMainForm::command_running() const { return long_command_->running(); }

void TMainForm::cancel_command() { long_command_->cancel(); }

void TMainForm::set_commands_enabled(bool on) {
  paint_box_->setEnabled(on);
  commands_enabled_ = on;
  refresh_enabled();
}

void TMainForm::refresh_enabled() {
  for (const auto& [action, entry] : command_actions_)
    action->setEnabled(commands_enabled_ && entry->handler != nullptr &&
                       cmd::can_act(*entry, ctx_));
  if (undo_action_ != nullptr)
    undo_action_->setEnabled(commands_enabled_ && ctx_.game.history.can_undo(ctx_.model));
  if (redo_action_ != nullptr)
    redo_action_->setEnabled(commands_enabled_ && ctx_.game.history.can_redo(ctx_.model));
  // Nothing to browse without a collection.
  const bool browse = ctx_.collection.Count() > 0;
  for (QAction* button : navigation_) button->setEnabled(browse);
  spin_edit_->setEnabled(browse);
}

void TMainForm::set_diagnostics_visible(bool on) {
  diagnostics_shown_ = on;
  if (diagnostics_action_ != nullptr) diagnostics_action_->setChecked(on);
  diagnostics_->setVisible(on && research_mode_);
  FormResize();
  // The log's lines wrap anew in its new width; its last line stays in view.
  memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Closing stops the long command at its next safe point; nothing of it is applied.
  if (command_running()) {
    long_command_->shutdown();
    give_back_progress_room();
    tool_bar_->setEnabled(true);
    set_commands_enabled(true);
    emit command_ended();
  }
  // An unfinished game stays for the next start.
  if (shown_) guarded([this] { cmd::keep_game(ctx_); });
  QMainWindow::closeEvent(event);
}

void TMainForm::start_command(std::string_view caption, const std::string& arg) {
  const cmd::MenuEntry* entry = cmd::find_command(caption);
  if (entry == nullptr || (entry->handler == nullptr && !entry->window_only)) {
    show_message("No command \"" + from_view(caption) + "\".");
    return;
  }
  if (entry->window_only) {
    menu_command_click(*entry);
    return;
  }
  if (entry->radio_group != 0)
    if (const auto item = entry_actions_.find(entry); item != entry_actions_.end())
      item->second->setChecked(true);
  execute(*entry, arg);
}

void TMainForm::run_command(std::string_view caption, const std::string& arg) {
  if (command_running()) return;  // as the greyed menu item would
  start_command(caption, arg);
  if (!command_running()) return;
  QEventLoop wait;
  connect(this, &TMainForm::command_ended, &wait, &QEventLoop::quit);
  wait.exec();
}

void TMainForm::guarded(const std::function<void()>& command) {
  QString error;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    command();
  } catch (const std::exception& e) {
    error = QString::fromUtf8(e.what());
    if (error.isEmpty()) error = "Error";
  }
  QGuiApplication::restoreOverrideCursor();
  if (!error.isEmpty()) show_message(error, true);
}

bool TMainForm::ask(const QString& text, const QString& yes) {
  if (question_sink_) return question_sink_(text);
  QMessageBox box(QMessageBox::Question, QString(kDesignCaption), text, QMessageBox::NoButton,
                  this);
  QPushButton* yes_button = box.addButton(yes, QMessageBox::AcceptRole);
  box.setDefaultButton(box.addButton(QMessageBox::Cancel));
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  QGuiApplication::restoreOverrideCursor();
  return box.clickedButton() == yes_button;
}

void TMainForm::show_message(const QString& text, bool error) {
  if (message_sink_) {
    message_sink_(text);
    return;
  }
  // The rules of the crossword come in a box of their own; everything else under the
  // program's name.
  const bool rules = running_ != nullptr && running_->id == cmd::MenuId::kRules;
  QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Information,
                  rules ? QString("Brief rules") : QString(kDesignCaption),
                  QString(text).replace("\r\n", "\n").replace('\r', '\n'), QMessageBox::Ok, this);
  // A message asked for in the middle of a long command still gets the normal pointer.
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  QGuiApplication::restoreOverrideCursor();
  // The notice that came with the message (which file failed) outlasts the box.
  if (notice_timer_->isActive()) notice_timer_->start();
}

void TMainForm::show_notice(const QString& text) {
  notice_->setText(text);
  place_notice();
  notice_->show();
  notice_->raise();
  notice_timer_->start();
}

void TMainForm::place_notice() {
  const int width = std::max(client_->width() - 2 * kLeft, 1);
  const int height = std::min(notice_->heightForWidth(width), client_->height());
  notice_->setGeometry(kLeft, std::max(client_->height() - kLeft - height, 0), width, height);
}

void TMainForm::give_back_progress_room() {
  // The window grew for the progress row where it was at its smallest; with the row gone, it
  // goes back to the size it had, unless it was made wider or narrower meanwhile.
  if (!size_before_progress_) return;
  const QSize before = *std::exchange(size_before_progress_, std::nullopt);
  lay_out_now();
  if (before.width() == width() && before.height() < height()) resize(before);
}

}  // namespace dlslab::app
