#include "batch/merge.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "batch/form_set.h"
#include "batch/partial_files.h"
#include "batch/search.h"
#include "model/file_output.h"

namespace dlslab::batch {
namespace {

constexpr int kCells = kOrder * kOrder;

bool parse_number(std::string_view s, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

struct UnitOutput {
  std::string name;
  std::string generator;
  std::uint64_t first = 0;
  std::uint64_t count = 0;
  std::uint64_t checked = 0;
  std::uint64_t hits = 0;
  std::string column_line;
  std::vector<std::string> lines;  // the hit lines
};

std::string range(const UnitOutput& unit) {
  return unit.count == 0 ? "no seeds"
                         : "seeds " + std::to_string(unit.first) + " to " +
                               std::to_string(unit.first + unit.count - 1);
}

// Reads a unit's output; returns an error text.
std::string read_unit(const std::string& name, UnitOutput& unit) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return "cannot read " + name;
  unit.name = name;
  std::string header;
  std::getline(in, header);
  const std::string prefix = "# dlslab search generator=";
  const std::size_t seeds = header.find(" seeds=");
  const std::size_t colon = header.rfind(':');
  if (!header.starts_with(prefix) || seeds == std::string::npos || colon < seeds ||
      !parse_number(std::string_view(header).substr(seeds + 7, colon - seeds - 7), unit.first) ||
      !parse_number(std::string_view(header).substr(colon + 1), unit.count))
    return name + " is not the output of a search over a generator's seeds";
  unit.generator = header.substr(prefix.size(), seeds - prefix.size());
  std::getline(in, unit.column_line);
  bool ended = false;
  for (std::string line; std::getline(in, line);) {
    if (ended) return name + " goes on after its end line";
    if (line.starts_with("# end ")) {
      std::istringstream fields(line.substr(6));
      std::string word;
      while (fields >> word) {
        if (word.starts_with("checked=")) parse_number(word.substr(8), unit.checked);
        if (word.starts_with("hits=")) parse_number(word.substr(5), unit.hits);
      }
      ended = true;
      continue;
    }
    const std::size_t tab = line.find('\t');
    std::uint64_t seed = 0;
    if (tab == std::string::npos || !parse_number(std::string_view(line).substr(0, tab), seed) ||
        seed < unit.first || seed - unit.first >= unit.count)
      return name + ": a hit line outside " + range(unit) + ": " + line.substr(0, 40);
    unit.lines.push_back(line);
  }
  if (!ended) return name + " is not complete (no end line): its search has not finished";
  if (unit.hits != unit.lines.size())
    return name + " holds " + std::to_string(unit.lines.size()) + " hit lines, its end line says " +
           std::to_string(unit.hits);
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
  std::stable_sort(units.begin(), units.end(), [](const UnitOutput& a, const UnitOutput& b) {
    return a.first < b.first || (a.first == b.first && a.count < b.count);
  });
  for (std::size_t i = 1; i < units.size(); ++i) {
    const UnitOutput& a = units[i - 1];
    const UnitOutput& b = units[i];
    const std::uint64_t a_end = a.first + a.count;
    if (b.first < a_end) {
      summary.error = a.name + " (" + range(a) + ") and " + b.name + " (" + range(b) +
                      ") overlap in seeds " + std::to_string(b.first) + " to " +
                      std::to_string(std::min(a_end, b.first + b.count) - 1);
      return summary;
    }
    if (b.first > a_end) {
      summary.error = "seeds " + std::to_string(a_end) + " to " + std::to_string(b.first - 1) +
                      " are missing between " + a.name + " (" + range(a) + ") and " + b.name +
                      " (" + range(b) + ")";
      return summary;
    }
  }
  SearchUnit whole;
  whole.generator = units[0].generator;
  whole.first = units.front().first;
  whole.count = units.back().first + units.back().count - whole.first;
  std::string text = search_header(whole) + "\n" + units[0].column_line + "\n";
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
      WriteFileAtomically(forms_name, forms_text);
    }
    WriteFileAtomically(output, text);
  } catch (const std::exception& e) {
    summary.error = e.what();
  }
  return summary;
}

}  // namespace dlslab::batch
