#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>

#include "collection/stats.h"
#include "model/latin_square_class.h"

namespace dlslab::cli {

/// Paints the view of the model into a BMP file ("Save as bmp...").
using SaveBitmapFn = std::function<void(TLatinSquareClass& model, const std::string& file_name)>;

/// Paints the per-cell histograms into a BMP file ("Draw statistical info").
using SaveStatisticsFn =
    std::function<void(const CellHistograms& histograms, const std::string& file_name)>;

/// Runs `dlslab-cli` with the arguments after the program name. Log lines go to out,
/// messages and diagnostics to err. Returns the exit status: 0 ok, 1 a command failed,
/// 2 a usage error, 130 a command stopped by Ctrl-C (SIGINT, caught while the commands run).
/// Without save_bitmap, "Save as bmp..." fails; without save_statistics, "Draw statistical
/// info" does.
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err,
        const SaveBitmapFn& save_bitmap = {}, const SaveStatisticsFn& save_statistics = {});

}  // namespace dlslab::cli
