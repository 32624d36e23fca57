// The search is the batch pipeline over squares that a generator makes (or that files hold):
//
//   positions --(blocks)--> workers: square, mates, canonical form --(hits)--> ordered output
//
// A block is a run of consecutive positions (seeds first + i, or input squares). Workers
// check whole blocks without any lock; the ordered output hands the blocks to the writer in
// position order (ordered_output.h), which appends the hit lines to "<output>.partial".
//
// Checkpoints: every checkpoint_seconds, at a block boundary, the writer flushes the partial
// file to disk and then replaces "<output>.checkpoint" (atomically) with the header, the
// position reached, the partial file's length at that point and the counts. A resume cuts the
// partial file back to that length, reads the forms of its hits back, and starts at that
// position: whatever was written after the last checkpoint is written again, the same bytes.
// Without a checkpoint file the run starts from the beginning.
//
// Output: the header (search_header), a column line, one line per hit, and an end line
// "# end checked=C hits=H" once the unit is complete; the file is renamed into place then.
#include "batch/search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>

#include "batch/block_source.h"
#include "batch/form_set.h"
#include "batch/operations.h"
#include "batch/ordered_output.h"
#include "batch/partial_files.h"
#include "batch/run_stop.h"
#include "batch/square_generator.h"
#include "batch/worker_pool.h"
#include "canon/canonical_forms.h"
#include "cover/odls.h"
#include "model/diagnostics.h"
#include "model/file_output.h"
#include "model/ls_data_structs.h"
#include "model/parse_number.h"

namespace dlslab::batch {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCells = kOrder * kOrder;
constexpr std::uint64_t kBlock = 256;  // positions per block

Digits to_digits(const TLatinSquare& square) {
  Digits digits{};
  for (int i = 0; i < kCells; ++i) digits[i] = static_cast<char>('0' + square.data()[i]);
  return digits;
}

// "key=value" out of a line of blank-separated fields.
bool field(std::string_view line, std::string_view key, std::uint64_t& value) {
  const std::string pattern = " " + std::string(key) + "=";
  const std::size_t at = (" " + std::string(line)).find(pattern);
  if (at == std::string::npos) return false;
  std::string_view rest = line.substr(at + pattern.size() - 1);
  rest = rest.substr(0, rest.find(' '));
  return read_number(rest, value);
}

struct SearchBlock {
  std::uint64_t number = 0;
  std::uint64_t first = 0;            // position of the block's first square
  std::uint64_t size = 0;             // positions in the block
  std::uint64_t done = 0;             // positions checked
  std::uint64_t skipped = 0;          // unreadable input and squares that are no DLS
  std::uint64_t rejected = 0;         // of the positions done, squares that are no DLS
  std::vector<Digits> forms;          // of the hits, in order
  std::string text;                   // the hit lines
  std::vector<std::string> messages;  // about input squares skipped
  std::string last_place;
};

// What one thread checks squares with.
struct Checker {
  OdlsSearch odls;
  CanonEngine canon;
  std::unique_ptr<SquareGenerator> generator;
  TLatinSquare square{kOrder};

  // Appends the hit line of `square` when it has mates; returns its form then.
  bool check(const std::string& place, std::string& text, Digits& form) {
    const TOrthogonalSquares mates = odls.GetOdls(square);
    if (mates.Count() == 0) return false;
    form = to_digits(canon.GetCanonicalForm(square));
    const Digits digits = to_digits(square);
    text += place;
    text += '\t';
    text.append(digits.data(), digits.size());
    text += '\t';
    text += std::to_string(mates.Count());
    text += '\t';
    text.append(form.data(), form.size());
    text += '\t';
    for (int i = 0; i < mates.Count(); ++i) {
      if (i > 0) text += ' ';
      const Digits mate = to_digits(mates.Squares[i]);
      text.append(mate.data(), mate.size());
    }
    text += '\n';
    return true;
  }
};

class Search {
 public:
  Search(const SearchUnit& unit, const SearchOptions& options, std::ostream& out,
         Reporter& reporter, const std::atomic<bool>& stop)
      : unit_(unit),
        options_(options),
        out_(out),
        reporter_(reporter),
        external_stop_(stop),
        header_(search_header(unit)),
        pool_(options.threads),
        output_([this](SearchBlock& block) { emit(block); }),
        stop_(stop, [this] {
          pool_.cancel_all();
          output_.wake_all();
        }) {
    if (!unit.inputs.empty()) {
      source_ = std::make_unique<BlockSource>(unit.inputs, kBlock, false);
      source_->set_names(unit.input_names);
    }
  }

