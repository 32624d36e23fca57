#include "cli/search_main.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <tuple>

#include "batch/merge.h"
#include "batch/search.h"
#include "batch/square_generator.h"
#include "cli/run_setup.h"
#include "cli/stop_signals.h"
#include "model/parse_number.h"

namespace dlslab::cli {
namespace {

constexpr const char* kSearchUsage =
    "usage: dlslab-cli search [--generator NAME] --seeds FIRST:COUNT [--threads N]\n"
    "                         [--output FILE] [--forms FILE] [--progress] [--resume]\n"
    "                         [--checkpoint SECONDS]\n"
    "       dlslab-cli search [options] [--chunk K/N] --input FILE...\n"
    "\n"
    "Checks every square of a work unit for orthogonal diagonal mates: the generator's squares\n"
    "for the seeds FIRST to FIRST + COUNT - 1, or the squares of the files (read as batch reads\n"
    "them). Writes a header line naming the unit, a column line, one TSV line per square with a\n"
    "mate (the seed or file:line, the square, the number of mates, its canonical form, the mates\n"
    "separated by blanks) and an end line with the counts; the same bytes for any thread count,\n"
    "instruction-set path and machine.\n"
    "\n"
    "  --generator NAME    the squares' generator (default rsv3):\n"
    "%GENERATORS%"
    "  --threads N         worker threads (default: one per processor)\n"
    "  --output FILE       write to FILE.partial, made durable with the position reached every\n"
    "                      few seconds, renamed to FILE when the unit is complete\n"
    "  --forms FILE        the distinct canonical forms of the hits as a collection file, in\n"
    "                      the order first met, the separator line holding the number of hits\n"
    "  --progress          show the progress line also when stderr is not a terminal\n"
    "  --resume            continue from FILE.partial after SIGINT, SIGTERM or kill -9 (without\n"
    "                      one, start from the beginning)\n"
    "  --checkpoint S      seconds between checkpoints (default 5)\n"
    "  --chunk K/N         only the K-th of N equal parts of the inputs' squares, split by\n"
    "                      square index as batch --chunk splits them (lines keep their number);\n"
    "                      merge joins the N outputs into the unchunked search's\n"
    "  --check             check the unit (the generator's seeds, the inputs) and exit\n";

constexpr const char* kMergeUsage =
    "usage: dlslab-cli merge --output FILE [--forms FILE] UNIT_OUTPUT...\n"
    "\n"
    "Joins the outputs of search units of one generator, in any order, into what one search over\n"
    "their union writes; the forms of all hits go to the --forms collection file. Seed ranges\n"
    "that leave a gap or overlap are refused. The outputs of search --chunk K/N over the same\n"
    "inputs join, in any order, into the unchunked search's; a chunk missing or given twice is\n"
    "refused.\n"
    "Joins as well the outputs of batch --chunk K/N runs into the unchunked run's output: TSV\n"
    "outputs in any order, cf / scf collection files in chunk order.\n";

std::string search_usage() {
  std::string generators;
  for (const batch::GeneratorInfo& info : batch::square_generators())
    generators += "                        " + std::string(info.name) + "  " +
                  std::string(info.description) + "\n";
  std::string text = kSearchUsage;
  text.replace(text.find("%GENERATORS%"), 12, generators);
  return text;
}

}  // namespace

int search_main(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  batch::SearchUnit unit;
  batch::SearchOptions options;
  bool progress = false;
  bool seeds_given = false;
  bool input = false;
  bool check = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (input && !arg.starts_with("--")) {
      unit.inputs.push_back(arg);
      continue;
    }
    if (arg == "--help") {
      out << search_usage();
      return 0;
    }
    if (arg == "--progress") {
      progress = true;
    } else if (arg == "--resume") {
      options.resume = true;
    } else if (arg == "--input") {
      input = true;
    } else if (arg == "--check") {
      check = true;
    } else if (arg == "--chunk") {
      if (i + 1 >= args.size()) return usage_error(err, "search", "--chunk needs K/N");
      const std::string& value = args[++i];
      const auto chunk = parse_chunk(value);
      if (!chunk)
        return usage_error(err, "search", "--chunk is K/N with 1 <= K <= N, not \"" + value + "\"");
      std::tie(unit.chunk, unit.chunks) = *chunk;
    } else if (arg == "--generator" || arg == "--seeds" || arg == "--threads" ||
               arg == "--output" || arg == "--forms" || arg == "--checkpoint") {
      if (i + 1 >= args.size()) return usage_error(err, "search", arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--generator") {
        if (batch::find_square_generator(value) == nullptr)
          return usage_error(err, "search", "no generator \"" + value + "\"");
        unit.generator = value;
      } else if (arg == "--seeds") {
        const std::size_t colon = value.find(':');
        const auto first = parse_number<std::uint64_t>(std::string_view(value).substr(0, colon));
        const auto count =
            colon == std::string::npos
                ? std::nullopt
                : parse_number<std::uint64_t>(std::string_view(value).substr(colon + 1));
        if (!first || !count)
          return usage_error(err, "search", "--seeds is FIRST:COUNT, not \"" + value + "\"");
        unit.first = *first;
        unit.count = *count;
        seeds_given = true;
      } else if (arg == "--threads") {
        const auto n = parse_number<unsigned>(value);
        if (!n || *n == 0 || *n > 1024)
          return usage_error(err, "search", "--threads needs a number 1..1024");
        options.threads = *n;
      } else if (arg == "--output") {
        options.output = value;
      } else if (arg == "--forms") {
        options.forms = value;
      } else {
        char* end = nullptr;
        const double seconds = std::strtod(value.c_str(), &end);
        if (end == value.c_str() || *end != '\0' || !(seconds >= 0) || seconds > 86400)
          return usage_error(err, "search", "--checkpoint needs a number of seconds");
        options.checkpoint_seconds = seconds;
      }
    } else {
      return usage_error(err, "search", "unexpected \"" + arg + "\"");
    }
  }
  if (input && unit.inputs.empty()) return usage_error(err, "search", "--input names no file");
  if (input && seeds_given) return usage_error(err, "search", "--seeds or --input, not both");
  if (!input && !seeds_given)
    return usage_error(err, "search", "which seeds? (--seeds FIRST:COUNT)");
  if (unit.chunks > 0 && !input)
    return usage_error(err, "search", "--chunk is for --input; cut a seed range with --seeds");
  if (unit.chunks > 0 && std::find(unit.inputs.begin(), unit.inputs.end(), "-") != unit.inputs.end())
    return usage_error(err, "search", "--chunk cannot read standard input (it is read twice)");
  if (options.resume && options.output.empty())
    return usage_error(err, "search", "--resume needs --output");
  if (const batch::GeneratorInfo* g = batch::find_square_generator(unit.generator);
      !input && (unit.first > g->seed_count || unit.count > g->seed_count - unit.first))
    return usage_error(
        err, "search",
        "generator " + unit.generator + " has seeds 0 to " + std::to_string(g->seed_count - 1));
  if (!inputs_readable(unit.inputs, err, "search")) return 1;
  if (check) return 0;

