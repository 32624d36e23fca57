// A batch run is a pipeline of three stages over blocks of squares:
//
//   reader --(blocks, numbered)--> workers, one engine each --(results)--> ordered emitter
//
// A worker takes the reader's lock, reads the next block (a few hundred squares, fewer for
// slow operations) and numbers it, then computes its results without any lock. The finished
// block goes to a table of pending blocks; whoever hands in the block that is next in input
// order writes it, and every pending block after it, under the same lock. So the output is in
// input order for any thread count, and at most a few blocks per thread are held at once: a
// worker waits before reading when the emitter lags that far behind.
//
// A stop request ends each worker at its next square; a block handed in short marks the end of
// the output, so the output always ends at a square boundary, and nothing after the first
// unfinished square is written.
#include "batch/batch_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "batch/form_set.h"
#include "model/diagnostics.h"
#include "model/file_output.h"
#include "model/progress.h"

namespace dlslab::batch {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCells = kOrder * kOrder;

std::size_t DefaultBlockSize(Operation operation) {
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

std::string Place(const SquareReader& reader, std::uint32_t source, std::uint64_t line) {
  return reader.source_name(source) + ":" + std::to_string(line);
}

bool ParseNumber(std::string_view s, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

std::string FormatDuration(double seconds) {
  const auto total = static_cast<long long>(seconds + 0.5);
  char buf[32];
  if (total >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", total / 60, total % 60);
  return buf;
}

// The deduplicated forms, handed to `write` in pieces of about a megabyte. The collection
// format's separator line after each form holds its multiplicity: the collection reader skips
// that line unread, so the file still loads as a collection, and it is where --resume reads
// the counts back from. TSV: index, form, count.
template <class Write>
bool WriteForms(Operation operation, bool tsv, const FormSet& forms, Write write) {
  constexpr std::size_t kPiece = 1 << 20;
  std::string text;
  text.reserve(kPiece + 512);
  if (tsv) {
    text += TsvHeader(operation);
    text += '\n';
  } else if (forms.size() == 0) {
    text += '-';
  }
  char rows[kOrder * (2 * kOrder + 1)];  // one block's rows: symbol, blank, ..., line break
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) rows[r * (2 * kOrder + 1) + 2 * c + 1] = ' ';
    rows[r * (2 * kOrder + 1) + 2 * kOrder] = '\n';
  }
  for (std::size_t i = 0; i < forms.size(); ++i) {
    const Digits& form = forms.form(i);
    if (tsv) {
      text += std::to_string(i + 1);
      text += '\t';
      text.append(form.data(), form.size());
      text += '\t';
    } else {
      for (int r = 0; r < kOrder; ++r)
        for (int c = 0; c < kOrder; ++c) rows[r * (2 * kOrder + 1) + 2 * c] = form[r * kOrder + c];
      text.append(rows, sizeof rows);
    }
    text += std::to_string(forms.count(i));
    text += '\n';
    if (text.size() >= kPiece) {
      if (!write(std::string_view(text))) return false;
      text.clear();
    }
  }
  return write(std::string_view(text));
}

// What a partial file of a one-line-per-square operation holds: its complete lines.
struct TsvPartial {
  std::uint64_t done = 0;        // result lines after the header
  std::uint64_t keep_bytes = 0;  // the header and the complete lines; a cut last line is dropped
  std::optional<Digits> last;    // the square of the last line
  std::string error;
};

TsvPartial ScanTsvPartial(const std::string& name, std::string_view header) {
  TsvPartial partial;
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    partial.error = "cannot open " + name;
    return partial;
  }
  std::vector<char> buffer(1 << 20);
  std::uint64_t offset = 0;
  std::uint64_t newlines = 0;
  std::uint64_t last_break = 0;  // offset just after the last line break
  std::uint64_t previous_break = 0;
  std::string first_line;
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (newlines == 0 && buffer[i] != '\n' && first_line.size() <= header.size())
        first_line += buffer[i];
      if (buffer[i] == '\n') {
        ++newlines;
        previous_break = last_break;
        last_break = offset + static_cast<std::uint64_t>(i) + 1;
      }
    }
    offset += static_cast<std::uint64_t>(n);
  }
  if (newlines == 0) {  // not even the header is complete: start afresh
    ::close(fd);
    return partial;
  }
  if (first_line != header) {
    ::close(fd);
    partial.error = name + " is not the output of this operation";
    return partial;
  }
  partial.keep_bytes = last_break;
  partial.done = newlines - 1;
  if (partial.done > 0) {
    char line[160];
    const ssize_t n = ::pread(fd, line, sizeof line, static_cast<off_t>(previous_break));
    const std::string_view text(line, n > 0 ? static_cast<std::size_t>(n) : 0);
    const std::size_t tab = text.find('\t');
    std::uint64_t index = 0;
    if (tab == std::string_view::npos || !ParseNumber(text.substr(0, tab), index) ||
        index != partial.done || text.size() < tab + 1 + kCells) {
      partial.error =
          name + " is damaged: its last line is not result " + std::to_string(partial.done);
    } else {
      Digits digits{};
      std::copy_n(text.data() + tab + 1, kCells, digits.begin());
      partial.last = digits;
    }
  }
  ::close(fd);
  return partial;
}

