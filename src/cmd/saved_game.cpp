#include "cmd/saved_game.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>

#include "model/parse_number.h"
#include "model/random.h"

namespace dlslab::cmd {
namespace {

constexpr const char* kHeader = "dlslab saved game 1";

void write_square(std::ostringstream& out, const char* key, const TLatinSquare& square) {
  out << key;
  for (int i = 0; i < square.size(); ++i) out << ' ' << square.data()[i];
  out << '\n';
}

void write_steps(std::ostringstream& out, const char* key,
                 const std::deque<BoardHistory::Step>& steps) {
  out << key << ' ' << steps.size() << '\n';
  for (const BoardHistory::Step& step : steps) {
    out << "step";
    for (const BoardHistory::Change& c : step)
      out << ' ' << int(c.square) << ' ' << int(c.row) << ' ' << int(c.col) << ' ' << c.before
          << ' ' << c.after;
    out << '\n';
  }
}

/// Reads the text line by line, each line a key and whole numbers; any fault makes it fail.
class Reader {
 public:
  explicit Reader(const std::string& text) : in_(text) {}

  /// The next line, which must read `text` and nothing else.
  bool whole_line(const char* text) {
    std::string read;
    return std::getline(in_, read) && read == text;
  }
  /// The next line, which must start with `key`; its numbers follow with number().
  bool line(const char* key) {
    std::string text;
    if (!std::getline(in_, text)) return false;
    line_.clear();
    line_.str(text);
    std::string word;
    return static_cast<bool>(line_ >> word) && word == key;
  }
  /// The next number of the line, which must lie in [low, high]. A word that is no such
  /// number stays unread, so that line_done() sees it.
  bool number(long long low, long long high, long long& value) {
    const std::streampos start = line_.tellg();
    std::string word;
    if (!(line_ >> word)) return false;
    const std::optional<long long> number = parse_number<long long>(word);
    if (!number || *number < low || *number > high) {
      line_.seekg(start);
      return false;
    }
    value = *number;
    return true;
  }
  bool word(std::string& value) { return static_cast<bool>(line_ >> value); }
  bool line_done() {
    std::string rest;
    return !(line_ >> rest);
  }
  bool text_done() {
    std::string rest;
    while (std::getline(in_, rest))
      if (!rest.empty()) return false;
    return true;
  }

