#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fill/puzzle_rating.h"
#include "model/latin_square_class.h"
#include "model/square_view.h"
#include "model/types.h"

// The crossword as a game: the keyboard cursor, the history of the player's changes, the game
// number and clock, and the solved test. Nothing here draws or reads keys; the window maps its
// keys onto these rules and paints what they leave in the model.
namespace dlslab::cmd {

/// The window's caption in the crossword; the game number and the clock follow it.
inline constexpr const char* kCrosswordCaption = "Diagonal Latin squares crossword";

/// Ways the keyboard moves the cursor.
enum class CursorMove {
  kLeft,
  kRight,
  kUp,
  kDown,
  kRowStart,  ///< Home
  kRowEnd,    ///< End
  kNextFree,  ///< Tab: the next cell that is not a clue, row by row, wrapping round
  kPrevFree,  ///< Shift+Tab: the previous one
};

/// Number of view columns the cursor ranges over: N in the single view, 2N + 1 in the pair
/// view (column N is the gap, which the cursor never stands on).
[[nodiscard]] int cursor_columns(const TLatinSquareClass& model);

/// Whether the cursor may stand on the view cell: inside the grid and not on the gap.
[[nodiscard]] bool is_cursor_cell(const TLatinSquareClass& model, CellPos cell);

/// The cell the cursor reaches from `from` by one move. Arrows and Home/End stop at the edges
/// and step over the gap of the pair view; Tab and Shift+Tab skip the clues and stay put when
/// every other cell is a clue. A cursor off the board (the order changed) first comes back
/// to the nearest cell.
[[nodiscard]] CellPos move_cursor(const TLatinSquareClass& model, const TLatinSquare& puzzle,
                                  CellPos from, CursorMove move);

/// The first cell, row by row, that is not a clue; (0, 0) when every cell is one.
[[nodiscard]] CellPos first_free_cell(const TLatinSquareClass& model, const TLatinSquare& puzzle);

/// A solved board: every cell filled, no value repeated in a row, column or diagonal, and every
/// clue of the puzzle in place.
[[nodiscard]] bool is_solved(const TLatinSquare& board, const TLatinSquare& puzzle);

/// Minutes and seconds, "mm:ss"; the minutes grow past 99 when they must.
[[nodiscard]] std::string format_game_time(double seconds);

/// The player's pencil marks: for each cell of the first square the candidate values noted in
/// it, bit v for value v (an order of up to 30 fits). They belong to the game alone.
class PencilMarks {
 public:
  /// No marks, for a square of order n.
  void reset(int n);
  [[nodiscard]] int order() const { return n_; }
  [[nodiscard]] std::uint32_t at(int row, int col) const { return cells_[row * n_ + col]; }
  void set(int row, int col, std::uint32_t marks) { cells_[row * n_ + col] = marks; }
  /// The marks row by row, n x n of them.
  [[nodiscard]] std::span<const std::uint32_t> cells() const {
    return {cells_.data(), static_cast<std::size_t>(n_ * n_)};
  }
  [[nodiscard]] bool empty() const;
  /// Takes the marks off every cell of `square` that holds a value; true when any went.
  bool clear_filled(const TLatinSquare& square);

  bool operator==(const PencilMarks&) const = default;

 private:
  int n_ = 0;
  std::array<std::uint32_t, kMaxOrder * kMaxOrder> cells_{};
};

/// The player's changes to the two squares and to the pencil marks, step by step, for undo and
/// redo. A step is every cell one action changed ("Start again" is one step however many cells
/// it empties; a value written is one step with the marks it took off its cell).
///
/// The history follows the board only while nothing else writes to it: a research command
/// that changes a square makes the recorded steps meaningless, so the next record, undo or redo
/// that finds the board not as the history left it starts afresh from the board as it is.
class BoardHistory {
 public:
  /// Forgets every step; the model's squares become the starting point.
  void reset(const TLatinSquareClass& model);
  /// Records the change from (first, second, marks_before), the board before the action, to
  /// the model's squares and `marks` now. Nothing is recorded when no cell changed; a change of
  /// order is not undoable and starts a fresh history.
  void record(const TLatinSquare& first, const TLatinSquare& second,
              const PencilMarks& marks_before, const TLatinSquareClass& model,
              const PencilMarks& marks);
  /// Takes the last step back. Returns the view cell of the step's first change, or nullopt
  /// when there is nothing to undo.
  std::optional<CellPos> undo(TLatinSquareClass& model, PencilMarks& marks);
  /// Does the last undone step again; as undo().
  std::optional<CellPos> redo(TLatinSquareClass& model, PencilMarks& marks);