// Reads the forms and counts of a partial cf/scf file back; returns the number of squares they
// stand for, or an error text.
std::string LoadFormsPartial(const std::string& name, bool tsv, Operation operation, FormSet& forms,
                             std::uint64_t& done) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return "cannot open " + name;
  const std::string damaged = name + " is not a partial output of batch " +
                              std::string(OperationName(operation)) + " in this format";
  std::string line;
  std::uint64_t line_number = 0;
  auto next_line = [&]() {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++line_number;
    return true;
  };
  auto add = [&](std::string_view form, std::uint64_t count) {
    Digits digits{};
    std::copy_n(form.data(), kCells, digits.begin());
    forms.Add(digits, FormSet::Hash(digits), count);
    done += count;
  };
  if (tsv) {
    if (!next_line()) return "";  // nothing written yet
    if (line != TsvHeader(operation)) return damaged;
    while (next_line()) {
      const std::size_t a = line.find('\t');
      const std::size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
      std::uint64_t index = 0;
      std::uint64_t count = 0;
      if (b == std::string::npos || b - a - 1 != kCells ||
          !ParseNumber(std::string_view(line).substr(0, a), index) || index != forms.size() + 1 ||
          !ParseNumber(std::string_view(line).substr(b + 1), count) || count == 0)
        return damaged;
      add(std::string_view(line).substr(a + 1, kCells), count);
    }
    return "";
  }
  std::string form;
  while (next_line()) {
    if (forms.size() == 0 && form.empty() && line == "-") return "";
    const std::size_t p = !line.empty() && line.front() == ' ' ? 1 : 0;
    if (line.size() < p + 2 * (kOrder - 1) + 1) return damaged;
    for (int j = 0; j < kOrder; ++j) form += line[p + 2 * j];
    if (form.size() < kCells) continue;
    std::uint64_t count = 0;
    if (!next_line() || !ParseNumber(line, count) || count == 0) return damaged;
    add(form, count);
    form.clear();
  }
  return form.empty() ? "" : damaged;
}

struct Block {
  struct Problem {
    InputProblem problem;
    std::size_t before;  // squares of the block read before it
  };
  std::uint64_t seq = 0;
  std::uint64_t first_index = 0;  // input number of squares[0], from 1
  std::vector<InputSquare> squares;
  std::vector<Problem> problems;
  std::size_t done = 0;   // squares with results
  bool ends_run = false;  // --strict: the block ends at an unreadable line
  std::string text;       // one line per square
  std::vector<Digits> forms;
  std::vector<std::uint64_t> hashes;  // of the forms, made by the worker
};

class Run {
 public:
  Run(const BatchOptions& options, std::ostream& out, Reporter& reporter,
      const std::atomic<bool>& stop)
      : options_(options),
        out_(out),
        reporter_(reporter),
        external_stop_(stop),
        reader_(options.inputs),
        dedup_(IsDeduplicating(options.operation)),
        tsv_(options.format == OutputFormat::kTsv ||
             (options.format == OutputFormat::kDefault && !dedup_)),
        block_size_(options.block_size > 0 ? options.block_size
                                           : DefaultBlockSize(options.operation)) {}

  BatchSummary Execute();

 private:
  bool Prepare();
  void Worker(Progress& progress);
  void FillBlock(Block& block);
  void Process(Block& block, OperationEngine& engine, std::ostringstream& diag);
  void Submit(Block block);
  void Emit(Block& block);
  bool WriteOut(std::string_view bytes);
  void Fail(std::string error);
  void RequestStop();
  void ShowProgress(double seconds);
  bool Stopping() const {
    return stop_requested_.load(std::memory_order_relaxed) ||
           external_stop_.load(std::memory_order_relaxed);
  }