  SearchSummary execute();

 private:
  bool prepare();
  bool resume_from(const std::string& partial_name);
  void worker();
  bool next_block(SearchBlock& block);
  void emit(SearchBlock& block);
  void checkpoint();
  bool write_out(std::string_view bytes);
  void show_progress();
  [[nodiscard]] std::string partial_name() const { return options_.output + ".partial"; }
  [[nodiscard]] std::string checkpoint_name() const { return options_.output + ".checkpoint"; }

  const SearchUnit& unit_;
  const SearchOptions& options_;
  std::ostream& out_;
  Reporter& reporter_;
  const std::atomic<bool>& external_stop_;
  const std::string header_;
  const GeneratorInfo* generator_ = nullptr;
  std::unique_ptr<BlockSource> source_;  // --input
  WorkerPool pool_;
  OrderedOutput<SearchBlock> output_;
  RunStop stop_;
  std::unique_ptr<PartialFileWriter> file_;
  Clock::time_point start_;
  Clock::time_point last_checkpoint_;

  std::uint64_t start_position_ = 0;           // where this run begins
  std::uint64_t chunk_before_ = 0;             // input squares of the chunks before this one
  std::uint64_t chunk_size_ = 0;               // squares of this chunk; 0: no chunk
  std::atomic<std::uint64_t> next_number_{0};  // generator blocks handed out

  // Changed by the writer only.
  std::uint64_t position_ = 0;  // squares (positions) written out
  std::uint64_t bytes_ = 0;     // length of the partial file
  bool emission_stopped_ = false;
  FormSet forms_;
  SearchSummary summary_;

  std::atomic<std::uint64_t> processed_{0};
};

bool Search::prepare() {
  if (unit_.inputs.empty()) {
    generator_ = find_square_generator(unit_.generator);
    if (generator_ == nullptr) {
      stop_.fail("no generator \"" + unit_.generator + "\"");
      return false;
    }
    if (unit_.first > generator_->seed_count ||
        unit_.count > generator_->seed_count - unit_.first) {
      stop_.fail("generator " + unit_.generator + " has seeds 0 to " +
                 std::to_string(generator_->seed_count - 1) + " only");
      return false;
    }
  } else if (unit_.chunks > 0) {
    const ChunkBounds chunk = chunk_bounds(unit_.inputs, unit_.chunk, unit_.chunks);
    chunk_before_ = chunk.before;
    chunk_size_ = chunk.last - chunk.before;
    source_->set_chunk(chunk.before, chunk.last);
    source_->skip_done(chunk.before, std::nullopt);
    if (options_.progress != nullptr) options_.progress->begin("search", chunk.last - chunk.before);
  }
  const std::string column_line =
      std::string(unit_.inputs.empty() ? "seed" : "input") + "\tsquare\tmates\tcf\tmate squares\n";
  if (options_.output.empty()) {
    summary_.output_name = "standard output";
    return write_out(header_ + "\n" + column_line);
  }
  summary_.output_name = partial_name();
  bool append = false;
  if (options_.resume) {
    std::error_code ec;
    if (!std::filesystem::exists(partial_name())) {
      reporter_.line("dlslab-cli: search: no " + partial_name() +
                     " to resume from; starting from the beginning");
    } else if (!std::filesystem::exists(checkpoint_name())) {
      reporter_.line("dlslab-cli: search: " + partial_name() +
                     " has no checkpoint yet; starting from the beginning");
    } else {
      if (!resume_from(partial_name())) return false;
      append = true;
    }
  }
  std::error_code ec;
  if (!append) std::filesystem::remove(checkpoint_name(), ec);
  file_ = std::make_unique<PartialFileWriter>(
      options_.output,
      append ? PartialFileWriter::Mode::kAppend : PartialFileWriter::Mode::kTruncate);
  if (!file_->ok()) {
    stop_.fail("cannot write " + partial_name() + ": " + file_->error());
    return false;
  }
  if (!append && !write_out(header_ + "\n" + column_line)) return false;
  // Also a run that stops at once can be resumed without starting over.
  last_checkpoint_ = Clock::now();
  checkpoint();
  return !stop_.failed();
}

bool Search::resume_from(const std::string& name) {
  std::ifstream checkpoint(checkpoint_name(), std::ios::binary);
  std::string saved_header;
  std::string counts;
  std::getline(checkpoint, saved_header);
  std::getline(checkpoint, counts);
  std::uint64_t position = 0, bytes = 0, hits = 0, checked = 0, skipped = 0;
  if (saved_header != header_) {
    stop_.fail(name + " is the output of another search (" + saved_header + "), not of this one (" +
               header_ + ")");
    return false;
  }
  if (!field(counts, "position", position) || !field(counts, "bytes", bytes) ||
      !field(counts, "hits", hits) || !field(counts, "checked", checked) ||
      !field(counts, "skipped", skipped)) {
    stop_.fail(checkpoint_name() + " is damaged");
    return false;
  }
  std::error_code ec;
  if (std::filesystem::file_size(name, ec) < bytes || ec) {
    stop_.fail(name + " is shorter than its checkpoint says; it cannot be resumed");
    return false;
  }
  std::filesystem::resize_file(name, bytes, ec);
  if (ec) {
    stop_.fail("cannot cut " + name + ": " + ec.message());
    return false;
  }
  // The forms of the hits so far, in order, from their lines.
  std::ifstream in(name, std::ios::binary);
  std::string line;
  std::uint64_t lines = 0;
  for (int skip = 0; skip < 2 && std::getline(in, line); ++skip) {
  }
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    std::size_t at = tab;
    for (int k = 0; k < 2 && at != std::string::npos; ++k) at = line.find('\t', at + 1);
    if (at == std::string::npos || line.size() < at + 1 + kCells) {
      stop_.fail(name + " is damaged at hit " + std::to_string(lines + 1));
      return false;
    }
    Digits form{};
    std::copy_n(line.data() + at + 1, kCells, form.begin());
    forms_.add(form, FormSet::hash(form));
    ++lines;
  }
  if (lines != hits) {
    stop_.fail(name + " holds " + std::to_string(lines) + " hits, its checkpoint " +
               std::to_string(hits));
    return false;
  }
  start_position_ = position;
  position_ = position;
  bytes_ = bytes;
  summary_.hits = hits;
  summary_.checked = checked;
  summary_.skipped = skipped;
  summary_.resumed = position;
  if (source_) source_->skip_done(chunk_before_ + position, std::nullopt);
  return true;
}

