#include "cmd/crossword_game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

#include "model/error.h"
#include "model/file_output.h"
#include "model/ls_data_structs.h"
#include "model/parse_number.h"

namespace dlslab::cmd {
namespace {

/// Whether the keyboard may change the view cell: the cursor's cell and not a protected clue.
/// The pair view has no clue test, as for the mouse.
bool is_free_cell(const TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell) {
  if (!is_cursor_cell(model, cell)) return false;
  return model.ViewMode != 0 || !is_clue_cell(puzzle, cell.row, cell.col);
}

/// The cursor brought back onto the grid after the order or the view changed under it.
CellPos on_grid(const TLatinSquareClass& model, CellPos cell) {
  const int n = model.GetOrder();
  const int width = cursor_columns(model);
  cell.row = std::clamp(cell.row, 0, n - 1);
  cell.col = std::clamp(cell.col, 0, width - 1);
  if (model.ViewMode != 0 && cell.col == n) cell.col = n - 1;
  return cell;
}

/// The next (step +1) or previous (-1) free cell in reading order, wrapping round; `from`
/// itself only when no other cell is free.
CellPos next_free(const TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos from,
                  int step) {
  const int width = cursor_columns(model);
  const int cells = model.GetOrder() * width;
  const int start = from.row * width + from.col;
  for (int k = 1; k < cells; ++k) {
    const int index = ((start + step * k) % cells + cells) % cells;
    const CellPos cell{index / width, index % width};
    if (is_free_cell(model, puzzle, cell)) return cell;
  }
  return from;
}

}  // namespace

int cursor_columns(const TLatinSquareClass& model) {
  const int n = model.GetOrder();
  return model.ViewMode == 0 ? n : 2 * n + 1;
}

bool is_cursor_cell(const TLatinSquareClass& model, CellPos cell) {
  const int n = model.GetOrder();
  if (cell.row < 0 || cell.row >= n || cell.col < 0 || cell.col >= cursor_columns(model))
    return false;
  return model.ViewMode == 0 || cell.col != n;
}

CellPos move_cursor(const TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos from,
                    CursorMove move) {
  const int n = model.GetOrder();
  if (n <= 0) return {};
  const bool pair = model.ViewMode != 0;
  const int last = cursor_columns(model) - 1;
  CellPos cell = on_grid(model, from);
  switch (move) {
    case CursorMove::kLeft:
      if (cell.col > 0) --cell.col;
      if (pair && cell.col == n) --cell.col;
      break;
    case CursorMove::kRight:
      if (cell.col < last) ++cell.col;
      if (pair && cell.col == n) ++cell.col;
      break;
    case CursorMove::kUp:
      if (cell.row > 0) --cell.row;
      break;
    case CursorMove::kDown:
      if (cell.row < n - 1) ++cell.row;
      break;
    case CursorMove::kRowStart:
      cell.col = 0;
      break;
    case CursorMove::kRowEnd:
      cell.col = last;
      break;
    case CursorMove::kNextFree:
      cell = next_free(model, puzzle, cell, +1);
      break;
    case CursorMove::kPrevFree:
      cell = next_free(model, puzzle, cell, -1);
      break;
  }
  return cell;
}

CellPos first_free_cell(const TLatinSquareClass& model, const TLatinSquare& puzzle) {
  const int width = cursor_columns(model);
  for (int r = 0; r < model.GetOrder(); ++r)
    for (int c = 0; c < width; ++c)
      if (is_free_cell(model, puzzle, {r, c})) return {r, c};
  return {};
}

bool is_solved(const TLatinSquare& board, const TLatinSquare& puzzle) {
  const int n = board.order();
  if (n == 0 || puzzle.order() != n) return false;
  for (int i = 0; i < board.size(); ++i) {
    const int v = board.data()[i];
    if (v < 0 || v >= n) return false;
    if (puzzle.data()[i] >= 0 && puzzle.data()[i] != v) return false;
  }
  return IsDiagonalLatin(board);
}

std::string format_game_time(double seconds) {
  const long long total = seconds > 0 ? static_cast<long long>(std::floor(seconds)) : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld", total / 60, total % 60);
  return text;
}

namespace {
constexpr const char* kBestTimesHeader = "dlslab best times 1";
int kind_index(std::optional<Difficulty> kind) { return kind ? static_cast<int>(*kind) + 1 : 0; }
}  // namespace

std::string deal_kind_name(std::optional<Difficulty> kind) {
  return kind ? std::string(difficulty_name(*kind)) : "any";
}

std::string BestTimes::to_text() const {
  std::string text = std::string(kBestTimesHeader) + "\n";
  for (int i = 0; i < 4; ++i) {
    if (!seconds_[i]) continue;
    const std::optional<Difficulty> kind =
        i == 0 ? std::nullopt : std::optional(static_cast<Difficulty>(i - 1));
    text += deal_kind_name(kind) + " " + std::to_string(*seconds_[i]) + "\n";
  }
  return text;
}

std::optional<BestTimes> BestTimes::from_text(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kBestTimesHeader) return std::nullopt;
  BestTimes times;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const auto blank = line.find(' ');
    if (blank == std::string::npos) return std::nullopt;
    const std::string word = line.substr(0, blank);
    std::optional<Difficulty> kind;
    Difficulty difficulty{};
    if (word != "any") {
      if (!parse_difficulty(word, difficulty)) return std::nullopt;
      kind = difficulty;
    }
    const std::optional<int> seconds = parse_number<int>(std::string_view(line).substr(blank + 1));
    if (!seconds || *seconds < 0) return std::nullopt;
    times.seconds_[kind_index(kind)] = *seconds;
  }
  return times;
}

