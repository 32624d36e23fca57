#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cmd/context.h"

namespace dlslab::cmd {

/// What a command asks the user for before it runs; the CLI takes it as the next argument.
enum class ArgKind {
  kNone,
  kOpenFile,
  kSaveFile,
  kText,
  kOrder,
  kFolder,
  kGameNumber,
  kSearch,  ///< a generator, a number of squares and optionally the first seed
};

/// The items the window treats in a way of their own (a file filter, an action it keeps, an
/// action of the window itself); every other item is kNone.
enum class MenuId {
  kNone,
  kLoadFromFile,
  kSaveToFile,
  kSaveAsBmp,
  kExit,
  kDiagnostics,
  kNewGame,
  kUndo,
  kRedo,
  kRules,
  kResearchMode,
  kCount,  ///< not an item: the number of ids
};

/// What an item needs of the model or the collection before it can act; the window greys it
/// meanwhile. The CLI runs every command regardless.
enum class Needs {
  kNothing,
  kPair,        ///< the pair view: the command reads both squares
  kCollection,  ///< a loaded collection with at least one square
};

/// Runs a command; `arg` is what ArgKind asked for (empty for kNone).
using Handler = void (*)(Context& ctx, const std::string& arg);

/// One line of the menu bar. The window builds its menus from this table, the CLI looks its
/// commands up in it, so the two can never disagree.
struct MenuEntry {
  constexpr MenuEntry(int depth_, std::string_view caption_, std::string_view name_,
                      ArgKind arg_ = ArgKind::kNone, Handler handler_ = nullptr,
                      int radio_group_ = 0, std::string_view shortcut_ = {},
                      bool window_only_ = false)
      : depth(depth_),
        caption(caption_),
        name(name_),
        arg(arg_),
        handler(handler_),
        radio_group(radio_group_),
        shortcut(shortcut_),
        window_only(window_only_) {}

  int depth;                 ///< 0 top-level menu, 1 its item, 2 an item of a submenu
  std::string_view caption;  ///< "-" for a separator
  std::string_view name;     ///< the handler's (or the component's) name
  ArgKind arg = ArgKind::kNone;
  Handler handler = nullptr;  ///< nullptr: a menu, a separator, or a command not available yet
  int radio_group = 0;        ///< items sharing a non-zero group are exclusive radio items
  std::string_view shortcut;  ///< key sequences separated by "; ", e.g. "F2"
  bool window_only = false;   ///< acts on the window itself ("Exit"); no command-layer handler
  MenuId id = MenuId::kNone;
  /// Can run for seconds or more: the window runs it on a worker thread with a progress bar
  /// and a Cancel button instead of blocking.
  bool long_running = false;
  Needs needs = Needs::kNothing;
};

/// The whole menu bar in display order.
[[nodiscard]] std::span<const MenuEntry> menu_table();

/// True for a menu or submenu entry (the next entry is deeper).
[[nodiscard]] bool is_container(std::span<const MenuEntry> table, std::size_t index);

/// The command a CLI word names: its caption regardless of case, a trailing "..." optional.
/// Returns nullptr when no command has that caption.
[[nodiscard]] const MenuEntry* find_command(std::string_view word);

/// The item of that id; every id but kNone names exactly one item.
[[nodiscard]] const MenuEntry& find_menu_item(MenuId id);

/// True when what the item needs (MenuEntry::needs) is there.
[[nodiscard]] bool can_act(const MenuEntry& entry, const Context& ctx);

}  // namespace dlslab::cmd
