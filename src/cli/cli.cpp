#include "cli/cli.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "cli/batch_main.h"
#include "cli/search_main.h"
#include "cmd/context.h"
#include "cmd/model_commands.h"
#include "cmd/status.h"
#include "model/diagnostics.h"
#include "model/isa_path.h"
#include "model/parse_number.h"
#include "model/progress.h"
#include "model/random.h"

namespace dlslab::cli {
namespace {

constexpr const char* kVersion = DLSLAB_VERSION;

constexpr const char* kUsage =
    "usage: dlslab-cli [--seed N] [--square DIGITS] [--status] COMMAND [ARG] ...\n"
    "       dlslab-cli --list | --help | --version\n"
    "       dlslab-cli batch ... | generate ... | search ... | merge ...  (see their --help)\n"
    "\n"
    "Runs menu commands of the dlslab window, in order, on one square model (order 10,\n"
    "cleared, single view). COMMAND is a menu caption, case ignored, a trailing \"...\"\n"
    "optional; a command that asks for a file, folder, text or number takes it as the next\n"
    "argument. The log lines go to stdout; messages and progress to stderr (a progress line\n"
    "too when stderr is a terminal). Ctrl-C stops the running command at its next safe\n"
    "point and exits with status 130.\n"
    "\n"
    "  --seed N         set the random generator's seed to N after start-up; \"New game\"\n"
    "                   then deals game N instead of seeding from the clock\n"
    "  --square DIGITS  import a square first, as \"Import square...\" does\n"
    "  --status         print \"Status: \" and the status-line text after all commands\n"
    "  --list           print every command\n"
    "  --help           print this text\n"
    "  --version        print the version and the engines' instruction-set path\n"
    "\n"
    "DLSLAB_ISA=scalar|avx2|avx512|avx512vp2i makes the engines use a lower instruction-set path\n"
    "than the best one this processor has; the results are the same on every path.\n";

std::string_view arg_name(cmd::ArgKind kind) {
  switch (kind) {
    case cmd::ArgKind::kOpenFile:
    case cmd::ArgKind::kSaveFile:
      return "FILE";
    case cmd::ArgKind::kText:
      return "TEXT";
    case cmd::ArgKind::kOrder:
      return "N";
    case cmd::ArgKind::kFolder:
      return "FOLDER";
    case cmd::ArgKind::kGameNumber:
      return "NUMBER";
    case cmd::ArgKind::kSearch:
      return "GENERATOR COUNT [FIRST]";
    case cmd::ArgKind::kNone:
      break;
  }
  return "";
}

void print_list(std::ostream& out) {
  const auto table = cmd::menu_table();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const cmd::MenuEntry& e = table[i];
    if (e.caption == "-" || cmd::is_container(table, i)) continue;
    out << e.caption;
    if (e.arg != cmd::ArgKind::kNone) out << ' ' << arg_name(e.arg);
    if (e.window_only)
      out << "  (window only)";
    else if (e.handler == nullptr)
      out << "  (not available)";
    out << '\n';
  }
}

// The progress of the commands being run, for SIGINT to cancel. A relaxed atomic store is
// all the handler does, which is safe in a signal handler.
std::atomic<Progress*> interrupted_progress{nullptr};

extern "C" void on_interrupt(int /*signal*/) {
  if (Progress* progress = interrupted_progress.load()) progress->request_cancel();
}

/// Routes Ctrl-C to `progress` while it lives; the previous handler comes back after.
class InterruptToCancel {
 public:
  explicit InterruptToCancel(Progress& progress) {
    interrupted_progress.store(&progress);
    previous_ = std::signal(SIGINT, on_interrupt);
  }
  ~InterruptToCancel() {
    std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_);
    interrupted_progress.store(nullptr);
  }
  InterruptToCancel(const InterruptToCancel&) = delete;
  InterruptToCancel& operator=(const InterruptToCancel&) = delete;

 private:
  void (*previous_)(int) = SIG_DFL;
};

std::string minutes_seconds(double seconds) {
  const long s = std::lround(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
  return text;
}

/// One line on a terminal's stderr, redrawn a few times a second while a command runs for
/// longer than half a second: the command, the step, how far along and the time left.
class ProgressLine {
 public:
  ProgressLine(const Progress& progress, std::string_view caption)
      : progress_(progress), caption_(caption), thread_([this] { draw(); }) {}
  ~ProgressLine() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

 private:
  void draw() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::uint64_t step_start_done = 0;
    std::string step_label;
    Clock::time_point step_start = start;
    bool drawn = false;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return stop_; })) {
      const Clock::time_point now = Clock::now();
      if (now - start < std::chrono::milliseconds(500)) continue;
      const Progress::Snapshot snapshot = progress_.read();
      if (snapshot.label != step_label || snapshot.done < step_start_done) {
        step_label = snapshot.label;
        step_start_done = snapshot.done;
        step_start = now;
      }
      std::string line = "\r\033[K" + caption_;
      if (!snapshot.label.empty()) line += ": " + snapshot.label;
      if (snapshot.total > 0) {
        const double share =
            static_cast<double>(snapshot.done) / static_cast<double>(snapshot.total);
        char percent[16];
        std::snprintf(percent, sizeof percent, " %.0f%%", 100.0 * std::min(share, 1.0));
        line += percent;
        const double seconds = std::chrono::duration<double>(now - step_start).count();
        const std::uint64_t gained = snapshot.done - step_start_done;
        if (gained > 0 && snapshot.done < snapshot.total && seconds > 1.0)
          line += ", " +
                  minutes_seconds(seconds * static_cast<double>(snapshot.total - snapshot.done) /
                                  static_cast<double>(gained)) +
                  " left";
      } else if (snapshot.done > 0) {
        line += " " + std::to_string(snapshot.done);
      }
      std::fputs(line.c_str(), stderr);
      std::fflush(stderr);
      drawn = true;
    }
    if (drawn) {
      std::fputs("\r\033[K", stderr);
      std::fflush(stderr);
    }
  }

  const Progress& progress_;
  std::string caption_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;  // last: it starts once everything it reads is set up
};

}  // namespace