BestTimes BestTimes::load(const std::string& file_name, std::string* error) {
  std::ifstream in(file_name, std::ios::binary);
  if (!in) return {};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (std::optional<BestTimes> times = from_text(bytes.str())) return *times;
  if (error) *error = "\"" + file_name + "\" is no file of best times; it is left out.";
  return {};
}

void BestTimes::save(const std::string& file_name) const {
  write_file_atomically(file_name, to_text());
}

std::optional<int> BestTimes::best(std::optional<Difficulty> kind) const {
  return seconds_[kind_index(kind)];
}

bool BestTimes::offer(std::optional<Difficulty> kind, double seconds) {
  const int whole = seconds > 0 ? static_cast<int>(std::min(std::floor(seconds), 2e9)) : 0;
  std::optional<int>& best = seconds_[kind_index(kind)];
  if (best && *best <= whole) return false;
  best = whole;
  return true;
}

void PencilMarks::reset(int n) {
  n_ = n;
  cells_.fill(0);
}

bool PencilMarks::empty() const {
  return std::all_of(cells_.begin(), cells_.end(), [](std::uint32_t m) { return m == 0; });
}

bool PencilMarks::clear_filled(const TLatinSquare& square) {
  if (square.order() != n_) return false;
  bool any = false;
  for (int i = 0; i < n_ * n_; ++i) {
    if (square.data()[i] < 0 || cells_[i] == 0) continue;
    cells_[i] = 0;
    any = true;
  }
  return any;
}

void BoardHistory::reset(const TLatinSquareClass& model) {
  undo_.clear();
  redo_.clear();
  remember(model);
}

void BoardHistory::restore(std::deque<Step> undo_steps, std::deque<Step> redo_steps,
                           const TLatinSquareClass& model) {
  undo_ = std::move(undo_steps);
  redo_ = std::move(redo_steps);
  remember(model);
}

void BoardHistory::record(const TLatinSquare& first, const TLatinSquare& second,
                          const PencilMarks& marks_before, const TLatinSquareClass& model,
                          const PencilMarks& marks) {
  if (first.order() != model.FirstSquare.order() || second.order() != model.SecondSquare.order()) {
    reset(model);
    return;
  }
  if (!(first == first_ && second == second_)) {
    undo_.clear();
    redo_.clear();
  }
  Step step;
  const TLatinSquare* before[2] = {&first, &second};
  const TLatinSquare* after[2] = {&model.FirstSquare, &model.SecondSquare};
  const int n = first.order();
  auto change = [&step](int square, int r, int c, int was, int is) {
    step.push_back({static_cast<std::int8_t>(square), static_cast<std::int8_t>(r),
                    static_cast<std::int8_t>(c), was, is});
  };
  for (int s = 0; s < 2; ++s)
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c)
        if ((*before[s])[r][c] != (*after[s])[r][c])
          change(s, r, c, (*before[s])[r][c], (*after[s])[r][c]);
  if (marks_before.order() == n && marks.order() == n)
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c)
        if (marks_before.at(r, c) != marks.at(r, c))
          change(kMarks, r, c, static_cast<int>(marks_before.at(r, c)),
                 static_cast<int>(marks.at(r, c)));
  remember(model);
  if (step.empty()) return;
  undo_.push_back(std::move(step));
  if (undo_.size() > kMaxSteps) undo_.pop_front();
  redo_.clear();
}

std::optional<CellPos> BoardHistory::undo(TLatinSquareClass& model, PencilMarks& marks) {
  return apply(model, marks, undo_, redo_, false);
}

std::optional<CellPos> BoardHistory::redo(TLatinSquareClass& model, PencilMarks& marks) {
  return apply(model, marks, redo_, undo_, true);
}

bool BoardHistory::can_undo(const TLatinSquareClass& model) const {
  return !undo_.empty() && follows(model);
}

bool BoardHistory::can_redo(const TLatinSquareClass& model) const {
  return !redo_.empty() && follows(model);
}

bool BoardHistory::follows(const TLatinSquareClass& model) const {
  return model.FirstSquare == first_ && model.SecondSquare == second_;
}

void BoardHistory::remember(const TLatinSquareClass& model) {
  first_ = model.FirstSquare;
  second_ = model.SecondSquare;
}

std::optional<CellPos> BoardHistory::apply(TLatinSquareClass& model, PencilMarks& marks,
                                           std::deque<Step>& from, std::deque<Step>& to,
                                           bool forward) {
  if (!follows(model)) {
    // Something other than the player changed the board: the steps no longer fit it.
    reset(model);
    return std::nullopt;
  }
  if (from.empty()) return std::nullopt;
  Step step = std::move(from.back());
  from.pop_back();
  const int n = model.GetOrder();
  for (const Change& change : step) {
    const int value = forward ? change.after : change.before;
    if (change.square == kMarks) {
      if (marks.order() == n) marks.set(change.row, change.col, static_cast<std::uint32_t>(value));
      continue;
    }
    TLatinSquare& square = change.square == kFirst ? model.FirstSquare : model.SecondSquare;
    square[change.row][change.col] = value;
  }
  remember(model);
  const Change& first = step.front();
  const CellPos cell{first.row, first.square == kSecond ? first.col + n + 1 : first.col};
  to.push_back(std::move(step));
  return cell;
}

}  // namespace dlslab::cmd