  const BatchOptions& options_;
  std::ostream& out_;
  Reporter& reporter_;
  const std::atomic<bool>& external_stop_;
  SquareReader reader_;
  const bool dedup_;
  const bool tsv_;
  const std::size_t block_size_;
  std::size_t max_pending_ = 4;
  std::unique_ptr<PartialFileWriter> file_;       // one line per square
  std::unique_ptr<AtomicFileWriter> forms_file_;  // cf, scf
  Clock::time_point start_;

  std::mutex mutex_;  // guards everything below but the atomics
  std::condition_variable changed_;
  std::uint64_t next_seq_ = 0;
  std::uint64_t next_emit_ = 0;
  std::map<std::uint64_t, Block> pending_;
  bool reader_done_ = false;
  bool emission_stopped_ = false;
  bool strict_stop_ = false;
  std::string error_;
  std::uint64_t read_index_ = 0;  // well-formed squares read so far
  std::uint64_t resume_skip_ = 0;
  std::optional<Digits> resume_last_;
  FormSet forms_;
  std::vector<Progress*> progresses_;
  int active_ = 0;
  BatchSummary summary_;

  std::atomic<bool> stop_requested_{false};
  std::atomic<std::uint64_t> processed_{0};
};

bool Run::Prepare() {
  const std::string& output = options_.output;
  summary_.output_name = output.empty() ? "standard output" : output + ".partial";
  if (output.empty()) {
    if (tsv_ && !dedup_) WriteOut(std::string(TsvHeader(options_.operation)) + '\n');
    return error_.empty();
  }
  const std::string partial_name = output + ".partial";
  bool append = false;
  if (options_.resume) {
    if (!std::filesystem::exists(partial_name)) {
      reporter_.Line("dlslab-cli: batch: no " + partial_name + " to resume from; starting anew");
    } else if (dedup_) {
      std::uint64_t done = 0;
      if (std::string e = LoadFormsPartial(partial_name, tsv_, options_.operation, forms_, done);
          !e.empty()) {
        error_ = e;
        return false;
      }
      resume_skip_ = done;
      append = true;
    } else {
      const TsvPartial partial = ScanTsvPartial(partial_name, TsvHeader(options_.operation));
      if (!partial.error.empty()) {
        error_ = partial.error;
        return false;
      }
      std::error_code ec;
      std::filesystem::resize_file(partial_name, partial.keep_bytes, ec);
      if (ec) {
        error_ = "cannot cut " + partial_name + ": " + ec.message();
        return false;
      }
      resume_skip_ = partial.done;
      resume_last_ = partial.last;
      append = partial.keep_bytes > 0;
    }
  }
  summary_.resumed = resume_skip_;
  summary_.done = resume_skip_;
  if (dedup_) {
    // An index sized for the input at once: no rehashing while the forms pile up.
    forms_.Reserve(std::min<std::uint64_t>(reader_.total_bytes() / (kCells + 1), 1 << 22));
    // The forms are only written at the end, whole: a partial file is replaced at once, so a
    // run killed while writing it leaves the one it resumed from. Opened now, so that an
    // unwritable folder shows before the work rather than after it.
    forms_file_ = std::make_unique<AtomicFileWriter>(partial_name);
    if (!forms_file_->ok()) {
      error_ = "cannot write " + partial_name + ": " + forms_file_->error();
      return false;
    }
    return true;
  }
  file_ = std::make_unique<PartialFileWriter>(
      output, append ? PartialFileWriter::Mode::kAppend : PartialFileWriter::Mode::kTruncate);
  if (!file_->ok()) {
    error_ = "cannot write " + partial_name + ": " + file_->error();
    return false;
  }
  if (!append) WriteOut(std::string(TsvHeader(options_.operation)) + '\n');
  return error_.empty();
}

bool Run::WriteOut(std::string_view bytes) {
  if (forms_file_) {
    if (!forms_file_->Write(bytes))
      Fail("cannot write " + options_.output + ".partial: " + forms_file_->error());
  } else if (file_) {
    if (!file_->Write(bytes)) Fail("cannot write " + file_->partial_name() + ": " + file_->error());
  } else {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) Fail("cannot write the output");
  }
  return error_.empty();
}

void Run::Fail(std::string error) {
  if (error_.empty()) error_ = std::move(error);
  emission_stopped_ = true;
  RequestStop();
}

void Run::RequestStop() {
  stop_requested_.store(true, std::memory_order_relaxed);
  for (Progress* p : progresses_) p->RequestCancel();
  changed_.notify_all();
}

