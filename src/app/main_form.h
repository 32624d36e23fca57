#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>
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
class QShortcut;
class QTimer;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace dlslab::app {

class CommandRunner;
class DiagnosticsPane;
class PaintBox;
class ProgressPanel;
class TImportForm;
class TSetOrderForm;

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
  void UpdateCaption();

  /// Runs the command with that caption as its menu item does, with `arg` standing for what
  /// its dialog would ask, and returns when it has ended (a long one runs on its worker
  /// thread meanwhile, with the window alive). Errors are shown like any command's.
  void RunCommand(std::string_view caption, const std::string& arg = {});
  /// As RunCommand, but a long command is only started: the call returns at once and the
  /// result is applied when the command ends (CommandEnded).
  void StartCommand(std::string_view caption, const std::string& arg = {});
  /// True while a long command runs; the model's commands are disabled meanwhile.
  [[nodiscard]] bool CommandRunning() const;
  /// Asks the running long command to stop (the Cancel button, Esc).
  void CancelCommand();
  [[nodiscard]] ProgressPanel* Panel() const { return progress_panel_; }
  [[nodiscard]] DiagnosticsPane* Diagnostics() const { return diagnostics_; }
  /// Shows or hides everything the crossword hides: the research menus, the tool bar, the
  /// log, the status bar and the debug button.
  void SetResearchMode(bool on);
  [[nodiscard]] bool ResearchMode() const { return research_mode_; }

  /// Where messages and command errors go (a message box unless replaced).
  void SetMessageSink(std::function<void(const QString& text)> sink) {
    message_sink_ = std::move(sink);
  }

  [[nodiscard]] cmd::Context& Context() { return ctx_; }
  [[nodiscard]] const QImage& Bitmap() const { return bitmap_; }
  [[nodiscard]] CellPos RememberedCell() const { return cell_; }
  [[nodiscard]] QMenu* PopupMenu() const { return popup_menu_; }
  [[nodiscard]] TSetOrderForm* SetOrderForm() const { return set_order_form_; }
  [[nodiscard]] TImportForm* ImportForm() const { return import_form_; }

 signals:
  /// A long command has ended and its result (or its cancel line) is applied.
  void CommandEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildCellPopupMenu();

  void FormShow();
  void FormResize();
  void PaintBoxMouseMove(int x, int y);
  void PaintBoxClick();
  void PaintBoxPopup(const QPoint& global_pos);
  void MenuItemClick(int value);
  void FormMouseWheel(int delta);
  void SaveBitmap(const std::string& file_name);

  // Collection navigation of the tool bar and the debug button.
  void GoToBeginToolButtonClick();
  void GoToPreviousToolButtonClick();
  void GoToNextToolButtonClick();
  void GoToEndToolButtonClick();
  void SpinEditChange(int value);
  void DbgButtonClick();

  void MenuCommandClick(const cmd::MenuEntry& entry);
  /// Runs a command of the table: a long one on the worker thread, the others at once.
  void Execute(const cmd::MenuEntry& entry, const std::string& arg);
  void LongCommandEnded();
  /// Gives the window back after a long command; returns the command that ran.
  const cmd::MenuEntry* EndLongCommand();
  /// Greys the model's commands while a long command runs, or gives them back.
  void SetCommandsEnabled(bool on);
  void ShowProgress();
  void SetDiagnosticsVisible(bool on);
  /// What the entry's dialog asks for; nullopt when the user cancelled.
  std::optional<std::string> AskArgument(const cmd::MenuEntry& entry);
  /// Runs a command with the wait cursor; an exception becomes a message.
  void Guarded(const std::function<void()>& command);
  /// A message box (an error's with the error icon); a message sink replaces it.
  void ShowMessage(const QString& text, bool error = false);

  cmd::Context ctx_;
  QImage bitmap_;
  CellPos cell_;
  bool shown_ = false;
  bool research_mode_ = false;
  int popup_order_ = 0;
  std::function<void(const QString&)> message_sink_;
  const cmd::MenuEntry* running_ = nullptr;  ///< the menu command being run, if any

  PaintBox* paint_box_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QSpinBox* spin_edit_ = nullptr;
  QPushButton* dbg_button_ = nullptr;
  QLabel* status_panel_ = nullptr;
  QMenu* popup_menu_ = nullptr;
  QAction* research_action_ = nullptr;
  QAction* undo_action_ = nullptr;  ///< greyed while there is nothing to take back
  QAction* redo_action_ = nullptr;
  QAction* diagnostics_action_ = nullptr;
  /// The actions of the model's commands, greyed while a long command runs.
  std::vector<std::pair<QAction*, const cmd::MenuEntry*>> command_actions_;
  CommandRunner* runner_ = nullptr;
  const cmd::MenuEntry* long_running_ = nullptr;  ///< the long command on the worker thread
  ProgressPanel* progress_panel_ = nullptr;
  QTimer* progress_timer_ = nullptr;
  QShortcut* escape_ = nullptr;
  QTimer* progress_delay_ = nullptr;  ///< short runs end before the panel shows
  DiagnosticsPane* diagnostics_ = nullptr;
  bool diagnostics_shown_ = false;
  std::vector<QAction*> top_menus_;
  TSetOrderForm* set_order_form_ = nullptr;
  TImportForm* import_form_ = nullptr;
};

}  // namespace dlslab::app
