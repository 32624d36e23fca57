// A batch run is a pipeline of three stages over blocks of squares:
//
//   block source --(blocks, numbered)--> workers, one engine each --(results)--> ordered output
//
// A worker takes the next block from the source (a few hundred squares, fewer for slow
// operations; the source reads for one worker at a time, so the numbers follow the input),
// then computes its results without any lock and hands the block to the ordered output, which
// writes the blocks in number order, outside its lock (ordered_output.h). So the output is in
// input order for any thread count, and at most a few blocks per thread are held at once: a
// worker waits before reading when the writer lags that far behind.
//
// A stop request ends each worker at its next square; a block handed in short marks the end of
// the output, so the output always ends at a square boundary, and nothing after the first
// unfinished square is written.
#include "batch/batch_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sstream>

#include "batch/block_source.h"
#include "batch/form_set.h"
#include "batch/ordered_output.h"
#include "batch/partial_files.h"
#include "batch/run_stop.h"
#include "batch/worker_pool.h"
#include "model/diagnostics.h"
#include "model/file_output.h"
#include "model/progress.h"

namespace dlslab::batch {
namespace {

using Clock = std::chrono::steady_clock;

std::size_t default_block_size(Operation operation) {
  switch (operation) {
    case Operation::kValidate:
      return 4096;
    case Operation::kCf:
    case Operation::kScf:
    case Operation::kProperties:
      return 256;
    case Operation::kOdls:
    case Operation::kTransversals:
      return 64;
    case Operation::kType:
    case Operation::kFillings:
      return 8;
  }
  return 64;
}

class Run {
 public:
  Run(const BatchOptions& options, std::ostream& out, Reporter& reporter,
      const std::atomic<bool>& stop)
      : options_(options),
        out_(out),
        reporter_(reporter),
        external_stop_(stop),
        dedup_(is_deduplicating(options.operation)),
        tsv_(options.format == OutputFormat::kTsv ||
             (options.format == OutputFormat::kDefault && !dedup_)),
        block_size_(options.block_size > 0 ? options.block_size
                                           : default_block_size(options.operation)),
        source_(options.inputs, block_size_, options.strict),
        pool_(options.threads),
        output_([this](Block& block) { emit(block); }),
        stop_(stop, [this] {
          pool_.cancel_all();
          output_.wake_all();
        }) {}

  BatchSummary execute();

 private:
  bool prepare();
  void worker();
  void process(Block& block, OperationEngine& engine, std::ostringstream& diag);
  void emit(Block& block);
  bool write_out(std::string_view bytes);
  void show_progress();

  const BatchOptions& options_;
  std::ostream& out_;
  Reporter& reporter_;
  const std::atomic<bool>& external_stop_;
  const bool dedup_;
  const bool tsv_;
  const std::size_t block_size_;
  std::uint64_t window_ = 4;                      // blocks a worker may start ahead of the writer
  std::unique_ptr<PartialFileWriter> file_;       // one line per square
  std::unique_ptr<AtomicFileWriter> forms_file_;  // cf, scf
  Clock::time_point start_;
  std::uint64_t resume_skip_ = 0;
  std::uint64_t chunk_before_ = 0;  // squares of the chunks before this one

  BlockSource source_;
  WorkerPool pool_;
  OrderedOutput<Block> output_;
  RunStop stop_;

  // Changed only by the one thread writing at a time (emit), read once the workers are done.
  bool emission_stopped_ = false;
  bool strict_stop_ = false;
  FormSet forms_;
  BatchSummary summary_;

