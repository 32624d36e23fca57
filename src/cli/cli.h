#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cmd/menu_table.h"
#include "collection/stats.h"
#include "model/latin_square_class.h"

namespace dlslab::cli {

/// Paints the view of the model into a BMP file ("Save as bmp...").
using SaveBitmapFn = std::function<void(TLatinSquareClass& model, const std::string& file_name)>;

/// Paints the per-cell histograms into a BMP file ("Draw statistical info").
using SaveStatisticsFn =
    std::function<void(const CellHistograms& histograms, const std::string& file_name)>;

/// One command of a command line and its argument ("" for a command that takes none).
struct Step {
  const cmd::MenuEntry* entry = nullptr;
  std::string arg;
};

/// What a command line asks for, read without running anything.
struct Invocation {
  enum class Action { kRun, kHelp, kVersion, kList, kUsageError };
  Action action = Action::kRun;
  std::string error;                  ///< kUsageError: what is wrong
  std::optional<std::uint32_t> seed;  ///< --seed
  std::optional<std::string> square;  ///< --square, the last one given
  bool status = false;                ///< --status
  std::vector<Step> steps;            ///< the commands, in order
};

/// Reads the arguments after the program name. Options come first; the first --help,
/// --version or --list ends the reading, so does the first mistake.
[[nodiscard]] Invocation parse_arguments(std::span<const std::string> args);

/// Runs `dlslab-cli` with the arguments after the program name. Log lines go to out,
/// messages and diagnostics to err. Returns the exit status: 0 ok, 1 a command failed,
/// 2 a usage error (nothing is run then), 130 a command stopped by Ctrl-C (SIGINT, caught while
/// the commands run). Without save_bitmap, "Save as bmp..." fails; without save_statistics,
/// "Draw statistical info" does.
int run(std::span<const std::string> args, std::ostream& out, std::ostream& err,
        const SaveBitmapFn& save_bitmap = {}, const SaveStatisticsFn& save_statistics = {});

}  // namespace dlslab::cli