void Search::checkpoint() {
  if (!file_ || stop_.failed()) return;
  if (!file_->flush()) {
    stop_.fail("cannot write " + partial_name() + ": " + file_->error());
    return;
  }
  const std::string text =
      header_ + "\nposition=" + std::to_string(position_) + " bytes=" + std::to_string(bytes_) +
      " hits=" + std::to_string(summary_.hits) + " checked=" + std::to_string(summary_.checked) +
      " skipped=" + std::to_string(summary_.skipped) + "\n";
  try {
    write_file_atomically(checkpoint_name(), text);
  } catch (const std::exception& e) {
    stop_.fail(e.what());
  }
  last_checkpoint_ = Clock::now();
}

bool Search::write_out(std::string_view bytes) {
  if (file_) {
    if (!file_->write(bytes)) stop_.fail("cannot write " + partial_name() + ": " + file_->error());
  } else {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) stop_.fail("cannot write the output");
  }
  bytes_ += bytes.size();
  return !stop_.failed();
}

bool Search::next_block(SearchBlock& block) {
  if (source_) {
    Block input;
    std::string error;
    if (!source_->next(input, error)) return false;
    block.number = input.number;
    block.first = input.first_index == 0 ? 0 : input.first_index - 1;
    block.size = input.squares.size();
    for (const Block::Problem& p : input.problems) {
      ++block.skipped;
      block.messages.push_back("dlslab-cli: " + source_->place(p.problem.source, p.problem.line) +
                               ": " + p.problem.what + "; skipped");
    }
    // The squares themselves travel in the block's text until checked.
    for (const InputSquare& square : input.squares) {
      block.text.append(square.digits.data(), square.digits.size());
      block.text += source_->place(square.source, square.line);
      block.text += '\n';
    }
    return true;
  }
  const std::uint64_t number = next_number_.fetch_add(1, std::memory_order_relaxed);
  const std::uint64_t first = start_position_ + number * kBlock;
  if (first >= unit_.count) return false;
  block.number = number;
  block.first = first;
  block.size = std::min(kBlock, unit_.count - std::min(first, unit_.count));
  return true;
}