  std::atomic<std::uint64_t> processed_{0};
};

bool Run::prepare() {
  const std::string& output = options_.output;
  summary_.output_name = output.empty() ? "standard output" : output + ".partial";
  if (options_.chunks > 0) {
    const ChunkBounds chunk = chunk_bounds(options_.inputs, options_.chunk, options_.chunks);
    chunk_before_ = chunk.before;
    source_.set_chunk(chunk.before, chunk.last);
    source_.skip_done(chunk_before_, std::nullopt);
  }
  if (output.empty()) {
    if (tsv_ && !dedup_) write_out(std::string(tsv_header(options_.operation)) + '\n');
    return !stop_.failed();
  }
  const std::string partial_name = output + ".partial";
  bool append = false;
  if (options_.resume) {
    if (!std::filesystem::exists(partial_name)) {
      reporter_.line("dlslab-cli: batch: no " + partial_name + " to resume from; starting anew");
    } else if (dedup_) {
      std::string error;
      resume_skip_ = load_forms_partial(partial_name, tsv_, options_.operation, forms_, error);
      if (!error.empty()) {
        stop_.fail(error);
        return false;
      }
      source_.skip_done(chunk_before_ + resume_skip_, std::nullopt);
      append = true;
    } else {
      const TsvPartial partial =
          scan_tsv_partial(partial_name, tsv_header(options_.operation), chunk_before_ + 1);
      if (!partial.error.empty()) {
        stop_.fail(partial.error);
        return false;
      }
      std::error_code ec;
      std::filesystem::resize_file(partial_name, partial.keep_bytes, ec);
      if (ec) {
        stop_.fail("cannot cut " + partial_name + ": " + ec.message());
        return false;
      }
      resume_skip_ = partial.done;
      source_.skip_done(chunk_before_ + partial.done, partial.last);
      append = partial.keep_bytes > 0;
    }
  }
  summary_.resumed = resume_skip_;
  summary_.done = resume_skip_;
  if (dedup_) {
    // An index sized for the input at once: no rehashing while the forms pile up.
    forms_.reserve(std::min<std::uint64_t>(source_.total_bytes() / (kOrder * kOrder + 1), 1 << 22));
    // The forms are only written at the end, whole: a partial file is replaced at once, so a
    // run killed while writing it leaves the one it resumed from. Opened now, so that an
    // unwritable folder shows before the work rather than after it.
    forms_file_ = std::make_unique<AtomicFileWriter>(partial_name);
    if (!forms_file_->ok()) {
      stop_.fail("cannot write " + partial_name + ": " + forms_file_->error());
      return false;
    }
    return true;
  }
  file_ = std::make_unique<PartialFileWriter>(
      output, append ? PartialFileWriter::Mode::kAppend : PartialFileWriter::Mode::kTruncate);
  if (!file_->ok()) {
    stop_.fail("cannot write " + partial_name + ": " + file_->error());
    return false;
  }
  if (!append) write_out(std::string(tsv_header(options_.operation)) + '\n');
  return !stop_.failed();
}

// Called by the writer only (or before the workers start), so the files need no lock.
bool Run::write_out(std::string_view bytes) {
  if (forms_file_) {
    if (!forms_file_->write(bytes))
      stop_.fail("cannot write " + options_.output + ".partial: " + forms_file_->error());
  } else if (file_) {
    if (!file_->write(bytes))
      stop_.fail("cannot write " + file_->partial_name() + ": " + file_->error());
  } else {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) stop_.fail("cannot write the output");
  }
  return !stop_.failed();
}

void Run::process(Block& block, OperationEngine& engine, std::ostringstream& diag) {
  for (const InputSquare& square : block.squares) {
    if (stop_.stopping()) return;
    const std::size_t text_size = block.text.size();
    try {
      if (dedup_) {
        block.forms.push_back(engine.form(square.digits));
        block.hashes.push_back(FormSet::hash(block.forms.back()));
      } else {
        engine.append_line(block.first_index + block.done, square.digits, block.text);
      }
    } catch (const Cancelled&) {
      block.text.resize(text_size);
      return;
    } catch (const std::exception& e) {
      block.text.resize(text_size);
      stop_.fail(source_.place(square.source, square.line) + ": " + e.what());
      return;
    }
    if (diag.tellp() > 0) {
      // What an engine had to say goes out with the square it was about.
      std::istringstream lines(diag.str());
      for (std::string line; std::getline(lines, line);)
        reporter_.line(source_.place(square.source, square.line) + ": " + line);
      diag.str("");
    }
    ++block.done;
    processed_.fetch_add(1, std::memory_order_relaxed);
  }
}

void Run::worker() {
  std::ostringstream diag;
  const DiagScope diag_scope(&diag);
  OperationEngine engine(options_.operation);
  for (;;) {
    if (!output_.wait_for_room(source_.next_number(), window_,
                               [this] { return stop_.stopping(); }) ||
        stop_.stopping())
      break;
    Block block;
    block.squares.reserve(block_size_);
    if (dedup_) {
      block.forms.reserve(block_size_);
      block.hashes.reserve(block_size_);
    }
    std::string error;
    if (!source_.next(block, error)) break;
    if (!error.empty()) stop_.fail(options_.output + ".partial " + error);
    process(block, engine, diag);
    output_.submit(block.number, std::move(block));
  }
}

void Run::emit(Block& block) {
  if (emission_stopped_) return;
  if (stop_.failed()) {
    emission_stopped_ = true;
    return;
  }
  for (const Block::Problem& p : block.problems) {
    if (p.before > block.done) break;
    ++summary_.skipped;
    reporter_.line("dlslab-cli: " + source_.place(p.problem.source, p.problem.line) + ": " +
                   p.problem.what + (options_.strict ? "" : "; skipped"));
  }
  if (dedup_) {
    for (std::size_t i = 0; i < block.done; ++i) forms_.add(block.forms[i], block.hashes[i]);
  } else if (!block.text.empty() && !write_out(block.text)) {
    emission_stopped_ = true;
    return;
  }
  summary_.done += block.done;
  if (!dedup_) summary_.results += block.done;
  if (block.done > 0) {
    const InputSquare& last = block.squares[block.done - 1];
    summary_.last_place = source_.place(last.source, last.line);
  }
  if (block.done < block.squares.size()) {
    emission_stopped_ = true;  // nothing after the first unfinished square
  } else if (block.ends_run) {
    emission_stopped_ = true;
    strict_stop_ = true;
    stop_.request();
  }
}

void Run::show_progress() {
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  const std::uint64_t done = processed_.load(std::memory_order_relaxed);
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  std::string text = "batch " + std::string(operation_name(options_.operation)) + ": " +
                     std::to_string(done + resume_skip_) + " squares, " +
                     std::to_string(static_cast<long long>(rate + 0.5)) + "/s";
  const double fraction = source_.fraction_read();
  if (fraction > 0.001 && done > 0)
    text += ", " + format_duration(seconds * (1 - fraction) / fraction) + " left";
  reporter_.progress(text);
}

BatchSummary Run::execute() {
  start_ = Clock::now();
  if (!prepare()) {
    summary_.end = BatchSummary::End::kFailed;
    summary_.error = stop_.error();
    return summary_;
  }
  window_ = 2 * pool_.size() + 2;
  const auto refresh =
      std::chrono::milliseconds(reporter_.mode() == Reporter::ProgressMode::kTerminal ? 250 : 1000);
  pool_.run([this] { worker(); }, [this] { return external_stop_.load(); },
            [this] { stop_.request(); }, refresh,
            reporter_.mode() == Reporter::ProgressMode::kNone ? std::function<void()>()
                                                              : [this] { show_progress(); });
  reporter_.end_progress();

  summary_.read = source_.read();
  const bool complete = !stop_.failed() && !emission_stopped_ && source_.exhausted();
  if (dedup_ && !stop_.failed()) {
    summary_.results = forms_.size();
    write_forms(options_.operation, tsv_, forms_,
                [this](std::string_view piece) { return write_out(piece); });
  }
  if (forms_file_ && !stop_.failed()) {
    const std::string partial_name = options_.output + ".partial";
    std::error_code ec;
    if (!forms_file_->commit())
      stop_.fail("cannot write " + partial_name + ": " + forms_file_->error());
    else if (complete && (std::filesystem::rename(partial_name, options_.output, ec), ec))
      stop_.fail("cannot rename " + partial_name + ": " + ec.message());
  }
  if (file_ && !stop_.failed() && !(complete ? file_->finish() : file_->flush()))
    stop_.fail("cannot write " + file_->partial_name() + ": " + file_->error());
  if (complete && !options_.output.empty() && !stop_.failed())
    summary_.output_name = options_.output;
  if (!file_ && !forms_file_) out_.flush();
  summary_.seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  if (stop_.failed()) {
    summary_.end = BatchSummary::End::kFailed;
    summary_.error = stop_.error();
  } else if (strict_stop_) {
    summary_.end = BatchSummary::End::kStrictStop;
  } else if (!complete) {
    summary_.end = BatchSummary::End::kInterrupted;
  }
  return summary_;
}

}  // namespace