void Run::FillBlock(Block& block) {
  std::vector<InputProblem> found;
  InputSquare square;
  while (block.squares.size() < block_size_) {
    found.clear();
    const bool got = reader_.Next(square, found);
    for (InputProblem& p : found) block.problems.push_back({std::move(p), block.squares.size()});
    if (!found.empty() && options_.strict) {
      reader_done_ = true;
      block.ends_run = true;  // the square after the problem is not taken
      return;
    }
    if (!got) {
      reader_done_ = true;
      return;
    }
    ++summary_.read;
    const std::uint64_t index = ++read_index_;
    if (index <= resume_skip_) {
      if (index == resume_skip_ && resume_last_ && *resume_last_ != square.digits) {
        Fail(options_.output + ".partial was made from other inputs: its last square is not " +
             "square " + std::to_string(index) + " (" + Place(reader_, square.source, square.line) +
             ")");
        reader_done_ = true;
        return;
      }
      continue;
    }
    if (block.squares.empty()) block.first_index = index;
    block.squares.push_back(square);
  }
}

void Run::Process(Block& block, OperationEngine& engine, std::ostringstream& diag) {
  for (const InputSquare& square : block.squares) {
    if (Stopping()) return;
    const std::size_t text_size = block.text.size();
    try {
      if (dedup_) {
        block.forms.push_back(engine.Form(square.digits));
        block.hashes.push_back(FormSet::Hash(block.forms.back()));
      } else {
        engine.AppendLine(block.first_index + block.done, square.digits, block.text);
      }
    } catch (const Cancelled&) {
      block.text.resize(text_size);
      return;
    } catch (const std::exception& e) {
      block.text.resize(text_size);
      const std::lock_guard lock(mutex_);
      Fail(Place(reader_, square.source, square.line) + ": " + e.what());
      return;
    }
    if (diag.tellp() > 0) {
      // What an engine had to say goes out with the square it was about.
      std::istringstream lines(diag.str());
      for (std::string line; std::getline(lines, line);)
        reporter_.Line(Place(reader_, square.source, square.line) + ": " + line);
      diag.str("");
    }
    ++block.done;
    processed_.fetch_add(1, std::memory_order_relaxed);
  }
}

void Run::Worker(Progress& progress) {
  const ProgressScope progress_scope(progress);
  std::ostringstream diag;
  const DiagScope diag_scope(&diag);
  OperationEngine engine(options_.operation);
  for (;;) {
    Block block;
    block.squares.reserve(block_size_);
    if (dedup_) {
      block.forms.reserve(block_size_);
      block.hashes.reserve(block_size_);
    }
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] {
        return Stopping() || reader_done_ || next_seq_ - next_emit_ < max_pending_;
      });
      if (Stopping() || reader_done_) break;
      block.seq = next_seq_++;
      FillBlock(block);
    }
    Process(block, engine, diag);
    Submit(std::move(block));
  }
  const std::lock_guard lock(mutex_);
  --active_;
  changed_.notify_all();
}

void Run::Submit(Block block) {
  const std::lock_guard lock(mutex_);
  const std::uint64_t seq = block.seq;
  pending_.emplace(seq, std::move(block));
  for (auto it = pending_.find(next_emit_); it != pending_.end(); it = pending_.find(next_emit_)) {
    Emit(it->second);
    pending_.erase(it);
    ++next_emit_;
  }
  changed_.notify_all();
}

void Run::Emit(Block& block) {
  if (emission_stopped_) return;
  for (const Block::Problem& p : block.problems) {
    if (p.before > block.done) break;
    ++summary_.skipped;
    reporter_.Line("dlslab-cli: " + Place(reader_, p.problem.source, p.problem.line) + ": " +
                   p.problem.what + (options_.strict ? "" : "; skipped"));
  }
  if (dedup_) {
    for (std::size_t i = 0; i < block.done; ++i) forms_.Add(block.forms[i], block.hashes[i]);
  } else if (!block.text.empty() && !WriteOut(block.text)) {
    return;
  }
  summary_.done += block.done;
  if (!dedup_) summary_.results += block.done;
  if (block.done > 0) {
    const InputSquare& last = block.squares[block.done - 1];
    summary_.last_place = Place(reader_, last.source, last.line);
  }
  if (block.done < block.squares.size()) {
    emission_stopped_ = true;  // nothing after the first unfinished square
  } else if (block.ends_run) {
    emission_stopped_ = true;
    strict_stop_ = true;
    RequestStop();
  }
}