void Search::worker() {
  std::ostringstream diag;
  const DiagScope diag_scope(&diag);
  Checker checker;
  if (generator_ != nullptr) checker.generator = generator_->make();
  for (;;) {
    const std::uint64_t next = source_ ? source_->next_number() : next_number_.load();
    if (!output_.wait_for_room(next, 2 * pool_.size() + 2, [this] { return stop_.stopping(); }) ||
        stop_.stopping())
      break;
    SearchBlock block;
    if (!next_block(block)) break;
    std::string inputs;
    inputs.swap(block.text);
    std::string_view rest(inputs);
    Digits form{};
    try {
      for (; block.done < block.size; ++block.done) {
        if (stop_.stopping()) break;
        std::string place;
        if (source_) {
          const std::size_t end = rest.find('\n');
          const std::string_view entry = rest.substr(0, end);
          rest.remove_prefix(end + 1);
          Digits digits{};
          std::copy_n(entry.data(), kCells, digits.begin());
          place = std::string(entry.substr(kCells));
          checker.square = digits_to_square(digits);
          if (!IsFilled(checker.square) || !IsDiagonalLatin(checker.square)) {
            ++block.skipped;
            ++block.rejected;
            block.messages.push_back("dlslab-cli: " + place +
                                     ": not a complete diagonal Latin square; skipped");
            block.last_place = place;
            continue;
          }
        } else {
          const std::uint64_t seed = unit_.first + block.first + block.done;
          checker.generator->square(seed, checker.square);
          place = std::to_string(seed);
        }
        if (checker.check(place, block.text, form)) block.forms.push_back(form);
        block.last_place = place;
        processed_.fetch_add(1, std::memory_order_relaxed);
      }
    } catch (const Cancelled&) {
    } catch (const std::exception& e) {
      stop_.fail(e.what());
    }
    diag.str("");
    output_.submit(block.number, std::move(block));
  }
}

void Search::emit(SearchBlock& block) {
  if (emission_stopped_) return;
  if (stop_.failed() || (!source_ && block.first != position_)) {
    emission_stopped_ = true;
    return;
  }
  // A block cut short by a stop ends the output at its last whole square; its hits so far
  // are whole lines too.
  for (const std::string& message : block.messages) reporter_.line(message);
  if (!block.text.empty() && !write_out(block.text)) {
    emission_stopped_ = true;
    return;
  }
  const std::uint64_t hits = block.forms.size();
  for (const Digits& form : block.forms) forms_.add(form, FormSet::hash(form));
  if (options_.on_hit) {
    std::string_view rest(block.text);
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      const std::string_view line = rest.substr(0, end + 1);
      options_.on_hit(SearchHit{std::string(line.substr(0, line.find('\t'))), std::string(line)});
      rest.remove_prefix(line.size());
    }
  }
  summary_.hits += hits;
  summary_.skipped += block.skipped;
  summary_.checked += block.done - block.rejected;
  position_ += block.done;
  if (block.done < block.size) {
    emission_stopped_ = true;
  } else if (file_ && Clock::now() - last_checkpoint_ >=
                          std::chrono::duration<double>(options_.checkpoint_seconds)) {
    checkpoint();
  }
  if (options_.progress != nullptr) options_.progress->set(position_);
}

void Search::show_progress() {
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  const std::uint64_t done = processed_.load(std::memory_order_relaxed);
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  std::string text = "search: " + std::to_string(done + start_position_) + " squares, " +
                     std::to_string(static_cast<long long>(rate + 0.5)) + "/s";
  // The share of this run's work done so far.
  const std::uint64_t size = source_ ? chunk_size_ : unit_.count;
  const double share =
      source_ && size == 0
          ? source_->fraction_read()
          : static_cast<double>(done) /
                static_cast<double>(std::max<std::uint64_t>(1, size - std::min(size, start_position_)));
  if (share > 0.001 && done > 0)
    text += ", " + format_duration(seconds * (1 - share) / share) + " left";
  reporter_.progress(text);
}

