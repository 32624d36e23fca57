#include "batch/merge.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "batch/form_set.h"
#include "batch/operations.h"
#include "batch/partial_files.h"
#include "batch/search.h"
#include "model/file_output.h"
#include "model/parse_number.h"

namespace dlslab::batch {
namespace {

constexpr int kCells = kOrder * kOrder;

// One unit's output: a seed range of a generator, or (inputs not empty) a chunk of inputs.
struct UnitOutput {
  std::string name;
  std::string generator;
  std::uint64_t first = 0;
  std::uint64_t count = 0;
  std::string inputs;   // the header's "input=" words
  unsigned chunk = 0;   // 0: the whole input
  unsigned chunks = 0;
  std::uint64_t checked = 0;
  std::uint64_t hits = 0;
  std::string column_line;
  std::vector<std::string> lines;  // the hit lines
};

std::string range(const UnitOutput& unit) {
  if (!unit.inputs.empty())
    return unit.chunks == 0 ? "the whole input"
                            : "chunk " + std::to_string(unit.chunk) + "/" +
                                  std::to_string(unit.chunks);
  return unit.count == 0 ? "no seeds"
                         : "seeds " + std::to_string(unit.first) + " to " +
                               std::to_string(unit.first + unit.count - 1);
}

// The header of a search's output, as search_header writes it; false when it is none.
bool read_header(const std::string& header, UnitOutput& unit) {
  const std::string generator_prefix = "# dlslab search generator=";
  const std::string input_prefix = "# dlslab search input=";
  if (header.starts_with(input_prefix)) {
    unit.inputs = header.substr(input_prefix.size());
    const std::size_t at = unit.inputs.rfind(" chunk=");
    if (at != std::string::npos) {
      const std::string_view part = std::string_view(unit.inputs).substr(at + 7);
      const std::size_t slash = part.find('/');
      const auto k = parse_number<unsigned>(part.substr(0, slash));
      const auto n = slash == std::string_view::npos ? std::nullopt
                                                     : parse_number<unsigned>(part.substr(slash + 1));
      if (k && n && *k >= 1 && *k <= *n) {
        unit.chunk = *k;
        unit.chunks = *n;
        unit.inputs.resize(at);
      }
    }
    return !unit.inputs.empty();
  }
  const std::size_t seeds = header.find(" seeds=");
  const std::size_t colon = header.rfind(':');
  if (!header.starts_with(generator_prefix) || seeds == std::string::npos || colon < seeds ||
      !read_number(std::string_view(header).substr(seeds + 7, colon - seeds - 7), unit.first) ||
      !read_number(std::string_view(header).substr(colon + 1), unit.count))
    return false;
  unit.generator = header.substr(generator_prefix.size(), seeds - generator_prefix.size());
  return true;
}

// Reads a unit's output; returns an error text.
std::string read_unit(const std::string& name, UnitOutput& unit) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return "cannot read " + name;
  unit.name = name;
  std::string header;
  std::getline(in, header);
  if (!read_header(header, unit)) return name + " is not the output of a search";
  std::getline(in, unit.column_line);
  bool ended = false;
  for (std::string line; std::getline(in, line);) {
    if (ended) return name + " goes on after its end line";
    if (line.starts_with("# end ")) {
      std::istringstream fields(line.substr(6));
      std::string word;
      while (fields >> word) {
        if (word.starts_with("checked=")) read_number(word.substr(8), unit.checked);
        if (word.starts_with("hits=")) read_number(word.substr(5), unit.hits);
      }
      ended = true;
      continue;
    }
    const std::size_t tab = line.find('\t');
    std::uint64_t seed = 0;
    if (unit.inputs.empty() &&
        (tab == std::string::npos || !read_number(std::string_view(line).substr(0, tab), seed) ||
         seed < unit.first || seed - unit.first >= unit.count))
      return name + ": a hit line outside " + range(unit) + ": " + line.substr(0, 40);
    if (!unit.inputs.empty() && (tab == std::string::npos || line.rfind(':', tab) == std::string::npos))
      return name + ": a hit line without its file:line: " + line.substr(0, 40);
    unit.lines.push_back(line);
  }
  if (!ended) return name + " is not complete (no end line): its search has not finished";
  if (unit.hits != unit.lines.size())
    return name + " holds " + std::to_string(unit.lines.size()) + " hit lines, its end line says " +
           std::to_string(unit.hits);
  return "";
}

// Puts the outputs of a seed range's units in seed order; an error text for a gap or an overlap.
std::string order_seed_ranges(std::vector<UnitOutput>& units) {
  std::stable_sort(units.begin(), units.end(), [](const UnitOutput& a, const UnitOutput& b) {
    return a.first < b.first || (a.first == b.first && a.count < b.count);
  });
  for (std::size_t i = 1; i < units.size(); ++i) {
    const UnitOutput& a = units[i - 1];
    const UnitOutput& b = units[i];
    const std::uint64_t a_end = a.first + a.count;
    if (b.first < a_end)
      return a.name + " (" + range(a) + ") and " + b.name + " (" + range(b) +
             ") overlap in seeds " + std::to_string(b.first) + " to " +
             std::to_string(std::min(a_end, b.first + b.count) - 1);
    if (b.first > a_end)
      return "seeds " + std::to_string(a_end) + " to " + std::to_string(b.first - 1) +
             " are missing between " + a.name + " (" + range(a) + ") and " + b.name + " (" +
             range(b) + ")";
  }
  return "";
}

// Puts the outputs of the chunks of one input in chunk order; an error text unless every chunk
// is there once (or the one output is the whole input's).
std::string order_chunks(std::vector<UnitOutput>& units) {
  const UnitOutput& first = units.front();
  for (const UnitOutput& unit : units) {
    if (unit.inputs != first.inputs)
      return unit.name + " searched input=" + unit.inputs + ", " + first.name + " input=" +
             first.inputs;
    if (unit.chunks != first.chunks)
      return unit.name + " is " + range(unit) + ", " + first.name + " " + range(first);
  }
  if (first.chunks == 0) return units.size() == 1 ? "" : first.name + " and " + units[1].name +
                                                             " both hold the whole input";
  std::stable_sort(units.begin(), units.end(),
                   [](const UnitOutput& a, const UnitOutput& b) { return a.chunk < b.chunk; });
  for (std::size_t i = 1; i < units.size(); ++i)
    if (units[i].chunk == units[i - 1].chunk)
      return units[i - 1].name + " and " + units[i].name + " are both " + range(units[i]);
  std::string missing;
  std::size_t at = 0;
  unsigned count = 0;
  for (unsigned k = 1; k <= first.chunks; ++k) {
    if (at < units.size() && units[at].chunk == k) {
      ++at;
    } else if (++count <= 10) {
      missing += (missing.empty() ? "" : ", ") + std::to_string(k);
    }
  }
  if (count > 10) missing += " and " + std::to_string(count - 10) + " more";
  if (count > 0)
    return "input=" + first.inputs + ": " + (count == 1 ? "chunk " : "chunks ") + missing +
           " of " + std::to_string(first.chunks) + (count == 1 ? " is" : " are") + " missing";
  return "";
}

}  // namespace

