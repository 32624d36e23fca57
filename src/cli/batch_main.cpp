#include "cli/batch_main.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>

#include "batch/batch_run.h"
#include "batch/generate.h"
#include "cli/run_setup.h"
#include "cli/stop_signals.h"
#include "model/file_output.h"
#include "model/parse_number.h"

namespace dlslab::cli {
namespace {

constexpr const char* kBatchUsage =
    "usage: dlslab-cli batch [--threads N] [--output FILE] [--format collection|tsv]\n"
    "                        [--progress] [--strict] [--resume] [--chunk K/N]\n"
    "                        OPERATION INPUT...\n"
    "\n"
    "Runs one operation over every square of the inputs, one engine per thread, and writes the\n"
    "results in input order. INPUT is a collection file, a square file (\"DLS\" or \"ODLS\"\n"
    "header) or a text file of 100-character digit strings, one per line; - is standard input.\n"
    "\n"
    "Operations and their output (TSV: a header line, then one line per square: its number,\n"
    "its digit string and the result columns):\n"
    "  cf            canonical forms, each once, in the order first met, with the number of\n"
    "                squares that have it: a collection file whose separator line after each\n"
    "                form holds that number (default), or TSV index, cf, count\n"
    "  scf           strong canonical forms, likewise\n"
    "  odls          number of orthogonal diagonal mates and the mates, separated by blanks\n"
    "  type          the ODLS type name\n"
    "  transversals  total and diagonal transversal counts\n"
    "  properties    the status-line text\n"
    "  fillings      number of fillings of a partial square\n"
    "  validate      yes, or no and why the square is not a complete DLS\n"
    "\n"
    "  --threads N      worker threads (default: one per processor)\n"
    "  --output FILE    write to FILE.partial, renamed to FILE when the run completes\n"
    "                   (default: standard output)\n"
    "  --format F       collection (cf, scf) or tsv\n"
    "  --progress       show the progress line also when stderr is not a terminal\n"
    "  --strict         stop at the first unreadable line or block, exit status 1\n"
    "  --resume         continue an interrupted run from FILE.partial\n"
    "  --chunk K/N      only the K-th of N equal parts of the inputs' squares, numbered as in\n"
    "                   the whole input (dlslab-cli merge joins the parts' outputs)\n"
    "\n"
    "Unreadable lines and blocks are reported with file and line and skipped. SIGINT or SIGTERM\n"
    "ends the run at a square boundary; FILE.partial then holds every result so far.\n";

constexpr const char* kGenerateUsage =
    "usage: dlslab-cli generate N [--seed S] [--threads N] [--output FILE]\n"
    "\n"
    "Writes N random diagonal Latin squares of order 10 as digit strings, one per line: square\n"
    "i (from 0) is the one \"Random search v3\" makes with the seed S + i (default S = 1).\n";

}  // namespace

int batch_main(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  batch::BatchOptions options;
  bool progress = false;
  std::size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    const std::string& option = args[i];
    if (option == "--help") {
      out << kBatchUsage;
      return 0;
    }
    if (option == "--progress") {
      progress = true;
    } else if (option == "--strict") {
      options.strict = true;
    } else if (option == "--resume") {
      options.resume = true;
    } else if (option == "--chunk") {
      if (i + 1 >= args.size()) return usage_error(err, "batch", "--chunk needs K/N");
      const std::string& value = args[++i];
      const auto chunk = parse_chunk(value);
      if (!chunk)
        return usage_error(err, "batch", "--chunk is K/N with 1 <= K <= N, not \"" + value + "\"");
      std::tie(options.chunk, options.chunks) = *chunk;
    } else if (option == "--threads" || option == "--output" || option == "--format" ||
               option == "--block") {
      if (i + 1 >= args.size()) return usage_error(err, "batch", option + " needs a value");
      const std::string& value = args[++i];
      if (option == "--output") {
        options.output = value;
      } else if (option == "--format") {
        if (value == "tsv")
          options.format = batch::OutputFormat::kTsv;
        else if (value == "collection")
          options.format = batch::OutputFormat::kCollection;
        else
          return usage_error(err, "batch", "--format is collection or tsv, not \"" + value + "\"");
      } else {
        const auto n = parse_number<unsigned>(value);
        if (!n || *n == 0 || *n > 1024)
          return usage_error(err, "batch", option + " needs a number 1..1024");
        if (option == "--threads")
          options.threads = *n;
        else
          options.block_size = *n;
      }
    } else {
      return usage_error(err, "batch", "unknown option \"" + option + "\"");
    }
  }
  if (i >= args.size()) return usage_error(err, "batch", "no operation");
  const auto operation = batch::operation_by_name(args[i]);
  if (!operation) return usage_error(err, "batch", "unknown operation \"" + args[i] + "\"");
  options.operation = *operation;
  options.inputs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  if (options.inputs.empty()) return usage_error(err, "batch", "no input");
  if (options.format == batch::OutputFormat::kCollection &&
      !batch::is_deduplicating(options.operation))
    return usage_error(err, "batch", "the collection format is for cf and scf only");
  if (options.chunks > 0 &&
      std::find(options.inputs.begin(), options.inputs.end(), "-") != options.inputs.end())
    return usage_error(err, "batch", "--chunk cannot read standard input (it is read twice)");
  if (options.resume && options.output.empty())
    return usage_error(err, "batch", "--resume needs --output");
  if (!inputs_readable(options.inputs, err, "batch")) return 1;