 private:
  std::istringstream in_;
  std::istringstream line_;
};

bool read_square(Reader& in, const char* key, int n, TLatinSquare& square) {
  square = TLatinSquare(n);
  if (!in.line(key)) return false;
  for (int i = 0; i < n * n; ++i) {
    long long v = 0;
    if (!in.number(kEmpty, n - 1, v)) return false;
    square.data()[i] = static_cast<int>(v);
  }
  return in.line_done();
}

bool read_steps(Reader& in, const char* key, int n, std::deque<BoardHistory::Step>& steps) {
  long long count = 0;
  if (!in.line(key) || !in.number(0, BoardHistory::kMaxSteps, count) || !in.line_done())
    return false;
  const long long all_marks = (1ll << n) - 1;
  for (long long k = 0; k < count; ++k) {
    if (!in.line("step")) return false;
    BoardHistory::Step step;
    long long square = 0;
    while (in.number(BoardHistory::kFirst, BoardHistory::kMarks, square)) {
      long long row = 0, col = 0, before = 0, after = 0;
      const long long low = square == BoardHistory::kMarks ? 0 : kEmpty;
      const long long high = square == BoardHistory::kMarks ? all_marks : n - 1;
      if (!in.number(0, n - 1, row) || !in.number(0, n - 1, col) || !in.number(low, high, before) ||
          !in.number(low, high, after))
        return false;
      step.push_back({static_cast<std::int8_t>(square), static_cast<std::int8_t>(row),
                      static_cast<std::int8_t>(col), static_cast<std::int32_t>(before),
                      static_cast<std::int32_t>(after)});
    }
    if (step.empty() || !in.line_done()) return false;
    steps.push_back(std::move(step));
  }
  return true;
}

}  // namespace

std::string saved_game_text(const GameState& state) {
  const TLatinSquareClass& model = state.model;
  const CrosswordGame& game = state.game;
  const int n = model.GetOrder();
  std::ostringstream out;
  out << kHeader << '\n';
  out << "number " << game.number << '\n';
  out << "difficulty " << deal_kind_name(game.difficulty) << '\n';
  const double ms = std::round(std::max(state.played, 0.0) * 1000);
  out << "played_ms " << static_cast<long long>(std::min(ms, 1e15)) << '\n';
  out << "order " << n << '\n';
  out << "view " << int(model.ViewMode) << '\n';
  out << "cursor " << game.cursor.row << ' ' << game.cursor.col << '\n';
  write_square(out, "puzzle", state.puzzle);
  write_square(out, "first", model.FirstSquare);
  write_square(out, "second", model.SecondSquare);
  out << "marks";
  for (int i = 0; i < n * n; ++i)
    out << ' ' << (game.marks.order() == n ? game.marks.cells()[i] : 0u);
  out << '\n';
  write_steps(out, "undo", game.history.undo_steps());
  write_steps(out, "redo", game.history.redo_steps());
  out << "end\n";
  return out.str();
}

std::optional<GameState> parse_saved_game(const std::string& text) {
  Reader in(text);
  if (!in.whole_line(kHeader)) return std::nullopt;
  GameState state;
  CrosswordGame& game = state.game;
  long long number = 0, ms = 0, n = 0, view = 0, row = 0, col = 0;
  std::string kind;
  if (!in.line("number") || !in.number(0, std::numeric_limits<std::uint32_t>::max(), number) ||
      !in.line_done())
    return std::nullopt;
  if (!in.line("difficulty") || !in.word(kind) || !in.line_done()) return std::nullopt;
  if (kind != "any") {
    Difficulty difficulty{};
    if (!parse_difficulty(kind, difficulty)) return std::nullopt;
    game.difficulty = difficulty;
  }
  if (!in.line("played_ms") || !in.number(0, 1'000'000'000'000'000, ms) || !in.line_done() ||
      !in.line("order") || !in.number(1, kMaxOrder, n) || !in.line_done() || !in.line("view") ||
      !in.number(0, 1, view) || !in.line_done())
    return std::nullopt;
  const int order = static_cast<int>(n);
  const int columns = view == 0 ? order : 2 * order + 1;
  if (!in.line("cursor") || !in.number(0, order - 1, row) || !in.number(0, columns - 1, col) ||
      !in.line_done())
    return std::nullopt;
  TLatinSquare first, second;
  if (!read_square(in, "puzzle", order, state.puzzle) || !read_square(in, "first", order, first) ||
      !read_square(in, "second", order, second))
    return std::nullopt;
  game.marks.reset(order);
  if (!in.line("marks")) return std::nullopt;
  for (int r = 0; r < order; ++r)
    for (int c = 0; c < order; ++c) {
      long long marks = 0;
      if (!in.number(0, (1ll << order) - 1, marks)) return std::nullopt;
      game.marks.set(r, c, static_cast<std::uint32_t>(marks));
    }
  std::deque<BoardHistory::Step> undo, redo;
  if (!in.line_done() || !read_steps(in, "undo", order, undo) ||
      !read_steps(in, "redo", order, redo) || !in.whole_line("end") || !in.text_done())
    return std::nullopt;

  // SetOrder resets the colours, which reseeds the generator: a game read leaves it alone.
  const std::uint32_t seed = RandSeed;
  state.model.SetOrder(order);
  RandSeed = seed;
  state.model.ViewMode = static_cast<std::uint8_t>(view);
  state.model.FirstSquare = first;
  state.model.SecondSquare = second;
  for (int r = 0; r < order; ++r)
    for (int c = 0; c < order; ++c) state.model.FixedCells[r][c] = state.puzzle[r][c] >= 0;
  game.dealt = true;
  game.number = static_cast<std::uint32_t>(number);
  game.cursor = {static_cast<int>(row), static_cast<int>(col)};
  game.history.restore(std::move(undo), std::move(redo), state.model);
  state.played = static_cast<double>(ms) / 1000;
  return state;
}

}  // namespace dlslab::cmd