MergeSummary merge_search_outputs(const std::vector<std::string>& inputs, const std::string& output,
                                  const std::string& forms_name) {
  MergeSummary summary;
  std::vector<UnitOutput> units(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    summary.error = read_unit(inputs[i], units[i]);
    if (!summary.error.empty()) return summary;
    if (units[i].inputs.empty() != units[0].inputs.empty()) {
      summary.error = inputs[i] + " and " + inputs[0] +
                      " are not both searches of a generator or both of input files";
      return summary;
    }
    if (units[i].generator != units[0].generator) {
      summary.error = inputs[i] + " comes from generator " + units[i].generator + ", " + inputs[0] +
                      " from " + units[0].generator;
      return summary;
    }
  }
  if (units.empty()) {
    summary.error = "nothing to merge";
    return summary;
  }
  summary.error = units[0].inputs.empty() ? order_seed_ranges(units) : order_chunks(units);
  if (!summary.error.empty()) return summary;
  std::string header;
  if (units[0].inputs.empty()) {
    SearchUnit whole;
    whole.generator = units[0].generator;
    whole.first = units.front().first;
    whole.count = units.back().first + units.back().count - whole.first;
    header = search_header(whole);
  } else {
    header = "# dlslab search input=" + units[0].inputs;
  }
  std::string text = header + "\n" + units[0].column_line + "\n";
  FormSet forms;
  for (const UnitOutput& unit : units) {
    summary.checked += unit.checked;
    summary.hits += unit.hits;
    for (const std::string& line : unit.lines) {
      text += line;
      text += '\n';
      std::size_t at = line.find('\t');
      for (int k = 0; k < 2 && at != std::string::npos; ++k) at = line.find('\t', at + 1);
      if (at == std::string::npos || line.size() < at + 1 + kCells) {
        summary.error = unit.name + ": a hit line without its form: " + line.substr(0, 40);
        return summary;
      }
      Digits form{};
      std::copy_n(line.data() + at + 1, kCells, form.begin());
      forms.add(form, FormSet::hash(form));
    }
  }
  text += "# end checked=" + std::to_string(summary.checked) +
          " hits=" + std::to_string(summary.hits) + "\n";
  summary.units = units.size();
  summary.forms = forms.size();
  try {
    if (!forms_name.empty()) {
      std::string forms_text;
      write_forms(Operation::kCf, false, forms, [&forms_text](std::string_view piece) {
        forms_text += piece;
        return true;
      });
      write_file_atomically(forms_name, forms_text);
    }
    write_file_atomically(output, text);
  } catch (const std::exception& e) {
    summary.error = e.what();
  }
  return summary;
}

