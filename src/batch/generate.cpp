#include "batch/generate.h"

#include <algorithm>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "fill/random_search_v3.h"
#include "model/isa_path.h"

namespace dlslab::batch {
namespace {

constexpr std::uint64_t kChunk = 2048;

std::string chunk(std::uint64_t first, std::uint64_t count, std::uint32_t seed) {
  const IsaPath path = default_isa_path();
  std::string text;
  text.reserve(count * (kOrder * kOrder + 1));
  for (std::uint64_t i = first; i < first + count; ++i) {
    const TLatinSquare square = random_search_v3_square(seed + static_cast<std::uint32_t>(i), path);
    for (int cell = 0; cell < kOrder * kOrder; ++cell)
      text += static_cast<char>('0' + square.data()[cell]);
    text += '\n';
  }
  return text;
}

}  // namespace

std::uint64_t generate_squares(std::uint64_t count, std::uint32_t seed, unsigned threads,
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
    running.push_back(std::async(std::launch::async, chunk, next, n, seed));
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