void Run::ShowProgress(double seconds) {
  const std::uint64_t done = processed_.load(std::memory_order_relaxed);
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  std::string text = "batch " + std::string(OperationName(options_.operation)) + ": " +
                     std::to_string(done + resume_skip_) + " squares, " +
                     std::to_string(static_cast<long long>(rate + 0.5)) + "/s";
  const double fraction = reader_.fraction_read();
  if (fraction > 0.001 && done > 0)
    text += ", " + FormatDuration(seconds * (1 - fraction) / fraction) + " left";
  reporter_.Progress(text);
}

BatchSummary Run::Execute() {
  start_ = Clock::now();
  if (!Prepare()) {
    summary_.end = BatchSummary::End::kFailed;
    summary_.error = error_;
    return summary_;
  }
  unsigned threads = options_.threads;
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  max_pending_ = 2 * threads + 2;
  std::vector<Progress> progresses(threads);
  std::vector<std::thread> workers;
  {
    const std::lock_guard lock(mutex_);
    for (Progress& p : progresses) progresses_.push_back(&p);
    active_ = static_cast<int>(threads);
  }
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([this, &progresses, t] { Worker(progresses[t]); });

  const auto refresh =
      std::chrono::milliseconds(reporter_.mode() == Reporter::ProgressMode::kTerminal ? 250 : 1000);
  auto next_progress = start_ + refresh;
  {
    std::unique_lock lock(mutex_);
    while (active_ > 0) {
      changed_.wait_for(lock, std::chrono::milliseconds(50));
      if (external_stop_.load() && !stop_requested_.load()) RequestStop();
      const auto now = Clock::now();
      if (reporter_.mode() != Reporter::ProgressMode::kNone && now >= next_progress) {
        ShowProgress(std::chrono::duration<double>(now - start_).count());
        next_progress = now + refresh;
      }
    }
  }
  for (std::thread& w : workers) w.join();
  reporter_.EndProgress();

  const bool complete =
      error_.empty() && !emission_stopped_ && reader_done_ && next_emit_ == next_seq_;
  if (dedup_ && error_.empty()) {
    summary_.results = forms_.size();
    WriteForms(options_.operation, tsv_, forms_,
               [this](std::string_view piece) { return WriteOut(piece); });
  }
  if (forms_file_ && error_.empty()) {
    const std::string partial_name = options_.output + ".partial";
    std::error_code ec;
    if (!forms_file_->Commit())
      Fail("cannot write " + partial_name + ": " + forms_file_->error());
    else if (complete && (std::filesystem::rename(partial_name, options_.output, ec), ec))
      Fail("cannot rename " + partial_name + ": " + ec.message());
  }
  if (file_ && error_.empty() && !(complete ? file_->Finish() : file_->Flush()))
    Fail("cannot write " + file_->partial_name() + ": " + file_->error());
  if (complete && !options_.output.empty() && error_.empty())
    summary_.output_name = options_.output;
  if (!file_ && !forms_file_) out_.flush();
  summary_.seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  if (!error_.empty()) {
    summary_.end = BatchSummary::End::kFailed;
    summary_.error = error_;
  } else if (strict_stop_) {
    summary_.end = BatchSummary::End::kStrictStop;
  } else if (!complete) {
    summary_.end = BatchSummary::End::kInterrupted;
  }
  return summary_;
}

}  // namespace

void Reporter::Line(const std::string& text) {
  const std::lock_guard lock(mutex_);
  if (progress_shown_ && mode_ == ProgressMode::kTerminal) err_ << "\r\x1b[K";
  progress_shown_ = false;
  err_ << text << '\n' << std::flush;
}

void Reporter::Progress(const std::string& text) {
  const std::lock_guard lock(mutex_);
  if (mode_ == ProgressMode::kTerminal) {
    err_ << "\r\x1b[K" << text << std::flush;
    progress_shown_ = true;
  } else if (mode_ == ProgressMode::kLines) {
    err_ << text << '\n' << std::flush;
  }
}

void Reporter::EndProgress() {
  const std::lock_guard lock(mutex_);
  if (progress_shown_) err_ << '\n' << std::flush;
  progress_shown_ = false;
}

BatchSummary RunBatch(const BatchOptions& options, std::ostream& out, Reporter& reporter,
                      const std::atomic<bool>& stop) {
  Run run(options, out, reporter, stop);
  return run.Execute();
}

std::string SummaryLine(const BatchOptions& options, const BatchSummary& summary) {
  const std::uint64_t processed = summary.done - summary.resumed;
  char figures[64];
  std::snprintf(figures, sizeof figures, "%.2f s, %.0f squares/s", summary.seconds,
                summary.seconds > 0 ? static_cast<double>(processed) / summary.seconds : 0.0);
  std::string line = "batch " + std::string(OperationName(options.operation)) + ": ";
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
