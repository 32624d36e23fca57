#include "batch/block_source.h"

namespace dlslab::batch {

ChunkBounds chunk_bounds(const std::vector<std::string>& inputs, unsigned chunk, unsigned chunks) {
  SquareReader counter(inputs);
  std::uint64_t total = 0;
  InputSquare square;
  for (std::vector<InputProblem> problems; counter.next(square, problems); problems.clear())
    ++total;
  // In 128 bits: chunk * total need not fit in 64.
  const auto bound = [&](unsigned k) {
    return static_cast<std::uint64_t>(static_cast<unsigned __int128>(k) * total / chunks);
  };
  return {bound(chunk - 1), bound(chunk)};
}

BlockSource::BlockSource(std::vector<std::string> inputs, std::size_t block_size, bool strict)
    : block_size_(block_size), strict_(strict), reader_(std::move(inputs)) {}

void BlockSource::skip_done(std::uint64_t count, std::optional<Digits> last) {
  const std::lock_guard lock(mutex_);
  skip_ = count;
  skip_last_ = last;
}

void BlockSource::set_chunk(std::uint64_t before, std::uint64_t last) {
  const std::lock_guard lock(mutex_);
  chunk_before_ = before;
  chunk_last_ = last;
}

void BlockSource::set_names(std::vector<std::string> names) {
  const std::lock_guard lock(mutex_);
  names_ = std::move(names);
}

std::uint64_t BlockSource::read() const {
  const std::lock_guard lock(mutex_);
  return read_;
}

double BlockSource::fraction_read() const {
  const std::lock_guard lock(mutex_);
  return reader_.fraction_read();
}

std::string BlockSource::place(std::uint32_t source, std::uint64_t line) const {
  return (source < names_.size() ? names_[source] : reader_.source_name(source)) + ":" +
         std::to_string(line);
}

bool BlockSource::next(Block& block, std::string& error) {
  const std::lock_guard lock(mutex_);
  if (exhausted()) return false;
  block.number = next_number_.fetch_add(1, std::memory_order_relaxed);
  fill(block, error);
  return true;
}

void BlockSource::fill(Block& block, std::string& error) {
  std::vector<InputProblem> found;
  InputSquare square;
  while (block.squares.size() < block_size_) {
    found.clear();
    const bool got = reader_.next(square, found);
    if (got && read_ + 1 > chunk_last_) {
      exhausted_.store(true, std::memory_order_relaxed);
      return;
    }
    if (got && read_ + 1 <= chunk_before_) found.clear();
    for (InputProblem& p : found) block.problems.push_back({std::move(p), block.squares.size()});
    if (!found.empty() && strict_) {
      exhausted_.store(true, std::memory_order_relaxed);
      block.ends_run = true;  // the square after the problem is not taken
      return;
    }
    if (!got) {
      // A partial file with more results than the inputs have squares is not theirs.
      if (read_ < skip_)
        error = "was made from other inputs: it holds the results of " + std::to_string(skip_) +
                " squares, the inputs have " + std::to_string(read_);
      exhausted_.store(true, std::memory_order_relaxed);
      return;
    }
    const std::uint64_t index = ++read_;
    if (index <= skip_) {
      if (index == skip_ && skip_last_ && *skip_last_ != square.digits) {
        error = "was made from other inputs: its last square is not square " +
                std::to_string(index) + " (" + place(square.source, square.line) + ")";
        exhausted_.store(true, std::memory_order_relaxed);
        return;
      }
      continue;
    }
    if (block.squares.empty()) block.first_index = index;
    block.squares.push_back(square);
  }
}

}  // namespace dlslab::batch
