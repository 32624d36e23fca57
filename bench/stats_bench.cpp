// "Draw statistical info" and "Find square in folder" on large collections.
//
// Statistics: the one-pass count of every cell's values at 1,000,000 squares against the plain
// route (100 conversions of every entry, one per cell) at 100,000, each alone and with the
// 2110 x 2110 picture painted and saved. Folder: ten collection files of 100,000 squares each,
// loaded only, and the whole command (loading plus canonical forms).
//
// The squares are order-10 DLS: 300 from "Random search v3" and the embedded squares, each
// entry one of them moved by a random diagonal-preserving row/column permutation, maybe
// transposed, and relabelled (fixed seeds).
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "cmd/context.h"
#include "cmd/stats_commands.h"
#include "collection/stats.h"
#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "random_squares.h"
#ifdef DLSLAB_HAVE_RENDERER
#include "render/offscreen_renderer.h"
#endif

namespace dlslab {
namespace {

namespace fs = std::filesystem;

class SquareSource {
 public:
  explicit SquareSource(unsigned seed) : rng_(seed) {
    static const std::vector<std::string> bases = [] {
      std::vector<std::string> out;
      for (const SpecialSquare& s : kSpecialSquares) out.emplace_back(s.digits);
      for (const TLatinSquare& s : bench::RandomDiagonalLatinSquares(300))
        out.push_back(SquareToString(s, false));
      return out;
    }();
    bases_ = &bases;
  }

  std::string Next() {
    const std::string& digits = (*bases_)[rng_() % bases_->size()];
    std::array<int, 5> pairs;
    std::iota(pairs.begin(), pairs.end(), 0);
    std::shuffle(pairs.begin(), pairs.end(), rng_);
    std::array<int, 10> pos;
    for (int k = 0; k < 5; ++k) {
      pos[k] = (rng_() & 1) != 0 ? 9 - pairs[k] : pairs[k];
      pos[9 - k] = 9 - pos[k];
    }
    const bool transpose = (rng_() & 1) != 0;
    std::array<char, 10> relabel;
    std::iota(relabel.begin(), relabel.end(), '0');
    std::shuffle(relabel.begin(), relabel.end(), rng_);
    std::string out(100, '?');
    for (int i = 0; i < 10; ++i)
      for (int j = 0; j < 10; ++j)
        out[transpose ? pos[j] * 10 + pos[i] : pos[i] * 10 + pos[j]] =
            relabel[digits[i * 10 + j] - '0'];
    return out;
  }

 private:
  std::mt19937 rng_;
  const std::vector<std::string>* bases_;
};

/// A browsing collection of n squares (normalized, repeats counted), made once per size.
const TSquaresCollection& Collection(int n) {
  static std::vector<std::pair<int, TSquaresCollection>> made;
  for (const auto& [size, c] : made)
    if (size == n) return c;
  SquareSource source(static_cast<unsigned>(n));
  TSquaresCollection c;
  for (int i = 0; i < n; ++i) c.AddSquareString(source.Next(), true, true);
  made.emplace_back(n, std::move(c));
  return made.back().second;
}

void BM_GetCellHistograms(benchmark::State& state) {
  const TSquaresCollection& c = Collection(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(get_cell_histograms(c));
  state.SetItemsProcessed(state.iterations() * c.Count());
}
BENCHMARK(BM_GetCellHistograms)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_GetCellHistogramsByConversion(benchmark::State& state) {
  const TSquaresCollection& c = Collection(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(get_cell_histograms_by_conversion(c));
  state.SetItemsProcessed(state.iterations() * c.Count());
}
BENCHMARK(BM_GetCellHistogramsByConversion)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

#ifdef DLSLAB_HAVE_RENDERER
const std::string kPicture = (fs::temp_directory_path() / "dlslab_bench_bmp.bmp").string();

render::OffscreenRenderer& Renderer() {
  static render::OffscreenRenderer renderer;
  return renderer;
}

/// The whole command: the counts, the digits and the picture saved as a BMP file.
void BM_DrawStatisticalInfoMenuItemClick(benchmark::State& state) {
  cmd::Context ctx;
  ctx.collection.Assign(Collection(static_cast<int>(state.range(0))));
  ctx.save_statistics_bitmap = [](const CellHistograms& h, const std::string&) {
    Renderer().save_statistical_info(h, kPicture);
  };
  set_diag_stream(nullptr);
  for (auto _ : state) cmd::DrawStatisticalInfoMenuItemClick(ctx);
  fs::remove(kPicture);
  state.SetItemsProcessed(state.iterations() * ctx.collection.Count());
}
BENCHMARK(BM_DrawStatisticalInfoMenuItemClick)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond);

/// The same command the plain way: counts by conversion, then the same picture.
void BM_DrawStatisticalInfoByConversion(benchmark::State& state) {
  const TSquaresCollection& c = Collection(static_cast<int>(state.range(0)));
  set_diag_stream(nullptr);
  for (auto _ : state) {
    const CellHistograms h = get_cell_histograms_by_conversion(c);
    diag() << get_most_frequent_values(h);
    Renderer().save_statistical_info(h, kPicture);
  }
  fs::remove(kPicture);
  state.SetItemsProcessed(state.iterations() * c.Count());
}
BENCHMARK(BM_DrawStatisticalInfoByConversion)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
#endif

constexpr int kFolderFiles = 10;
constexpr int kSquaresPerFile = 100000;

/// Ten collection files of 100,000 squares, written once and removed at exit.
class BenchFolder {
 public:
  BenchFolder() : path_(fs::temp_directory_path() / "dlslab_bench_folder") {}
  ~BenchFolder() { fs::remove_all(path_); }

  const std::string& get() {
    if (!made_.empty()) return made_;
    fs::remove_all(path_);
    fs::create_directories(path_);
    SquareSource source(2026);
    for (int f = 0; f < kFolderFiles; ++f) {
      std::ofstream file(path_ / ("part" + std::to_string(f) + ".txt"), std::ios::binary);
      std::string text;
      for (int i = 0; i < kSquaresPerFile; ++i) {
        const std::string square = source.Next();
        for (int k = 0; k < 100; ++k) {
          text += square[k];
          text += ' ';
          if (k % 10 == 9) text += "\r\n";
        }
        text += "\r\n";
      }
      file << text;
    }
    made_ = path_.string() + "/";
    return made_;
  }

 private:
  fs::path path_;
  std::string made_;
};

BenchFolder folder;

/// Only the loading part of the folder search.
void BM_LoadFolderCollections(benchmark::State& state) {
  const std::string& dir = folder.get();
  set_diag_stream(nullptr);
  for (auto _ : state)
    for (int f = 0; f < kFolderFiles; ++f) {
      TSquaresCollection c;
      c.LoadFromFile_VelmoraFormat(dir + "part" + std::to_string(f) + ".txt", true, true);
      benchmark::DoNotOptimize(c.Count());
    }
  state.SetItemsProcessed(state.iterations() * kFolderFiles * kSquaresPerFile);
}
BENCHMARK(BM_LoadFolderCollections)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FindSquareInFolderMenuItemClick(benchmark::State& state) {
  const std::string& dir = folder.get();
  cmd::Context ctx;
  ctx.model.SetFirstSquare(StringToSquare(kSpecialSquares[0].digits));
  set_diag_stream(nullptr);
  for (auto _ : state) {
    cmd::FindSquareInFolderMenuItemClick(ctx, dir);
    ctx.log.Clear();
  }
  state.SetItemsProcessed(state.iterations() * kFolderFiles * kSquaresPerFile);
}
BENCHMARK(BM_FindSquareInFolderMenuItemClick)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dlslab
