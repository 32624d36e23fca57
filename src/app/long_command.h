#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "cmd/command_job.h"
#include "cmd/context.h"
#include "cmd/menu_table.h"

class QShortcut;
class QTimer;
class QWidget;

namespace dlslab::app {

class CommandRunner;
class ProgressPanel;

/// A command that may run long, on its worker thread with the window alive: it shows its
/// progress panel once it has run for a moment, refreshes it, takes Esc for Cancel, and tells
/// the window when the command has ended. Applying the result is the window's.
class LongCommand : public QObject {
  Q_OBJECT

 public:
  /// The panel shows the progress; Esc within `window` cancels while a command runs.
  LongCommand(QWidget* window, ProgressPanel* panel);

  /// Starts the entry's command on a copy of the context; only while not running().
  void start(const cmd::MenuEntry& entry, const std::string& arg, const cmd::Context& ctx);
  /// True from start() until `ended` has been handled (or shutdown()).
  [[nodiscard]] bool running() const;
  /// Asks the command to stop at its next safe point; `ended` follows.
  void cancel();
  /// Cancels the command and waits for it; nothing of it is applied and no `ended` follows.
  void shutdown();

  /// After `ended`: the command that ran and its job, whose result is to be applied (no job
  /// when it was dropped meanwhile).
  struct Ended {
    const cmd::MenuEntry* entry = nullptr;
    std::unique_ptr<cmd::CommandJob> job;
  };
  [[nodiscard]] Ended take_ended();

 signals:
  /// The progress panel has come up: the command is no quick one.
  void panel_shown();
  /// The command has ended (finished, failed or cancelled); its panel is gone.
  void ended();

 private:
  void show_progress();
  void finished();
  /// Takes the panel, the timers and Esc back; returns the command that ran.
  const cmd::MenuEntry* wind_up();

  ProgressPanel* panel_;
  CommandRunner* runner_;
  QTimer* refresh_;
  QTimer* delay_;  ///< short runs end before the panel shows
  QShortcut* escape_;
  const cmd::MenuEntry* entry_ = nullptr;
  Ended ended_;
};

}  // namespace dlslab::app
