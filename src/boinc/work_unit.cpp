#include "boinc/work_unit.h"

#include <optional>

#include "model/error.h"
#include "model/parse_number.h"

namespace dlslab::boinc {
namespace {

constexpr std::string_view kMagic = "dlslab work unit";

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// "A:B" with both parts numbers.
template <class T>
std::optional<std::pair<T, T>> pair(std::string_view s, char separator) {
  const std::size_t at = s.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  const auto a = parse_number<T>(s.substr(0, at));
  const auto b = parse_number<T>(s.substr(at + 1));
  if (!a || !b) return std::nullopt;
  return std::pair{*a, *b};
}

}  // namespace

WorkUnit parse_work_unit(std::string_view text) {
  WorkUnit unit;
  bool magic = false;
  bool seeds = false;
  bool chunk = false;
  int line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    const auto fail = [&](const std::string& why) {
      throw Error("Work unit line " + std::to_string(line_number) + ": " + why);
    };
    if (line.empty() || line.front() == '#') continue;
    if (!magic) {
      if (line != kMagic) fail("not a dlslab work unit (it must begin with \"dlslab work unit\")");
      magic = true;
      continue;
    }
    const std::size_t space = line.find_first_of(" \t");
    const std::string_view key = line.substr(0, space);
    const std::string_view value =
        space == std::string_view::npos ? std::string_view() : trim(line.substr(space));
    if (value.empty()) fail("\"" + std::string(key) + "\" needs a value");
    if (key == "generator") {
      unit.generator = value;
    } else if (key == "seeds") {
      const auto range = pair<std::uint64_t>(value, ':');
      if (!range || range->second == 0 || range->first + range->second < range->first)
        fail("seeds are FIRST:COUNT with COUNT at least 1, not \"" + std::string(value) + "\"");
      unit.first_seed = range->first;
      unit.seed_count = range->second;
      seeds = true;
    } else if (key == "input") {
      unit.input = value;
    } else if (key == "name") {
      unit.name = value;
    } else if (key == "chunk") {
      const auto part = pair<unsigned>(value, '/');
      if (!part || part->first == 0 || part->first > part->second)
        fail("chunk is K/N with 1 <= K <= N, not \"" + std::string(value) + "\"");
      unit.chunk = part->first;
      unit.chunks = part->second;
      chunk = true;
    } else {
      fail("unknown setting \"" + std::string(key) + "\"");
    }
  }
  if (!magic) throw Error("Work unit is empty");
  if (seeds == !unit.input.empty() || chunk != !unit.input.empty())
    throw Error("Work unit: give either \"seeds\" or \"input\" with \"chunk\"");
  if (!unit.name.empty() && unit.input.empty())
    throw Error("Work unit: \"name\" names an input file, and there is none");
  if (unit.name.empty()) unit.name = unit.input;
  return unit;
}

}  // namespace dlslab::boinc