SearchSummary Search::execute() {
  start_ = Clock::now();
  if (options_.progress != nullptr)
    options_.progress->begin("search", unit_.inputs.empty() ? unit_.count : 0);
  if (prepare()) {
    const auto refresh = std::chrono::milliseconds(
        reporter_.mode() == Reporter::ProgressMode::kTerminal ? 250 : 1000);
    pool_.run([this] { worker(); },
              [this] {
                return external_stop_.load() ||
                       (options_.progress != nullptr && options_.progress->cancel_requested());
              },
              [this] { stop_.request(); }, refresh,
              reporter_.mode() == Reporter::ProgressMode::kNone ? std::function<void()>()
                                                                : [this] { show_progress(); });
    reporter_.end_progress();
  }
  const bool complete = !stop_.failed() && !emission_stopped_ &&
                        (source_ ? source_->exhausted() : position_ == unit_.count);
  summary_.forms = forms_.size();
  if (complete) {
    write_out("# end checked=" + std::to_string(summary_.checked) +
              " hits=" + std::to_string(summary_.hits) + "\n");
    if (!options_.forms.empty() && !stop_.failed()) {
      AtomicFileWriter forms(options_.forms);
      write_forms(Operation::kCf, false, forms_,
                  [&forms](std::string_view piece) { return forms.write(piece); });
      if (!forms.commit()) stop_.fail("cannot write " + options_.forms + ": " + forms.error());
    }
    if (file_ && !stop_.failed()) {
      if (!file_->finish()) {
        stop_.fail("cannot write " + options_.output + ": " + file_->error());
      } else {
        std::error_code ec;
        std::filesystem::remove(checkpoint_name(), ec);
        summary_.output_name = options_.output;
      }
    }
  } else if (file_) {
    checkpoint();  // where a resume takes up the work
  }
  if (!file_) out_.flush();
  summary_.seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  if (stop_.failed()) {
    summary_.end = SearchSummary::End::kFailed;
    summary_.error = stop_.error();
  } else if (!complete) {
    summary_.end = SearchSummary::End::kInterrupted;
  }
  return summary_;
}

}  // namespace

std::string search_header(const SearchUnit& unit) {
  std::string header = "# dlslab search";
  if (unit.inputs.empty()) {
    header += " generator=" + unit.generator + " seeds=" + std::to_string(unit.first) + ":" +
              std::to_string(unit.count);
  } else {
    header += " input=";
    for (std::size_t i = 0; i < unit.inputs.size(); ++i)
      header += (i > 0 ? " " : "") +
                (i < unit.input_names.size() ? unit.input_names[i] : unit.inputs[i]);
    // One chunk of one is the whole input, and says so as the unchunked search does.
    if (unit.chunks > 1)
      header += " chunk=" + std::to_string(unit.chunk) + "/" + std::to_string(unit.chunks);
  }
  return header;
}

SearchSummary run_search(const SearchUnit& unit, const SearchOptions& options, std::ostream& out,
                         Reporter& reporter, const std::atomic<bool>& stop) {
  Search search(unit, options, out, reporter, stop);
  return search.execute();
}

std::string search_summary_line(const SearchUnit& unit, const SearchSummary& summary) {
  const std::uint64_t checked_now = summary.checked - std::min(summary.checked, summary.resumed);
  char figures[80];
  std::snprintf(figures, sizeof figures, "%.2f s, %.0f squares/s", summary.seconds,
                summary.seconds > 0 ? static_cast<double>(checked_now) / summary.seconds : 0.0);
  std::string line =
      "search (" + search_header(unit).substr(std::string("# dlslab search ").size()) + "): ";
  if (summary.end == SearchSummary::End::kInterrupted) line += "interrupted; ";
  if (summary.end == SearchSummary::End::kFailed) line += "failed: " + summary.error + "; ";
  line += std::to_string(summary.checked) + " squares checked, " + std::to_string(summary.hits) +
          " hits, " + std::to_string(summary.forms) + " distinct forms, " + figures;
  if (summary.skipped > 0) line += "; " + std::to_string(summary.skipped) + " skipped";
  if (summary.resumed > 0)
    line += "; resumed after " + std::to_string(summary.resumed) + " squares";
  if (summary.end == SearchSummary::End::kInterrupted && summary.output_name != "standard output")
    line += "; " + summary.output_name + " holds the hits so far; --resume continues it";
  return line;
}

}  // namespace dlslab::batch
