#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "cmd/context.h"
#include "cmd/menu_table.h"
#include "model/progress.h"

namespace dlslab::cmd {

/// One run of a long command off the owner's thread. The command works on a copy of the
/// context (model, browsing collection, game state, mate search) with a log, message and
/// picture sink of its own; nothing the owner holds is touched until apply(), on the owner's
/// thread, hands the result over. A cancelled or abandoned job therefore leaves the owner's
/// context, log and files as they were.
class CommandJob {
 public:
  enum class Outcome { kRunning, kDone, kFailed, kCancelled };

  /// Copies what the command may read or change from `source`, on the owner's thread.
  CommandJob(const MenuEntry& entry, std::string arg, const Context& source);
  ~CommandJob();
  CommandJob(const CommandJob&) = delete;
  CommandJob& operator=(const CommandJob&) = delete;

  /// Runs the command on the copy with progress() as the thread's current progress. Any
  /// thread, once; never throws: the outcome says how it ended.
  void run();

  /// Where the command reports how far it is, and where a cancel request goes.
  [[nodiscard]] Progress& progress() { return progress_; }
  [[nodiscard]] const MenuEntry& entry() const { return *entry_; }
  /// kRunning until run() has returned; safe to read from any thread.
  [[nodiscard]] Outcome outcome() const { return outcome_.load(std::memory_order_acquire); }

  /// After run(), on the owner's thread: what the command did to the copy is done to `target`
  /// as the command run on `target` itself would have done it: the model and collection
  /// taken over, the log lines added, the messages shown, the pictures saved, the view
  /// redrawn; a failure is rethrown after the changes made before it. A cancelled command
  /// changes nothing and adds cancelled_line to the log.
  void apply(Context& target);

  /// The log line of a cancelled command.
  [[nodiscard]] static std::string cancelled_line(std::string_view caption);

 private:
  struct Effects;

  const MenuEntry* entry_;
  std::string arg_;
  std::uint32_t seed_;  ///< the random generator's state: the owner's, then the command's
  std::unique_ptr<Context> copy_;
  std::unique_ptr<Effects> effects_;
  Progress progress_;
  std::exception_ptr error_;
  std::atomic<Outcome> outcome_{Outcome::kRunning};
};

}  // namespace dlslab::cmd
