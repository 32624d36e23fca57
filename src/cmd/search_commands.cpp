#include "cmd/search_commands.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "batch/reporter.h"
#include "batch/search.h"
#include "batch/square_generator.h"
#include "cmd/collection_commands.h"
#include "model/error.h"
#include "model/parse_number.h"
#include "model/progress.h"

namespace dlslab::cmd {
namespace {

std::vector<std::string> words_of(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::uint64_t number_of(const std::string& word, const char* what) {
  const std::optional<std::uint64_t> n = parse_number<std::uint64_t>(word);
  if (!n) throw Error("\"" + word + "\" is not " + what + ".");
  return *n;
}

/// The canonical form of a hit line: its fourth tab-separated field.
std::string_view form_of(std::string_view line) {
  for (int field = 0; field < 3; ++field) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    line.remove_prefix(tab + 1);
  }
  return line.substr(0, line.find('\t'));
}

}  // namespace

SearchRequest parse_search_request(const std::string& text) {
  const std::vector<std::string> words = words_of(text);
  if (words.size() < 2 || words.size() > 3)
    throw Error(
        "A search needs a generator and a number of squares, and may name the first "
        "seed: \"rsv3 100000\" or \"rsv3 100000 0\".");
  SearchRequest request;
  request.generator = words[0];
  const batch::GeneratorInfo* generator = batch::find_square_generator(request.generator);
  if (generator == nullptr) {
    std::string known;
    for (const batch::GeneratorInfo& info : batch::square_generators())
      known += (known.empty() ? "" : ", ") + std::string(info.name);
    throw Error("No generator \"" + request.generator + "\"; there are " + known + ".");
  }
  request.count = number_of(words[1], "a number of squares");
  if (words.size() == 3) request.first = number_of(words[2], "a seed");
  if (request.count == 0) throw Error("A search needs at least one square.");
  if (request.first >= generator->seed_count ||
      request.count > generator->seed_count - request.first)
    throw Error("The generator " + request.generator + " has seeds 0 to " +
                std::to_string(generator->seed_count - 1) + " only.");
  return request;
}

void SearchOdlsMenuItemClick(Context& ctx, const std::string& text) {
  const SearchRequest request = parse_search_request(text);
  batch::SearchUnit unit;
  unit.generator = request.generator;
  unit.first = request.first;
  unit.count = request.count;

  Progress& progress = current_progress();
  std::mutex hits_mutex;
  std::vector<std::string> hit_lines;
  batch::SearchOptions options;
  options.progress = &progress;
  options.on_hit = [&](const batch::SearchHit& hit) {
    const std::lock_guard lock(hits_mutex);
    hit_lines.push_back(hit.line);
  };
  std::ostringstream output, messages;
  batch::Reporter reporter(messages, batch::Reporter::ProgressMode::kNone);
  const std::atomic<bool> stop{false};
  const batch::SearchSummary summary = batch::run_search(unit, options, output, reporter, stop);
  if (summary.end == batch::SearchSummary::End::kInterrupted || progress.cancel_requested())
    throw Cancelled();
  if (summary.end == batch::SearchSummary::End::kFailed) throw Error(summary.error);

  TSquaresCollection forms;
  for (const std::string& line : hit_lines) {
    ctx.log.Add(line);
    const std::string_view form = form_of(line);
    if (!form.empty()) forms.AddSquareString(form, true, false);
  }
  ctx.log.Add(batch::search_summary_line(unit, summary));
  ctx.collection = std::move(forms);
  ctx.spin_edit_value = 0;
  if (ctx.collection.Count() > 0)
    SpinEditChange(ctx, 0);
  else
    ctx.UpdateView();
}

}  // namespace dlslab::cmd
