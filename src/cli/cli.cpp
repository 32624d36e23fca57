#include "cli/cli.h"

#include <charconv>
#include <exception>
#include <optional>

#include "cmd/context.h"
#include "cmd/menu_table.h"
#include "cmd/model_commands.h"
#include "cmd/status.h"
#include "model/diagnostics.h"
#include "model/isa_path.h"
#include "model/random.h"

namespace dlslab::cli {
namespace {

constexpr const char* kVersion = "0.1";

constexpr const char* kUsage =
    "usage: dlslab-cli [--seed N] [--square DIGITS] [--status] COMMAND [ARG] ...\n"
    "       dlslab-cli --list | --help | --version\n"
    "\n"
    "Runs menu commands of the dlslab window, in order, on one square model (order 10,\n"
    "cleared, single view). COMMAND is a menu caption, case ignored, a trailing \"...\"\n"
    "optional; a command that asks for a file, folder, text or number takes it as the next\n"
    "argument. The log lines go to stdout; messages and progress to stderr.\n"
    "\n"
    "  --seed N         set the random generator's seed to N after start-up; \"New game\"\n"
    "                   then deals game N instead of seeding from the clock\n"
    "  --square DIGITS  import a square first, as \"Import square...\" does\n"
    "  --status         print \"Status: \" and the status-line text after all commands\n"
    "  --list           print every command\n"
    "  --help           print this text\n"
    "  --version        print the version and the engines' instruction-set path\n"
    "\n"
    "DLSLAB_ISA=scalar|avx2|avx512 makes the engines use a lower instruction-set path than the\n"
    "best one this processor has; the results are the same on every path.\n";

std::string_view ArgName(cmd::ArgKind kind) {
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
    case cmd::ArgKind::kNone:
      break;
  }
  return "";
}

void PrintList(std::ostream& out) {
  const auto table = cmd::MenuTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const cmd::MenuEntry& e = table[i];
    if (e.caption == "-" || cmd::IsContainer(table, i)) continue;
    out << e.caption;
    if (e.arg != cmd::ArgKind::kNone) out << ' ' << ArgName(e.arg);
    if (e.window_only)
      out << "  (window only)";
    else if (e.handler == nullptr)
      out << "  (not available)";
    out << '\n';
  }
}

std::optional<std::uint32_t> ParseSeed(const std::string& s) {
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err,
        const SaveBitmapFn& save_bitmap, const SaveStatisticsFn& save_statistics) {
  // The diagnostics go to err while the commands run; the caller's stream comes back after,
  // so that a Run in a longer-lived process leaves no pointer to a stream that is gone.
  struct DiagRedirect {
    std::ostream* previous = &Diag();
    ~DiagRedirect() { SetDiagStream(previous); }
  } redirect;
  SetDiagStream(&err);
  if (const std::string& note = DefaultIsaChoice().note; !note.empty())
    err << "dlslab-cli: " << note << '\n';
  cmd::Context ctx;
  if (save_bitmap)
    ctx.save_bitmap = [&ctx, &save_bitmap](const std::string& file) {
      save_bitmap(ctx.model, file);
    };
  if (save_statistics) ctx.save_statistics_bitmap = save_statistics;
  ctx.log.on_add = [&out](const std::string& line) { out << line << '\n' << std::flush; };
  ctx.show_message = [&out](const std::string& text) { out << text << '\n' << std::flush; };

  bool status = false;
  std::size_t i = 0;
  auto usage_error = [&err](const std::string& message) {
    err << "dlslab-cli: " << message << '\n' << "Try 'dlslab-cli --help'.\n";
    return 2;
  };

  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    const std::string& option = args[i];
    if (option == "--help") {
      out << kUsage;
      return 0;
    }
    if (option == "--version") {
      out << "dlslab-cli " << kVersion << '\n'
          << "Engines: " << IsaPathName(DefaultIsaPath()) << " (this processor has";
      for (const IsaPath path : SupportedIsaPaths()) out << ' ' << IsaPathName(path);
      out << ")\n";
      return 0;
    }
    if (option == "--list") {
      PrintList(out);
      return 0;
    }
    if (option == "--status") {
      status = true;
      continue;
    }
    if (option == "--seed" || option == "--square") {
      if (i + 1 >= args.size()) return usage_error(option + " needs a value");
      const std::string& value = args[++i];
      if (option == "--seed") {
        const auto seed = ParseSeed(value);
        if (!seed) return usage_error("--seed needs a number 0..4294967295, not \"" + value + "\"");
        RandSeed = *seed;
        ctx.new_game_from_clock = false;
      } else {
        cmd::ImportSquareMenuItemClick(ctx, value);
      }
      continue;
    }
    return usage_error("unknown option \"" + option + "\"");
  }

  for (; i < args.size(); ++i) {
    const std::string& word = args[i];
    const cmd::MenuEntry* entry = cmd::FindCommand(word);
    if (entry == nullptr) return usage_error("unknown command \"" + word + "\"");
    if (entry->window_only)
      return usage_error("command \"" + std::string(entry->caption) + "\" is only in the window");
    if (entry->handler == nullptr)
      return usage_error("command \"" + std::string(entry->caption) + "\" is not available");
    std::string arg;
    if (entry->arg != cmd::ArgKind::kNone) {
      if (i + 1 >= args.size())
        return usage_error("command \"" + std::string(entry->caption) + "\" needs " +
                           std::string(ArgName(entry->arg)));
      arg = args[++i];
    }
    try {
      entry->handler(ctx, arg);
    } catch (const std::exception& e) {
      err << "dlslab-cli: \"" << entry->caption << "\" failed: " << e.what() << '\n';
      return 1;
    }
  }

  if (status) out << "Status: " << cmd::GetStatusText(ctx.model) << '\n';
  return 0;
}

}  // namespace dlslab::cli
