#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cmd/crossword_game.h"
#include "collection/squares_collection.h"
#include "collection/stats.h"
#include "cover/odls.h"
#include "model/latin_square_class.h"
#include "model/types.h"

namespace dlslab::cmd {

/// The log of the main window: a list of lines, mirrored to whoever listens (the window's
/// memo, the CLI's stdout).
class Log {
 public:
  void Add(const std::string& line);
  void Clear();
  [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

  std::function<void(const std::string&)> on_add;
  std::function<void()> on_clear;

 private:
  std::vector<std::string> lines_;
};

/// Everything a command works on: the model, the log and the window's other state. The shells
/// (window, CLI, tests) own one and set the hooks they can serve.
struct Context {
  Context();

  TLatinSquareClass model;
  Log log;
  int pandiagonal_counter = 0;  ///< the k of "Create next pandiagonal"
  TLatinSquare puzzle;          ///< the dealt crossword, for "Start again"
  CrosswordGame game;           ///< the crossword's number, clock, cursor and undo history
  /// The game research mode set aside, brought back when it ends.
  std::optional<GameState> game_aside;
  /// false: "New game" deals from the generator's seed as it stands (the CLI's --seed)
  /// instead of seeding it from the clock.
  bool new_game_from_clock = true;
  /// The difficulty "New game" and "Play game number..." deal; none: the plain deal.
  std::optional<Difficulty> difficulty;
  /// Folder of the crossword's own files (the best times); nothing is kept when empty.
  std::string game_folder;
  TSquaresCollection collection;  ///< the collection browsed with the tool bar
  int spin_edit_value = 0;        ///< the tool bar's number field: the entry shown
  OdlsSearch odls;                ///< the mate searches and their scratch

  /// Redraws the view and the status line; commands end with it. No-op without a window.
  std::function<void()> update_view;
  /// Shows a message to the user (a message box in the window, stdout lines in the CLI).
  std::function<void(const std::string&)> show_message;
  /// A short word on what a command just did that the log does not show (the window's
  /// notice line); no-op unless set.
  std::function<void(const std::string&)> notice;
  /// Writes the view of the model as a BMP file of the given name (the window's bitmap, or an
  /// off-screen one in the CLI); throws when the file cannot be written.
  std::function<void(const std::string&)> save_bitmap;
  /// Writes the picture of per-cell histograms ("Draw statistical info") as a BMP file of the
  /// given name; throws when the file cannot be written.
  std::function<void(const CellHistograms&, const std::string&)> save_statistics_bitmap;

  /// Lets the shell handle pending events (the window repaints) while a command waits for
  /// outside programs; no-op unless set.
  std::function<void()> process_events;
  /// Folder of the benchmarks' test programs, with its trailing separator; the folder of the
  /// running program when empty.
  std::string test_program_folder;

  /// Seconds on a steady clock, for the game's timer; a steady_clock reading unless set.
  std::function<double()> clock;

  [[nodiscard]] double now() const;
  void UpdateView() const {
    if (update_view) update_view();
  }
  void notify(const std::string& text) const {
    if (notice) notice(text);
  }
};

}  // namespace dlslab::cmd