MergeSummary merge_batch_outputs(const std::vector<std::string>& inputs,
                                 const std::string& output) {
  MergeSummary summary;
  summary.units = inputs.size();
  if (inputs.empty()) {
    summary.error = "nothing to merge";
    return summary;
  }
  std::string first_line;
  {
    std::ifstream in(inputs[0], std::ios::binary);
    if (!in) {
      summary.error = "cannot read " + inputs[0];
      return summary;
    }
    std::getline(in, first_line);
  }
  std::optional<Operation> operation;
  for (const Operation op : {Operation::kCf, Operation::kScf, Operation::kOdls, Operation::kType,
                             Operation::kTransversals, Operation::kProperties, Operation::kFillings,
                             Operation::kValidate})
    if (first_line == tsv_header(op)) operation = op;
  std::string text;
  if (!operation || is_deduplicating(*operation)) {
    // Forms with counts, as collection files or TSV, in chunk order.
    const bool tsv = operation.has_value();
    const Operation op = operation.value_or(Operation::kCf);
    FormSet forms;
    for (const std::string& name : inputs) {
      (void)load_forms_partial(name, tsv, op, forms, summary.error);
      if (!summary.error.empty()) return summary;
    }
    write_forms(op, tsv, forms, [&text](std::string_view piece) {
      text += piece;
      return true;
    });
    summary.forms = forms.size();
  } else {
    // Lines numbered by square: the chunks ordered by their first number, which must rise.
    struct Chunk {
      std::string name;
      std::uint64_t first = 0;
      std::uint64_t last = 0;
      std::string body;
    };
    std::vector<Chunk> chunks;
    for (const std::string& name : inputs) {
      std::ifstream in(name, std::ios::binary);
      std::string line;
      if (!in || !std::getline(in, line) || line != first_line) {
        summary.error = name + " is not an output of batch " +
                        std::string(operation_name(*operation)) + " like " + inputs[0];
        return summary;
      }
      Chunk chunk{name, 0, 0, {}};
      std::uint64_t previous = 0;
      while (std::getline(in, line)) {
        std::uint64_t index = 0;
        if (!read_number(std::string_view(line).substr(0, line.find('\t')), index) ||
            index <= previous) {
          summary.error = name + ": a line out of order: " + line.substr(0, 40);
          return summary;
        }
        if (chunk.first == 0) chunk.first = index;
        chunk.last = previous = index;
        chunk.body += line;
        chunk.body += '\n';
      }
      if (chunk.first != 0) chunks.push_back(std::move(chunk));
    }
    std::sort(chunks.begin(), chunks.end(),
              [](const Chunk& a, const Chunk& b) { return a.first < b.first; });
    text = first_line + "\n";
    for (std::size_t i = 0; i < chunks.size(); ++i) {
      if (i > 0 && chunks[i].first <= chunks[i - 1].last) {
        summary.error = chunks[i - 1].name + " (squares " + std::to_string(chunks[i - 1].first) +
                        " to " + std::to_string(chunks[i - 1].last) + ") and " + chunks[i].name +
                        " (squares " + std::to_string(chunks[i].first) + " to " +
                        std::to_string(chunks[i].last) + ") overlap";
        return summary;
      }
      text += chunks[i].body;
    }
  }
  try {
    write_file_atomically(output, text);
  } catch (const std::exception& e) {
    summary.error = e.what();
  }
  return summary;
}

}  // namespace dlslab::batch