  [[nodiscard]] bool can_undo(const TLatinSquareClass& model) const;
  [[nodiscard]] bool can_redo(const TLatinSquareClass& model) const;

  /// At most this many steps are kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 10000;

  /// One cell's change: a value of a square, or the pencil marks of a cell of the first one.
  struct Change {
    std::int8_t square;  ///< kFirst, kSecond or kMarks
    std::int8_t row;
    std::int8_t col;
    std::int32_t before;  ///< the value (kEmpty for none), or the marks
    std::int32_t after;
    bool operator==(const Change&) const = default;
  };
  static constexpr std::int8_t kFirst = 0, kSecond = 1, kMarks = 2;
  using Step = std::vector<Change>;

  /// The steps to undo, oldest first, and the steps to redo, the next one last: what a kept
  /// game writes down.
  [[nodiscard]] const std::deque<Step>& undo_steps() const { return undo_; }
  [[nodiscard]] const std::deque<Step>& redo_steps() const { return redo_; }
  /// The history of a kept game: its steps, over the model's squares as they are.
  void restore(std::deque<Step> undo_steps, std::deque<Step> redo_steps,
               const TLatinSquareClass& model);

 private:
  [[nodiscard]] bool follows(const TLatinSquareClass& model) const;
  void remember(const TLatinSquareClass& model);
  std::optional<CellPos> apply(TLatinSquareClass& model, PencilMarks& marks, std::deque<Step>& from,
                               std::deque<Step>& to, bool forward);

  std::deque<Step> undo_;
  std::deque<Step> redo_;
  TLatinSquare first_;  ///< the squares as the last record, undo or redo left them
  TLatinSquare second_;
};

/// The shortest solving time of each kind of deal (the plain deal and each difficulty), kept in
/// a small text file: a first line "dlslab best times 1", then lines "<kind> <seconds>".
class BestTimes {
 public:
  /// The times of the file; none when it does not exist. A damaged file gives none as well and
  /// says why in `error` (when given).
  static BestTimes load(const std::string& file_name, std::string* error = nullptr);
  /// Writes the file atomically; throws Error when it cannot.
  void save(const std::string& file_name) const;

  [[nodiscard]] std::string to_text() const;
  /// The times the text holds, or nullopt when it is not such a text.
  [[nodiscard]] static std::optional<BestTimes> from_text(const std::string& text);

  /// Whole seconds, as the caption shows them.
  [[nodiscard]] std::optional<int> best(std::optional<Difficulty> kind) const;
  /// Counts a solution's time; true when it is the best for its kind so far.
  bool offer(std::optional<Difficulty> kind, double seconds);

 private:
  std::optional<int> seconds_[4];  ///< the plain deal, then easy, medium, hard
};

/// "any" for the plain deal, else the difficulty's name: the words of the best-times file.
[[nodiscard]] std::string deal_kind_name(std::optional<Difficulty> kind);

/// One dealt game and the player's progress in it.
struct CrosswordGame {
  bool dealt = false;
  std::uint32_t number = 0;  ///< the generator's seed the deal started from
  /// The rating the deal was chosen for; none for the plain deal of the number.
  std::optional<Difficulty> difficulty;
  double dealt_at = 0;  ///< clock reading at the deal, in seconds
  /// Seconds from the deal to the solution while the board stays solved.
  std::optional<double> solved_after;
  /// The best time of the game's kind once it is solved, this solution counted, and whether
  /// this solution set it.
  std::optional<int> best_time;
  bool new_best = false;
  CellPos cursor;
  PencilMarks marks;  ///< the player's notes of candidates in empty cells
  BoardHistory history;
};

/// A game as a whole, taken out of the window and put back: what research mode sets aside
/// and brings back, and what a kept game holds.
struct GameState {
  TLatinSquareClass model;  ///< the board, its clues (FixedCells), its colours and view
  TLatinSquare puzzle;      ///< the dealt puzzle
  CrosswordGame game;       ///< number, cursor, pencil marks, history, solved state
  double played = 0;        ///< seconds on the game's clock when it was taken
};

}  // namespace dlslab::cmd