  batch::Reporter reporter(err, progress_mode(err, progress));
  const StopSignals signals;
  const batch::BatchSummary summary = batch::run_batch(options, out, reporter, stop_requested);
  reporter.line(batch::summary_line(options, summary));
  switch (summary.end) {
    case batch::BatchSummary::End::kComplete:
      return 0;
    case batch::BatchSummary::End::kInterrupted:
      return StopSignals::exit_status();
    case batch::BatchSummary::End::kStrictStop:
    case batch::BatchSummary::End::kFailed:
      break;
  }
  return 1;
}

int generate_main(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::optional<std::uint64_t> count;
  std::uint32_t seed = 1;
  unsigned threads = 0;
  std::string output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") {
      out << kGenerateUsage;
      return 0;
    }
    if (arg == "--seed" || arg == "--threads" || arg == "--output") {
      if (i + 1 >= args.size()) return usage_error(err, "generate", arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--output") {
        output = value;
      } else if (arg == "--seed") {
        const auto s = parse_number<std::uint32_t>(value);
        if (!s) return usage_error(err, "generate", "--seed needs a number 0..4294967295");
        seed = *s;
      } else {
        const auto n = parse_number<unsigned>(value);
        if (!n || *n == 0 || *n > 1024)
          return usage_error(err, "generate", "--threads needs a number 1..1024");
        threads = *n;
      }
    } else if (!count && !arg.starts_with("--")) {
      count = parse_number<std::uint64_t>(arg);
      if (!count) return usage_error(err, "generate", "N must be a number, not \"" + arg + "\"");
    } else {
      return usage_error(err, "generate", "unexpected \"" + arg + "\"");
    }
  }
  if (!count) return usage_error(err, "generate", "how many squares?");
  if (*count > (std::uint64_t{1} << 32) - seed)
    return usage_error(err, "generate",
                       "the seeds S to S + N - 1 pass 4294967295, the last seed of rsv3");
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());

  const StopSignals signals;
  std::unique_ptr<PartialFileWriter> file;
  if (!output.empty())
    file = std::make_unique<PartialFileWriter>(output, PartialFileWriter::Mode::kTruncate);
  if (file && !file->ok()) {
    err << "dlslab-cli generate: cannot write " << file->partial_name() << ": " << file->error()
        << '\n';
    return 1;
  }
  const std::uint64_t written = batch::generate_squares(
      *count, seed, threads,
      [&](std::string_view text) {
        if (file) return file->write(text);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
      },
      stop_requested);
  if (file && written == *count && !file->finish()) {
    err << "dlslab-cli generate: cannot write " << output << ": " << file->error() << '\n';
    return 1;
  }
  out.flush();
  if (written != *count) {
    err << "dlslab-cli generate: stopped after " << written << " of " << *count << " squares\n";
    return stop_requested.load() ? StopSignals::exit_status() : 1;
  }
  return 0;
}

}  // namespace dlslab::cli