Invocation parse_arguments(std::span<const std::string> args) {
  Invocation call;
  auto usage_error = [&call](std::string message) {
    call.action = Invocation::Action::kUsageError;
    call.error = std::move(message);
    call.steps.clear();
    return call;
  };

  std::size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "--version" || option == "--list") {
      call.action = option == "--help"      ? Invocation::Action::kHelp
                    : option == "--version" ? Invocation::Action::kVersion
                                            : Invocation::Action::kList;
      return call;
    }
    if (option == "--status") {
      call.status = true;
      continue;
    }
    if (option == "--seed" || option == "--square") {
      if (i + 1 >= args.size()) return usage_error(option + " needs a value");
      const std::string& value = args[++i];
      if (option == "--seed") {
        call.seed = parse_number<std::uint32_t>(value);
        if (!call.seed)
          return usage_error("--seed needs a number 0..4294967295, not \"" + value + "\"");
      } else {
        call.square = value;
      }
      continue;
    }
    return usage_error("unknown option \"" + option + "\"");
  }

  for (; i < args.size(); ++i) {
    const std::string& word = args[i];
    const cmd::MenuEntry* entry = cmd::find_command(word);
    if (entry == nullptr) return usage_error("unknown command \"" + word + "\"");
    if (entry->window_only)
      return usage_error("command \"" + std::string(entry->caption) + "\" is only in the window");
    if (entry->handler == nullptr)
      return usage_error("command \"" + std::string(entry->caption) + "\" is not available");
    Step step{entry, {}};
    if (entry->arg != cmd::ArgKind::kNone) {
      if (i + 1 >= args.size())
        return usage_error("command \"" + std::string(entry->caption) + "\" needs " +
                           std::string(arg_name(entry->arg)));
      step.arg = args[++i];
    }
    call.steps.push_back(std::move(step));
  }
  return call;
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err,
        const SaveBitmapFn& save_bitmap, const SaveStatisticsFn& save_statistics) {
  // The diagnostics go to err while the commands run; the caller's stream comes back after,
  // so that a run in a longer-lived process leaves no pointer to a stream that is gone.
  const ScopedDiagStream diagnostics_to_err(&err);
  if (!args.empty() && args[0] == "batch") return batch_main(args.subspan(1), out, err);
  if (!args.empty() && args[0] == "generate") return generate_main(args.subspan(1), out, err);
  if (!args.empty() && args[0] == "search") return search_main(args.subspan(1), out, err);
  if (!args.empty() && args[0] == "merge") return merge_main(args.subspan(1), out, err);
  if (const std::string& note = default_isa_choice().note; !note.empty())
    err << "dlslab-cli: " << note << '\n';

  const Invocation call = parse_arguments(args);
  switch (call.action) {
    case Invocation::Action::kUsageError:
      err << "dlslab-cli: " << call.error << '\n' << "Try 'dlslab-cli --help'.\n";
      return 2;
    case Invocation::Action::kHelp:
      out << kUsage;
      return 0;
    case Invocation::Action::kVersion:
      out << "dlslab-cli " << kVersion << '\n'
          << "Engines: " << isa_path_name(default_isa_path()) << " (this processor has";
      for (const IsaPath path : supported_isa_paths()) out << ' ' << isa_path_name(path);
      out << ")\n";
      return 0;
    case Invocation::Action::kList:
      print_list(out);
      return 0;
    case Invocation::Action::kRun:
      break;
  }

  cmd::Context ctx;
  if (save_bitmap)
    ctx.save_bitmap = [&ctx, &save_bitmap](const std::string& file) {
      save_bitmap(ctx.model, file);
    };
  if (save_statistics) ctx.save_statistics_bitmap = save_statistics;
  ctx.log.on_add = [&out](const std::string& line) { out << line << '\n' << std::flush; };
  ctx.show_message = [&out](const std::string& text) { out << text << '\n' << std::flush; };
  if (call.seed) {
    RandSeed = *call.seed;
    ctx.new_game_from_clock = false;
  }
  try {
    if (call.square) cmd::ImportSquareMenuItemClick(ctx, *call.square);
  } catch (const std::exception& e) {
    err << "dlslab-cli: --square failed: " << e.what() << '\n';
    return 1;
  }

  Progress progress;
  const ProgressScope progress_scope(progress);
  const InterruptToCancel interrupt(progress);
  const bool progress_line = &err == &std::cerr && isatty(STDERR_FILENO) != 0;
  for (const Step& step : call.steps) {
    const cmd::MenuEntry& entry = *step.entry;
    try {
      if (progress.cancel_requested()) throw Cancelled();
      std::optional<ProgressLine> line;
      if (progress_line) line.emplace(progress, entry.caption);
      entry.handler(ctx, step.arg);
    } catch (const Cancelled&) {
      err << "dlslab-cli: \"" << entry.caption << "\" was cancelled\n";
      return 130;
    } catch (const std::exception& e) {
      err << "dlslab-cli: \"" << entry.caption << "\" failed: " << e.what() << '\n';
      return 1;
    }
  }

  if (call.status) out << "Status: " << cmd::get_status_text(ctx.model) << '\n';
  return 0;
}

}  // namespace dlslab::cli
