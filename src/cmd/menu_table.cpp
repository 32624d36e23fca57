#include "cmd/menu_table.h"

#include <array>
#include <cassert>
#include <cctype>

#include "cmd/benchmark_commands.h"
#include "cmd/canon_commands.h"
#include "cmd/collection_commands.h"
#include "cmd/cover_commands.h"
#include "cmd/crossword_commands.h"
#include "cmd/family_commands.h"
#include "cmd/fill_commands.h"
#include "cmd/generalized_symmetry_commands.h"
#include "cmd/model_commands.h"
#include "cmd/property_commands.h"
#include "cmd/search_commands.h"
#include "cmd/stats_commands.h"
#include "cmd/transform_commands.h"
#include "cmd/view_commands.h"
#include "model/error.h"
#include "model/parse_number.h"
#include "model/square_catalogue.h"

namespace dlslab::cmd {
namespace {

// Adapters from the uniform table signature to the typed commands.
template <void (*F)(Context&)>
void no_arg(Context& ctx, const std::string&) {
  F(ctx);
}
template <void (*F)(Context&, const std::string&)>
void with_arg(Context& ctx, const std::string& arg) {
  F(ctx, arg);
}
template <int I>
void special_square(Context& ctx, const std::string&) {
  load_special_type(ctx, kSpecialSquares[I]);
}
template <int I>
void radio_item(Context& ctx, const std::string&) {
  RadioItemClick(ctx, I);
}
void set_order(Context& ctx, const std::string& arg) {
  const std::optional<int> order = parse_number<int>(arg);
  if (!order) throw Error("\"" + arg + "\" is not an order.");
  SetOrderMenuItemClick(ctx, *order);
}

void play_game_number(Context& ctx, const std::string& arg) {
  PlayGameNumberMenuItemClick(ctx, parse_game_number(arg));
}

template <int D>
void difficulty_item(Context& ctx, const std::string&) {
  DifficultyMenuItemClick(ctx, D < 0 ? std::nullopt : std::optional(static_cast<Difficulty>(D)));
}

using A = ArgKind;

/// An item the window handles on its own (closing it, showing its hidden parts).
constexpr MenuEntry window_only_entry(MenuId id, int depth, std::string_view caption,
                                      std::string_view name, std::string_view shortcut = {}) {
  MenuEntry entry(depth, caption, name, ArgKind::kNone, nullptr, 0, shortcut, true);
  entry.id = id;
  return entry;
}

/// An item the window knows by its id.
constexpr MenuEntry id(MenuId id, MenuEntry entry) {
  entry.id = id;
  return entry;
}

/// A command that may run long (see MenuEntry::long_running).
constexpr MenuEntry long_command(MenuEntry entry) {
  entry.long_running = true;
  return entry;
}

/// A command that reads both squares of the pair view.
constexpr MenuEntry pair_only(MenuEntry entry) {
  entry.needs = Needs::kPair;
  return entry;
}

/// A command over the browsed collection.
constexpr MenuEntry on_collection(MenuEntry entry) {
  entry.needs = Needs::kCollection;
  return entry;
}

#define SPECIAL(I) \
  { 2, kSpecialSquares[I].caption, kSpecialSquares[I].handler, A::kNone, &special_square<I> }

// clang-format off
const std::array kTable = {
  MenuEntry{0, "File", "FileMenuItem"},
  id(MenuId::kLoadFromFile, {1, "Load from file...", "LoadMenuItemClick", A::kOpenFile, &with_arg<LoadMenuItemClick>}),
  MenuEntry{1, "Import square...", "ImportSquareMenuItemClick", A::kText, &with_arg<ImportSquareMenuItemClick>},
  MenuEntry{1, "Import pair...", "ImportPairMenuItemClick", A::kText, &with_arg<ImportPairMenuItemClick>},
  MenuEntry{1, "Load one of special types (order 10)", "LoadSpecialTypesMenuItem"},
  MenuEntry SPECIAL(0), MenuEntry SPECIAL(1), MenuEntry SPECIAL(2), MenuEntry SPECIAL(3),
  MenuEntry SPECIAL(4), MenuEntry SPECIAL(5), MenuEntry SPECIAL(6), MenuEntry SPECIAL(7),
  MenuEntry SPECIAL(8), MenuEntry SPECIAL(9), MenuEntry SPECIAL(10), MenuEntry SPECIAL(11),
  MenuEntry SPECIAL(12), MenuEntry SPECIAL(13), MenuEntry SPECIAL(14), MenuEntry SPECIAL(15),
  MenuEntry SPECIAL(16), MenuEntry SPECIAL(17), MenuEntry SPECIAL(18),
  MenuEntry{2, "-", ""},
  MenuEntry SPECIAL(19),
  id(MenuId::kSaveToFile, {1, "Save to file...", "SaveMenuItemClick", A::kSaveFile, &with_arg<SaveMenuItemClick>}),
  id(MenuId::kSaveAsBmp, {1, "Save as bmp...", "SaveAsBmpClick", A::kSaveFile, &with_arg<SaveAsBmpClick>}),
  MenuEntry{1, "-", ""},
  long_command(MenuEntry{1, "Load collection...", "LoadCollectionMenuItemClick", A::kOpenFile, &with_arg<LoadCollectionMenuItemClick>}),
  MenuEntry{1, "-", ""},
  window_only_entry(MenuId::kExit, 1, "Exit", "ExitMenuItemClick", "Ctrl+Q"),

  MenuEntry{0, "View", "ViewMenuItem"},
  MenuEntry{1, "Single square", "RadioItemClick", A::kNone, &radio_item<0>, 1},
  MenuEntry{1, "Pair of squares", "RadioItemClick", A::kNone, &radio_item<1>, 1},
  MenuEntry{1, "-", ""},
  window_only_entry(MenuId::kDiagnostics, 1, "Diagnostics", "DiagnosticsMenuItemClick"),

  MenuEntry{0, "Actions", "ActionsMenuItem"},
  MenuEntry{1, "Set order...", "SetOrderMenuItemClick", A::kOrder, &set_order},
  MenuEntry{1, "Ascending fill first string", "FillFirstStrNormalizedMenuItemClick", A::kNone, &no_arg<FillFirstStrNormalizedMenuItemClick>},
  MenuEntry{1, "Clear square", "ClearMenuItemClick", A::kNone, &no_arg<ClearMenuItemClick>},
  MenuEntry{1, "Swap squares", "SwapSquaresMenuItemClick", A::kNone, &no_arg<SwapSquaresMenuItemClick>},
  MenuEntry{1, "Get ODLS", "GetOdlsMenuItemClick", A::kNone, &no_arg<GetOdlsMenuItemClick>},
  MenuEntry{1, "Get ODLS type", "GetOdlsTypeMenuItemClick", A::kNone, &no_arg<GetOdlsTypeMenuItemClick>},
  long_command(MenuEntry{1, "Get all ODLS family", "GetAllODLSFamilyMenuItemClick", A::kNone, &no_arg<GetAllODLSFamilyMenuItemClick>}),
  long_command(MenuEntry{1, "Get all ODLS family (unique CFs only)", "GetAllODLSFamilyCFsOnlyMenuItemClick", A::kNone, &no_arg<GetAllODLSFamilyCFsOnlyMenuItemClick>}),
  long_command(MenuEntry{1, "Search ODLS...", "SearchOdlsMenuItemClick", A::kSearch, &with_arg<SearchOdlsMenuItemClick>}),
  MenuEntry{1, "Clear log", "ClearLogMenuItemClick", A::kNone, &no_arg<ClearLogMenuItemClick>},
  MenuEntry{1, "Print square(s) to log", "PrintSquareToLogMenuItem"},
  MenuEntry{2, "As squares", "PrintSquareToLogAsSquaresClick", A::kNone, &no_arg<PrintSquareToLogAsSquaresClick>},
  MenuEntry{2, "As solid string", "PrintSquareToLogAsSolidStringClick", A::kNone, &no_arg<PrintSquareToLogAsSolidStringClick>},
  MenuEntry{2, "As string with spaces", "PrintSquareToLogAsStringWithSpacesClick", A::kNone, &no_arg<PrintSquareToLogAsStringWithSpacesClick>},
  pair_only({2, "Print pair", "PrintPairMenuItemClick", A::kNone, &no_arg<PrintPairMenuItemClick>}),
  MenuEntry{1, "Get intercalates count", "GetIntercalatesCountMenuItemClick", A::kNone, &no_arg<GetIntercalatesCountMenuItemClick>},
  MenuEntry{1, "Transversals", "TransversalsMenuItem"},
  MenuEntry{2, "Transversals structure analysis", "TransversalsStructureAnalysisMenuItemClick", A::kNone, &no_arg<TransversalsStructureAnalysisMenuItemClick>},
  MenuEntry{2, "Get transversals coverage map", "GetTransversalsCoverageMapMenuItemClick", A::kNone, &no_arg<GetTransversalsCoverageMapMenuItemClick>},
  MenuEntry{2, "Print all transversals", "PrintAllTransversalsMenuItemClick", A::kNone, &no_arg<PrintAllTransversalsMenuItemClick>},
  pair_only({2, "Get common transversals", "GetCommonTransversalsMenuItemClick", A::kNone, &no_arg<GetCommonTransversalsMenuItemClick>}),
  MenuEntry{1, "Canonical forms", "CanonicalFormsMenuItem"},
  MenuEntry{2, "Get canonical form (CF)", "GetCanonicalFormMenuItemClick", A::kNone, &no_arg<GetCanonicalFormMenuItemClick>},
  long_command(MenuEntry{2, "Get isomorphism class", "GetIsomorphismClassMenuItemClick", A::kNone, &no_arg<GetIsomorphismClassMenuItemClick>}),
  MenuEntry{2, "Get strong canonical form (SCF)", "GetStrongCanonicalFormMenuItemClick", A::kNone, &no_arg<GetStrongCanonicalFormMenuItemClick>},
  MenuEntry{2, "Get SCF line number", "GetSCFLineNumberMenuItemClick", A::kNone, &no_arg<GetSCFLineNumberMenuItemClick>},
  MenuEntry{1, "Create next pandiagonal", "CreatePandiagonalMenuItemClick", A::kNone, &no_arg<CreatePandiagonalMenuItemClick>},
  MenuEntry{1, "Print all properties", "PrintAllPropertiesClick", A::kNone, &no_arg<PrintAllPropertiesClick>},
  MenuEntry{1, "Canonize LS by DLS", "CanonizeLSbyDLSMenuItem"},
  long_command(MenuEntry{2, "For one square only", "CanonizeLSbyDLSMenuItemClick", A::kNone, &no_arg<CanonizeLSbyDLSMenuItemClick>}),
  long_command(MenuEntry{2, "For all family", "CanonizeLsDlsForallfamilyMenuItemClick", A::kNone, &no_arg<CanonizeLsDlsForallfamilyMenuItemClick>}),
  long_command(MenuEntry{1, "Print all generalized symmetries", "PrintAllGeneralizedSymmetriesMenuItemClick", A::kNone, &no_arg<PrintAllGeneralizedSymmetriesMenuItemClick>}),
  long_command(MenuEntry{1, "Find square in folder", "FindSquareInFolderMenuItemClick", A::kFolder, &with_arg<FindSquareInFolderMenuItemClick>}),
  MenuEntry{1, "Fillings for partially filled square", "FillingsMenuItem"},
  long_command(MenuEntry{2, "Get fillings count", "GetFillingsCountMenuItemClick", A::kNone, &no_arg<GetFillingsCountMenuItemClick>}),
  MenuEntry{2, "Get first filling", "GetFirstFillingMenuItemClick", A::kNone, &no_arg<GetFirstFillingMenuItemClick>},
  MenuEntry{1, "Dominating sets", "DominatingSetsMenuItem"},
  long_command(MenuEntry{2, "Backward", "GetDominatingSetBackwardMenuItemClick", A::kNone, &no_arg<GetDominatingSetBackwardMenuItemClick>}),
  long_command(MenuEntry{2, "Random", "GetDominatingSetRandomMenuItemClick", A::kNone, &no_arg<GetDominatingSetRandomMenuItemClick>}),

  MenuEntry{0, "Transformations", "TransformationsMenuItem"},
  MenuEntry{1, "Normalize 1 (by first row)", "NormalizeSquareMenuItemClick", A::kNone, &no_arg<NormalizeSquareMenuItemClick>},
  MenuEntry{1, "Normalize 2 (by main diagonal)", "NormalizeByMainDiagonalClick", A::kNone, &no_arg<NormalizeByMainDiagonalClick>},
  MenuEntry{1, "Transpose", "TransposeMenuItemClick", A::kNone, &no_arg<TransposeMenuItemClick>},
  MenuEntry{1, "Antitranspose", "AntitransposeMenuItemClick", A::kNone, &no_arg<AntitransposeMenuItemClick>},
  MenuEntry{1, "Rotate +90 (clockwise)", "RotateRightMenuItemClick", A::kNone, &no_arg<RotateRightMenuItemClick>},
  MenuEntry{1, "Rotate -90 (anticlockwise)", "RotateLeftMenuItemClick", A::kNone, &no_arg<RotateLeftMenuItemClick>},
  MenuEntry{1, "Rotate to 180", "RotateDoubleMenuItemClick", A::kNone, &no_arg<RotateDoubleMenuItemClick>},
  MenuEntry{1, "Flip vertical", "FlipVerticalMenuItemClick", A::kNone, &no_arg<FlipVerticalMenuItemClick>},
  MenuEntry{1, "Flip horizontal", "FlipHorizontalMenuItemClick", A::kNone, &no_arg<FlipHorizontalMenuItemClick>},
  MenuEntry{1, "Get string-inverse square", "GetStringInversePermutableSquareMenuItemClick", A::kNone, &no_arg<GetStringInversePermutableSquareMenuItemClick>},
  MenuEntry{1, "Get column-inverse square", "GetColumnInversePermutableSquareMenuItemClickClick", A::kNone, &no_arg<GetColumnInversePermutableSquareMenuItemClickClick>},
  MenuEntry{1, "Parastrofs", "ParastrofsMenuItem"},
  MenuEntry{2, "1: (i, j, a) -> (i, a, j)", "GetParastrof1MenuItemClick", A::kNone, &no_arg<GetParastrof1MenuItemClick>},
  MenuEntry{2, "2: (i, j, a) -> (j, a, i)", "GetParastrof2MenuItemClick", A::kNone, &no_arg<GetParastrof2MenuItemClick>},
  MenuEntry{1, "Thorus movements", "ThorusMovementsMenuItem"},
  MenuEntry{2, "Left", "LeftThorusMovementMenuItemClick", A::kNone, &no_arg<LeftThorusMovementMenuItemClick>},
  MenuEntry{2, "Right", "RightThorusMovementMenuItemClick", A::kNone, &no_arg<RightThorusMovementMenuItemClick>},
  MenuEntry{2, "Up", "UpThorusMovementMenuItemClick", A::kNone, &no_arg<UpThorusMovementMenuItemClick>},
  MenuEntry{2, "Down", "DownThorusMovementMenuItemClick", A::kNone, &no_arg<DownThorusMovementMenuItemClick>},

  MenuEntry{0, "Heuristic filling", "HeuristicFillingMenuItem", A::kNone, nullptr, 0, "F2"},
  MenuEntry{1, "Greedy", "GreedyMenuItemClick", A::kNone, &no_arg<GreedyMenuItemClick>},
  MenuEntry{1, "Random search v1", "RandomSearchV1MenuItemClick", A::kNone, &no_arg<RandomSearchV1MenuItemClick>},
  MenuEntry{1, "Random search v2", "RandomSearchV2MenuItemClick", A::kNone, &no_arg<RandomSearchV2MenuItemClick>},
  MenuEntry{1, "Random search v3", "RandomSearchV3MenuItemClick", A::kNone, &no_arg<RandomSearchV3MenuItemClick>},

  MenuEntry{0, "Benchmark", "BenchmarkMenuItem"},
  long_command(MenuEntry{1, "DLS of order 9 generation...", "GenerateDls9MenuItemClick", A::kNone, &no_arg<GenerateDls9MenuItemClick>}),
  long_command(MenuEntry{1, "DLS of order 9 generation with PGO...", "GenerateDls9PgoMenuItemClick", A::kNone, &no_arg<GenerateDls9PgoMenuItemClick>}),
  long_command(MenuEntry{1, "ODLS of order 10 search (DLX v2)...", "ODLS10DLXGenClick", A::kNone, &no_arg<ODLS10DLXGenClick>}),

  MenuEntry{0, "Collection", "CollectionMenuItem"},
  long_command(on_collection({1, "Draw statistical info", "DrawStatisticalInfoMenuItemClick", A::kNone, &no_arg<DrawStatisticalInfoMenuItemClick>})),

  MenuEntry{0, "Crossword", "CrosswordMenuItem"},
  id(MenuId::kNewGame, {1, "New game", "NewGameMenuItemClick", A::kNone, &no_arg<NewGameMenuItemClick>, 0, "Ctrl+N"}),
  MenuEntry{1, "Play game number...", "PlayGameNumberMenuItemClick", A::kGameNumber, &play_game_number},
  MenuEntry{1, "Start again", "StartAgainMenuItemClick", A::kNone, &no_arg<StartAgainMenuItemClick>},
  MenuEntry{1, "Difficulty", "DifficultyMenuItem"},
  MenuEntry{2, "Any deal", "DifficultyMenuItemClick", A::kNone, &difficulty_item<-1>, 2},
  MenuEntry{2, "Easy", "DifficultyMenuItemClick", A::kNone, &difficulty_item<0>, 2},
  MenuEntry{2, "Medium", "DifficultyMenuItemClick", A::kNone, &difficulty_item<1>, 2},
  MenuEntry{2, "Hard", "DifficultyMenuItemClick", A::kNone, &difficulty_item<2>, 2},
  MenuEntry{1, "-", ""},
  id(MenuId::kUndo, {1, "Undo", "UndoMenuItemClick", A::kNone, &no_arg<UndoMenuItemClick>, 0, "Ctrl+Z"}),
  id(MenuId::kRedo, {1, "Redo", "RedoMenuItemClick", A::kNone, &no_arg<RedoMenuItemClick>, 0, "Ctrl+Y; Ctrl+Shift+Z"}),
  MenuEntry{1, "-", ""},
  id(MenuId::kRules, {1, "Rules", "ShowRulesMenuItemClick", A::kNone, &no_arg<ShowRulesMenuItemClick>, 0, "F1"}),
  MenuEntry{1, "-", ""},
  window_only_entry(MenuId::kResearchMode, 1, "Research mode", "ResearchModeMenuItemClick"),

};
// clang-format on

#undef SPECIAL

std::string_view without_ellipsis(std::string_view s) {
  if (s.ends_with("...")) s.remove_suffix(3);
  return s;
}

bool same_caption(std::string_view a, std::string_view b) {
  a = without_ellipsis(a);
  b = without_ellipsis(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::span<const MenuEntry> menu_table() { return kTable; }

bool is_container(std::span<const MenuEntry> table, std::size_t index) {
  return table[index].depth == 0 ||
         (index + 1 < table.size() && table[index + 1].depth > table[index].depth);
}

const MenuEntry& find_menu_item(MenuId id) {
  assert(id != MenuId::kNone);
  for (const MenuEntry& entry : kTable)
    if (entry.id == id) return entry;
  assert(false && "every id names an item");
  return kTable.front();
}

bool can_act(const MenuEntry& entry, const Context& ctx) {
  switch (entry.needs) {
    case Needs::kPair:
      return ctx.model.ViewMode == 1;
    case Needs::kCollection:
      return ctx.collection.Count() > 0;
    case Needs::kNothing:
      break;
  }
  return true;
}

const MenuEntry* find_command(std::string_view word) {
  const auto table = menu_table();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].caption == "-" || is_container(table, i)) continue;
    if (same_caption(table[i].caption, word)) return &table[i];
  }
  return nullptr;
}

}  // namespace dlslab::cmd