  batch::Reporter reporter(err, progress_mode(err, progress));
  const StopSignals signals;
  const batch::SearchSummary summary =
      batch::run_search(unit, options, out, reporter, stop_requested);
  reporter.line(batch::search_summary_line(unit, summary));
  switch (summary.end) {
    case batch::SearchSummary::End::kComplete:
      return 0;
    case batch::SearchSummary::End::kInterrupted:
      return StopSignals::exit_status();
    case batch::SearchSummary::End::kFailed:
      break;
  }
  return 1;
}

int merge_main(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::string output;
  std::string forms;
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") {
      out << kMergeUsage;
      return 0;
    }
    if (arg == "--output" || arg == "--forms") {
      if (i + 1 >= args.size()) return usage_error(err, "merge", arg + " needs a value");
      (arg == "--output" ? output : forms) = args[++i];
    } else if (arg.starts_with("--")) {
      return usage_error(err, "merge", "unknown option \"" + arg + "\"");
    } else {
      inputs.push_back(arg);
    }
  }
  if (output.empty()) return usage_error(err, "merge", "--output is needed");
  if (inputs.empty()) return usage_error(err, "merge", "no unit output to merge");
  std::string first_line;
  std::getline(std::ifstream(inputs[0], std::ios::binary) >> std::noskipws, first_line);
  const bool search = first_line.starts_with("# dlslab search");
  if (!search && !forms.empty())
    return usage_error(err, "merge", "--forms is for search outputs; batch chunks hold theirs");
  const batch::MergeSummary summary = search ? batch::merge_search_outputs(inputs, output, forms)
                                             : batch::merge_batch_outputs(inputs, output);
  if (!summary.error.empty()) {
    err << "dlslab-cli merge: " << summary.error << '\n';
    return 1;
  }
  if (!search) {
    err << "merge: " << summary.units << " batch chunks\n";
    return 0;
  }
  err << "merge: " << summary.units << " units, " << summary.checked << " squares checked, "
      << summary.hits << " hits, " << summary.forms << " distinct forms\n";
  return 0;
}

}  // namespace dlslab::cli
