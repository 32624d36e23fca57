#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cmd/context.h"
#include "cmd/menu_table.h"
#include "model/square_view.h"

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimer;
class QToolBar;
class QToolButton;

namespace dlslab::app {

class ArgumentDialogs;
class DiagnosticsPane;
class LongCommand;
class PaintBox;
class ProgressPanel;
class TImportForm;
class StatisticsWindow;
class TSetOrderForm;
class WinBanner;
class WrappedLabel;

/// The main window: the menu bar built from the command table, the square view, the log, the
/// status line and the collection tool bar. It starts as the crossword: only the "Crossword"
/// menu is shown until "Research mode" is checked.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  TMainForm();
  /// A long command still running is cancelled and waited for; its result is dropped.
  ~TMainForm() override;

  /// The one redraw: the bitmap, the paint box with the keyboard cursor, the status line and
  /// the caption.
  void UpdateView();
  /// The caption: the crossword's with the game number and clock, or the research caption.
  void update_caption();

  /// Runs the command with that caption as its menu item does, with `arg` standing for what
  /// its dialog would ask, and returns when it has ended (a long one runs on its worker
  /// thread meanwhile, with the window alive). Errors are shown like any command's.
  void run_command(std::string_view caption, const std::string& arg = {});
  /// As run_command, but a long command is only started: the call returns at once and the
  /// result is applied when the command ends (command_ended).
  void start_command(std::string_view caption, const std::string& arg = {});
  /// True while a long command runs; the model's commands are disabled meanwhile.
  [[nodiscard]] bool command_running() const;
  /// Asks the running long command to stop (the Cancel button, Esc).
  void cancel_command();
  [[nodiscard]] ProgressPanel* panel() const { return progress_panel_; }
  [[nodiscard]] DiagnosticsPane* diagnostics() const { return diagnostics_; }
  /// The line over the foot of the client area telling what a command just did
  /// (Context::notice); it goes after a few seconds.
  [[nodiscard]] QLabel* notice() const;
  /// The window of the picture "Draw statistical info" wrote.
  [[nodiscard]] StatisticsWindow* statistics_window() const { return statistics_window_; }
  /// Shows or hides everything the crossword hides: the research menus, the tool bar, the
  /// log, the status bar and the debug button.
  void set_research_mode(bool on);
  [[nodiscard]] bool research_mode() const { return research_mode_; }

  /// Where messages and command errors go (a message box unless replaced).
  void set_message_sink(std::function<void(const QString& text)> sink) {
    message_sink_ = std::move(sink);
  }

  /// Where the window's yes-or-no questions go (continue a kept game? discard the game in
  /// play?): a question box unless replaced; the answer is true for yes.
  void set_question_sink(std::function<bool(const QString& text)> sink) {
    question_sink_ = std::move(sink);
  }

  [[nodiscard]] cmd::Context& context() { return ctx_; }
  [[nodiscard]] const QImage& bitmap() const { return bitmap_; }
  [[nodiscard]] CellPos remembered_cell() const { return cell_; }
  [[nodiscard]] QMenu* popup_menu() const { return popup_menu_; }
  /// The pop-up menu's "Pencil marks" submenu ("Clear marks", then one item per value).
  [[nodiscard]] QMenu* marks_menu() const { return marks_menu_; }
  /// Puts the "Pencil marks" submenu into the pop-up menu when the cell last under the
  /// pointer can take marks, its items checked as the cell's marks are, and takes it out
  /// otherwise; done before the pop-up menu opens.
  void follow_marks_menu();
  [[nodiscard]] TSetOrderForm* set_order_form() const;
  [[nodiscard]] TImportForm* import_form() const;

 signals:
  /// A long command has ended and its result (or its cancel line) is applied.
  void command_ended();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void build_menus();
  void build_tool_bar();
  void BuildCellPopupMenu();

  void FormShow();
  void FormResize();
  /// The window's minimum: the whole board fits at the smallest cell size.
  void update_minimum_size();
  /// Lays out the client's rows and the window at once, not on the next event loop pass.
  void lay_out_now();
  void PaintBoxMouseMove(int x, int y);
  void PaintBoxClick();
  void paint_box_popup(const QPoint& global_pos);
  void MenuItemClick(int value);
  void FormMouseWheel(int delta);
  void save_bitmap(const std::string& file_name);

