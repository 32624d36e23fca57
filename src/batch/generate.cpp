#include "batch/generate.h"

#include <algorithm>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "fill/heuristic_fill.h"
#include "model/latin_square_class.h"
#include "model/ls_data_structs.h"
#include "model/random.h"

namespace dlslab::batch {
namespace {

constexpr int kMaxAttempts = 1000;
constexpr std::uint64_t kChunk = 2048;

std::string Chunk(std::uint64_t first, std::uint64_t count, std::uint32_t seed) {
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  std::string text;
  text.reserve(count * (kOrder * kOrder + 1));
  for (std::uint64_t i = first; i < first + count; ++i) {
    RandSeed = seed + static_cast<std::uint32_t>(i);
    do {
      for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        RandomFillV2(model);
        if (model.GetEmptyCellsCount() == 0) break;
      }
    } while (model.GetEmptyCellsCount() != 0);
    text += SquareToString(model.FirstSquare, false);
    text += '\n';
  }
  return text;
}

}  // namespace

TLatinSquare RandomSearchV3Square(std::uint32_t seed) {
  const std::string line = Chunk(0, 1, seed);
  return StringToSquare(std::string_view(line).substr(0, kOrder * kOrder));
}

std::uint64_t GenerateSquares(std::uint64_t count, std::uint32_t seed, unsigned threads,
                              const std::function<bool(std::string_view)>& write,
                              const std::atomic<bool>& stop) {
  threads = std::max(1u, threads);
  // Chunks run as tasks, at most two per thread ahead of the one being written.
  std::vector<std::future<std::string>> running;
  std::uint64_t next = 0;
  std::uint64_t written = 0;
  std::size_t head = 0;
  auto launch = [&] {
    const std::uint64_t n = std::min(kChunk, count - next);
    running.push_back(std::async(std::launch::async, Chunk, next, n, seed));
    next += n;
  };
  while (next < count && running.size() - head < 2 * threads) launch();
  while (head < running.size()) {
    const std::string text = running[head].get();
    running[head] = {};
    ++head;
    if (stop.load() || !write(text)) break;
    written += text.size() / (kOrder * kOrder + 1);
    while (next < count && running.size() - head < 2 * threads) launch();
  }
  for (; head < running.size(); ++head) running[head].wait();
  return written;
}

}  // namespace dlslab::batch