BatchSummary run_batch(const BatchOptions& options, std::ostream& out, Reporter& reporter,
                       const std::atomic<bool>& stop) {
  Run run(options, out, reporter, stop);
  return run.execute();
}

std::string summary_line(const BatchOptions& options, const BatchSummary& summary) {
  const std::uint64_t processed = summary.done - summary.resumed;
  char figures[64];
  std::snprintf(figures, sizeof figures, "%.2f s, %.0f squares/s", summary.seconds,
                summary.seconds > 0 ? static_cast<double>(processed) / summary.seconds : 0.0);
  std::string line = "batch " + std::string(operation_name(options.operation)) + ": ";
  switch (summary.end) {
    case BatchSummary::End::kComplete:
      break;
    case BatchSummary::End::kInterrupted:
      line += "interrupted; ";
      break;
    case BatchSummary::End::kStrictStop:
      line += "stopped at the first unreadable line or block; ";
      break;
    case BatchSummary::End::kFailed:
      line += "failed: " + summary.error + "; ";
      break;
  }
  line += std::to_string(summary.read) + " squares read, " + std::to_string(summary.skipped) +
          " skipped, " + std::to_string(summary.results) + " results written, " + figures;
  if (summary.resumed > 0)
    line += "; " + std::to_string(summary.resumed) + " squares were done before the resume";
  if (summary.end != BatchSummary::End::kComplete) {
    line += "; " + summary.output_name + " holds the results of squares 1 to " +
            std::to_string(summary.done);
    if (!summary.last_place.empty()) line += " (the last from " + summary.last_place + ")";
    if (!options.output.empty() && summary.end == BatchSummary::End::kInterrupted)
      line += "; --resume completes it";
  }
  return line;
}

}  // namespace dlslab::batch
