#include "batch/partial_files.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include "model/parse_number.h"

namespace dlslab::batch {
namespace {

constexpr int kCells = kOrder * kOrder;

}  // namespace

// The collection format's separator line after each form holds its multiplicity: the
// collection reader skips that line unread, so the file still loads as a collection, and it is
// where --resume reads the counts back from.
bool write_forms(Operation operation, bool tsv, const FormSet& forms,
                 const std::function<bool(std::string_view)>& write) {
  constexpr std::size_t kPiece = 1 << 20;
  std::string text;
  text.reserve(kPiece + 512);
  if (tsv) {
    text += tsv_header(operation);
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

TsvPartial scan_tsv_partial(const std::string& name, std::string_view header,
                            std::uint64_t first_index) {
  TsvPartial partial;
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    partial.error = "cannot open " + name;
    return partial;
  }
  std::vector<char> buffer(1 << 20);
  std::uint64_t offset = 0;
  std::uint64_t newlines = 0;
  std::uint64_t last_break = 0;  // offset just after the last line break
  std::uint64_t previous_break = 0;
  std::string first_line;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto n = static_cast<std::size_t>(in.gcount());
    if (n == 0) break;
    for (std::size_t i = 0; i < n; ++i) {
      if (newlines == 0 && buffer[i] != '\n' && first_line.size() <= header.size())
        first_line += buffer[i];
      if (buffer[i] == '\n') {
        ++newlines;
        previous_break = last_break;
        last_break = offset + i + 1;
      }
    }
    offset += n;
  }
  if (newlines == 0) return partial;  // not even the header is complete: start afresh
  if (first_line != header) {
    partial.error = name + " is not the output of this operation";
    return partial;
  }
  partial.keep_bytes = last_break;
  partial.done = newlines - 1;
  if (partial.done == 0) return partial;
  char line[160];
  in.clear();
  in.seekg(static_cast<std::streamoff>(previous_break));
  in.read(line, sizeof line);
  const std::string_view text(line,
                              static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
  const std::size_t tab = text.find('\t');
  std::uint64_t index = 0;
  if (tab == std::string_view::npos || !read_number(text.substr(0, tab), index) ||
      index != first_index - 1 + partial.done || text.size() < tab + 1 + kCells) {
    partial.error =
        name + " is damaged: its last line is not result " + std::to_string(partial.done);
  } else {
    Digits digits{};
    std::copy_n(text.data() + tab + 1, kCells, digits.begin());
    partial.last = digits;
  }
  return partial;
}

std::uint64_t load_forms_partial(const std::string& name, bool tsv, Operation operation,
                                 FormSet& forms, std::string& error) {
  std::uint64_t done = 0;
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    error = "cannot open " + name;
    return 0;
  }
  const std::string damaged = name + " is not a partial output of batch " +
                              std::string(operation_name(operation)) + " in this format";
  std::string line;
  auto next_line = [&]() {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };
  auto add = [&](std::string_view form, std::uint64_t count) {
    Digits digits{};
    std::copy_n(form.data(), kCells, digits.begin());
    forms.add(digits, FormSet::hash(digits), count);
    done += count;
  };
  if (tsv) {
    if (!next_line()) return 0;  // nothing written yet
    if (line != tsv_header(operation)) {
      error = damaged;
      return 0;
    }
    while (next_line()) {
      const std::size_t a = line.find('\t');
      const std::size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
      std::uint64_t index = 0;
      std::uint64_t count = 0;
      if (b == std::string::npos || b - a - 1 != kCells ||
          !read_number(std::string_view(line).substr(0, a), index) || index != forms.size() + 1 ||
          !read_number(std::string_view(line).substr(b + 1), count) || count == 0) {
        error = damaged;
        return 0;
      }
      add(std::string_view(line).substr(a + 1, kCells), count);
    }
    return done;
  }
  std::string form;
  while (next_line()) {
    if (forms.size() == 0 && form.empty() && line == "-") return done;
    const std::size_t p = !line.empty() && line.front() == ' ' ? 1 : 0;
    if (line.size() < p + 2 * (kOrder - 1) + 1) {
      error = damaged;
      return 0;
    }
    for (int j = 0; j < kOrder; ++j) form += line[p + 2 * j];
    if (form.size() < kCells) continue;
    std::uint64_t count = 0;
    if (!next_line() || !read_number(line, count) || count == 0) {
      error = damaged;
      return 0;
    }
    add(form, count);
    form.clear();
  }
  if (!form.empty()) error = damaged;
  return form.empty() ? done : 0;
}

}  // namespace dlslab::batch
