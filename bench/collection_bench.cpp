// Loading collection files with duplicate checks: the hash index against the plain linear scan
// on the same files, and the hash index at 100k and 1M squares to show that loading grows
// linearly. The files hold order-10 DLS: a few hundred random DLS and the embedded squares,
// each moved by a random diagonal-preserving row/column permutation, maybe transposed and
// relabelled, with about one square in ten repeating a recent one.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "collection/squares_collection.h"
#include "fill/heuristic_fill.h"
#include "model/diagnostics.h"
#include "model/latin_square_class.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "model/square_catalogue.h"

namespace dlslab {
namespace {

constexpr int kRandomBases = 300;

std::vector<std::string> BaseSquares() {
  std::vector<std::string> bases;
  for (const SpecialSquare& s : kSpecialSquares) bases.emplace_back(s.digits);
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  RandSeed = 12345;
  while (static_cast<int>(bases.size()) < 20 + kRandomBases) {
    RandomFillV2(model);
    if (model.GetEmptyCellsCount() == 0) bases.push_back(SquareToString(model.FirstSquare, false));
  }
  return bases;
}

std::string Variant(const std::string& digits, std::mt19937& rng) {
  std::array<int, 5> pairs;
  std::iota(pairs.begin(), pairs.end(), 0);
  std::shuffle(pairs.begin(), pairs.end(), rng);
  std::array<int, 10> pos;
  for (int k = 0; k < 5; ++k) {
    pos[k] = (rng() & 1) != 0 ? 9 - pairs[k] : pairs[k];
    pos[9 - k] = 9 - pos[k];
  }
  const bool transpose = (rng() & 1) != 0;
  std::array<char, 10> relabel;
  std::iota(relabel.begin(), relabel.end(), '0');
  std::shuffle(relabel.begin(), relabel.end(), rng);
  std::string out(100, '?');
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) {
      const int cell = transpose ? pos[j] * 10 + pos[i] : pos[i] * 10 + pos[j];
      out[cell] = relabel[digits[i * 10 + j] - '0'];
    }
  return out;
}

/// Files are made once per run and removed at exit.
class BenchFiles {
 public:
  ~BenchFiles() {
    for (const auto& [n, path] : paths_) std::filesystem::remove(path);
  }

  const std::string& get(int n) {
    auto it = paths_.find(n);
    if (it != paths_.end()) return it->second;
    if (bases_.empty()) bases_ = BaseSquares();
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("dlslab_bench_collection_" + std::to_string(n) + ".txt"))
                                 .string();
    std::mt19937 rng(static_cast<unsigned>(n));
    std::vector<std::string> recent;
    std::string text;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < n; ++i) {
      std::string square;
      if (!recent.empty() && rng() % 10 == 0)
        square = recent[rng() % recent.size()];
      else
        square = Variant(bases_[rng() % bases_.size()], rng);
      if (recent.size() < 1000)
        recent.push_back(square);
      else
        recent[rng() % recent.size()] = square;
      for (int k = 0; k < 100; ++k) {
        text += square[k];
        text += ' ';
        if (k % 10 == 9) text += "\r\n";
      }
      text += "\r\n";
      if (text.size() > (1 << 20)) {
        file << text;
        text.clear();
      }
    }
    file << text;
    return paths_.emplace(n, path).first->second;
  }

 private:
  std::vector<std::string> bases_;
  std::map<int, std::string> paths_;
};

BenchFiles files;

void Load(benchmark::State& state, TSquaresCollection::Lookup lookup) {
  const int n = static_cast<int>(state.range(0));
  const std::string& path = files.get(n);
  set_diag_stream(nullptr);
  int distinct = 0;
  for (auto _ : state) {
    // Every load starts cold, as in a fresh process: the previous collection's memory goes
    // back to the system first, so the new one pays its page faults like the first load does.
    state.PauseTiming();
    auto collection = std::make_unique<TSquaresCollection>(lookup);
    malloc_trim(0);
    state.ResumeTiming();
    collection->LoadFromFile_VelmoraFormat(path, true, true);
    distinct = collection->Count();
    benchmark::DoNotOptimize(distinct);
    state.PauseTiming();
    collection.reset();
    state.ResumeTiming();
  }
  state.counters["distinct"] = distinct;
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_LoadCollectionLinear(benchmark::State& state) {
  Load(state, TSquaresCollection::Lookup::kLinear);
}
BENCHMARK(BM_LoadCollectionLinear)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_LoadCollection(benchmark::State& state) {
  Load(state, TSquaresCollection::Lookup::kHashed);
}
BENCHMARK(BM_LoadCollection)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_SaveCollection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TSquaresCollection collection;
  set_diag_stream(nullptr);
  collection.LoadFromFile_VelmoraFormat(files.get(n), false, false);
  const std::string path =
      (std::filesystem::temp_directory_path() / "dlslab_bench_collection_saved.txt").string();
  for (auto _ : state) collection.SaveToFile(path);
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_SaveCollection)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dlslab