  // Collection navigation of the tool bar and the debug button.
  void GoToBeginToolButtonClick();
  void GoToPreviousToolButtonClick();
  void GoToNextToolButtonClick();
  void GoToEndToolButtonClick();
  void SpinEditChange(int value);
  void DbgButtonClick();

  void menu_command_click(const cmd::MenuEntry& entry);
  /// What the window itself does for an item without a command-layer handler.
  void window_item_click(const cmd::MenuEntry& entry);
  /// Runs a command of the table: a long one on the worker thread, the others at once.
  void execute(const cmd::MenuEntry& entry, const std::string& arg);
  void long_command_ended();
  /// Greys the model's commands while a long command runs, or gives them back.
  void set_commands_enabled(bool on);
  /// Greys what cannot act now: everything of the model's while a long command runs, the
  /// items whose needs are missing (cmd::can_act), Undo and Redo without history, the
  /// collection's navigation without a collection.
  void refresh_enabled();
  void set_diagnostics_visible(bool on);
  /// Runs a command with the wait cursor; an exception becomes a message.
  void guarded(const std::function<void()>& command);
  /// A message box (an error's with the error icon); a message sink replaces it.
  void show_message(const QString& text, bool error = false);
  /// Shows the notice with that text for a few seconds.
  void show_notice(const QString& text);
  /// The notice across the foot of the client area, as high as its lines need.
  void place_notice();
  /// After a long command: the size the window had before its progress row made it grow.
  void give_back_progress_room();
  /// A question box with `yes` and Cancel, Cancel the default; a question sink replaces it.
  bool ask(const QString& text, const QString& yes);
  /// Before "New game" or "Play game number..." throws away a game with the player's entries:
  /// true when there is none or the player lets it go.
  bool may_discard_game();
  /// At start: offers the game kept by the last run; false when a new game is to be dealt.
  bool continue_kept_game();

  cmd::Context ctx_;
  QImage bitmap_;
  CellPos cell_;
  bool shown_ = false;
  bool research_mode_ = false;
  int popup_order_ = 0;
  std::function<void(const QString&)> message_sink_;
  std::function<bool(const QString&)> question_sink_;
  const cmd::MenuEntry* running_ = nullptr;  ///< the menu command being run, if any

  PaintBox* paint_box_ = nullptr;
  WinBanner* win_banner_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QSpinBox* spin_edit_ = nullptr;
  QPushButton* dbg_button_ = nullptr;
  QWidget* client_ = nullptr;  ///< the board and the log, laid out by FormResize
  WrappedLabel* status_panel_ = nullptr;
  QLabel* notice_ = nullptr;
  QTimer* notice_timer_ = nullptr;
  StatisticsWindow* statistics_window_ = nullptr;
  std::optional<QSize> size_before_progress_;  ///< the window's size as the progress row came
  QMenu* popup_menu_ = nullptr;
  QMenu* marks_menu_ = nullptr;
  QAction* marks_separator_ = nullptr;
  QAction* research_action_ = nullptr;
  QAction* undo_action_ = nullptr;  ///< greyed while there is nothing to take back
  QAction* redo_action_ = nullptr;
  QAction* diagnostics_action_ = nullptr;
  /// The actions of the model's commands, greyed while a long command runs.
  std::vector<std::pair<QAction*, const cmd::MenuEntry*>> command_actions_;
  std::map<const cmd::MenuEntry*, QAction*> entry_actions_;  ///< every item's action
  std::vector<QAction*> navigation_;                         ///< the tool bar's four buttons
  bool commands_enabled_ = true;                             ///< false while a long command runs
  ProgressPanel* progress_panel_ = nullptr;
  LongCommand* long_command_ = nullptr;
  DiagnosticsPane* diagnostics_ = nullptr;
  bool diagnostics_shown_ = false;
  std::vector<QAction*> top_menus_;
  std::unique_ptr<ArgumentDialogs> dialogs_;
};

}  // namespace dlslab::app
