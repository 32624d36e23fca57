// The command-line reader on arbitrary arguments (the bytes split at each newline): it runs
// nothing, and what it hands back is a usage error with a message or a plan the CLI can run.
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cmd/menu_table.h"

namespace {

bool in_table(const dlslab::cmd::MenuEntry* entry) {
  const auto table = dlslab::cmd::menu_table();
  return entry >= table.data() && entry < table.data() + table.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  if (size == 0) args.clear();

  using Action = dlslab::cli::Invocation::Action;
  const dlslab::cli::Invocation call = dlslab::cli::parse_arguments(args);
  if ((call.action == Action::kUsageError) == call.error.empty()) std::abort();
  if (call.action != Action::kRun && !call.steps.empty()) std::abort();
  std::size_t words = 0;
  for (const dlslab::cli::Step& step : call.steps) {
    if (!in_table(step.entry) || step.entry->handler == nullptr || step.entry->window_only)
      std::abort();
    if (step.entry->arg == dlslab::cmd::ArgKind::kNone && !step.arg.empty()) std::abort();
    words += step.entry->arg == dlslab::cmd::ArgKind::kNone ? 1 : 2;
  }
  if (words > args.size()) std::abort();
  return 0;
}
