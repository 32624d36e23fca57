#include "cmd/menu_table.h"

#include <array>
#include <cassert>
#include <cctype>
#include <charconv>

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
#include "cmd/stats_commands.h"
#include "cmd/transform_commands.h"
#include "cmd/view_commands.h"
#include "model/error.h"
#include "model/square_catalogue.h"

namespace dlslab::cmd {
namespace {

// Adapters from the uniform table signature to the typed commands.
template <void (*F)(Context&)>
void NoArg(Context& ctx, const std::string&) {
  F(ctx);
}
template <void (*F)(Context&, const std::string&)>
void WithArg(Context& ctx, const std::string& arg) {
  F(ctx, arg);
}
template <int I>
void Special(Context& ctx, const std::string&) {
  LoadSpecialSquare(ctx, std::string(kSpecialSquares[I].digits));
}
template <int I>
void Radio(Context& ctx, const std::string&) {
  RadioItemClick(ctx, I);
}
void SetOrder(Context& ctx, const std::string& arg) {
  int order = 0;
  const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), order);
  if (ec != std::errc() || end != arg.data() + arg.size())
    throw Error("\"" + arg + "\" is not an order.");
  SetOrderMenuItemClick(ctx, order);
}

void PlayGameNumber(Context& ctx, const std::string& arg) {
  PlayGameNumberMenuItemClick(ctx, ParseGameNumber(arg));
}

using A = ArgKind;

/// An item the window handles on its own (closing it, showing its hidden parts).
constexpr MenuEntry WindowOnly(MenuId id, int depth, std::string_view caption,
                               std::string_view name) {
  MenuEntry entry(depth, caption, name, ArgKind::kNone, nullptr, 0, {}, true);
  entry.id = id;
  return entry;
}

/// An item the window knows by its id.
constexpr MenuEntry Id(MenuId id, MenuEntry entry) {
  entry.id = id;
  return entry;
}

/// A command that may run long (see MenuEntry::long_running).
constexpr MenuEntry Long(MenuEntry entry) {
  entry.long_running = true;
  return entry;
}

#define SPECIAL(I) \
  { 2, kSpecialSquares[I].caption, kSpecialSquares[I].handler, A::kNone, &Special<I> }

// clang-format off
const std::array kTable = {
  MenuEntry{0, "File", "FileMenuItem"},
  Id(MenuId::kLoadFromFile, {1, "Load from file...", "LoadMenuItemClick", A::kOpenFile, &WithArg<LoadMenuItemClick>}),
  MenuEntry{1, "Import square...", "ImportSquareMenuItemClick", A::kText, &WithArg<ImportSquareMenuItemClick>},
  MenuEntry{1, "Import pair...", "ImportPairMenuItemClick", A::kText, &WithArg<ImportPairMenuItemClick>},
  MenuEntry{1, "Load one of special types (order 10)", "LoadSpecialTypesMenuItem"},
  MenuEntry SPECIAL(0), MenuEntry SPECIAL(1), MenuEntry SPECIAL(2), MenuEntry SPECIAL(3),
  MenuEntry SPECIAL(4), MenuEntry SPECIAL(5), MenuEntry SPECIAL(6), MenuEntry SPECIAL(7),
  MenuEntry SPECIAL(8), MenuEntry SPECIAL(9), MenuEntry SPECIAL(10), MenuEntry SPECIAL(11),
  MenuEntry SPECIAL(12), MenuEntry SPECIAL(13), MenuEntry SPECIAL(14), MenuEntry SPECIAL(15),
  MenuEntry SPECIAL(16), MenuEntry SPECIAL(17), MenuEntry SPECIAL(18),
  MenuEntry{2, "-", ""},
  MenuEntry SPECIAL(19),
  Id(MenuId::kSaveToFile, {1, "Save to file...", "SaveMenuItemClick", A::kSaveFile, &WithArg<SaveMenuItemClick>}),
  Id(MenuId::kSaveAsBmp, {1, "Save as bmp...", "SaveAsBmpClick", A::kSaveFile, &WithArg<SaveAsBmpClick>}),
  MenuEntry{1, "-", ""},
  Long(MenuEntry{1, "Load collection...", "LoadCollectionMenuItemClick", A::kOpenFile, &WithArg<LoadCollectionMenuItemClick>}),
  MenuEntry{1, "-", ""},
  WindowOnly(MenuId::kExit, 1, "Exit", "ExitMenuItemClick"),

  MenuEntry{0, "View", "ViewMenuItem"},
  MenuEntry{1, "Single square", "RadioItemClick", A::kNone, &Radio<0>, 1},
  MenuEntry{1, "Pair of squares", "RadioItemClick", A::kNone, &Radio<1>, 1},
  MenuEntry{1, "-", ""},
  WindowOnly(MenuId::kDiagnostics, 1, "Diagnostics", "DiagnosticsMenuItemClick"),

  MenuEntry{0, "Actions", "ActionsMenuItem"},
  MenuEntry{1, "Set order...", "SetOrderMenuItemClick", A::kOrder, &SetOrder},
  MenuEntry{1, "Ascending fill first string", "FillFirstStrNormalizedMenuItemClick", A::kNone, &NoArg<FillFirstStrNormalizedMenuItemClick>},
  MenuEntry{1, "Clear square", "ClearMenuItemClick", A::kNone, &NoArg<ClearMenuItemClick>},
  MenuEntry{1, "Swap squares", "SwapSquaresMenuItemClick", A::kNone, &NoArg<SwapSquaresMenuItemClick>},
  MenuEntry{1, "Get ODLS", "GetOdlsMenuItemClick", A::kNone, &NoArg<GetOdlsMenuItemClick>},
  MenuEntry{1, "Get ODLS type", "GetOdlsTypeMenuItemClick", A::kNone, &NoArg<GetOdlsTypeMenuItemClick>},
  Long(MenuEntry{1, "Get all ODLS family", "GetAllODLSFamilyMenuItemClick", A::kNone, &NoArg<GetAllODLSFamilyMenuItemClick>}),
  Long(MenuEntry{1, "Get all ODLS family (unique CFs only)", "GetAllODLSFamilyCFsOnlyMenuItemClick", A::kNone, &NoArg<GetAllODLSFamilyCFsOnlyMenuItemClick>}),
  MenuEntry{1, "Clear log", "ClearLogMenuItemClick", A::kNone, &NoArg<ClearLogMenuItemClick>},
  MenuEntry{1, "Print square(s) to log", "PrintSquareToLogMenuItem"},
  MenuEntry{2, "As squares", "PrintSquareToLogAsSquaresClick", A::kNone, &NoArg<PrintSquareToLogAsSquaresClick>},
  MenuEntry{2, "As solid string", "PrintSquareToLogAsSolidStringClick", A::kNone, &NoArg<PrintSquareToLogAsSolidStringClick>},
  MenuEntry{2, "As string with spaces", "PrintSquareToLogAsStringWithSpacesClick", A::kNone, &NoArg<PrintSquareToLogAsStringWithSpacesClick>},
  MenuEntry{2, "Print pair", "PrintPairMenuItemClick", A::kNone, &NoArg<PrintPairMenuItemClick>},
  MenuEntry{1, "Get intercalates count", "GetIntercalatesCountMenuItemClick", A::kNone, &NoArg<GetIntercalatesCountMenuItemClick>},
  MenuEntry{1, "Transversals", "TransversalsMenuItem"},
  MenuEntry{2, "Transversals structure analysis", "TransversalsStructureAnalysisMenuItemClick", A::kNone, &NoArg<TransversalsStructureAnalysisMenuItemClick>},
  MenuEntry{2, "Get transversals coverage map", "GetTransversalsCoverageMapMenuItemClick", A::kNone, &NoArg<GetTransversalsCoverageMapMenuItemClick>},
  MenuEntry{2, "Print all transversals", "PrintAllTransversalsMenuItemClick", A::kNone, &NoArg<PrintAllTransversalsMenuItemClick>},
  MenuEntry{2, "Get common transversals", "GetCommonTransversalsMenuItemClick", A::kNone, &NoArg<GetCommonTransversalsMenuItemClick>},
  MenuEntry{1, "Canonical forms", "CanonicalFormsMenuItem"},
  MenuEntry{2, "Get canonical form (CF)", "GetCanonicalFormMenuItemClick", A::kNone, &NoArg<GetCanonicalFormMenuItemClick>},
  Long(MenuEntry{2, "Get isomorphism class", "GetIsomorphismClassMenuItemClick", A::kNone, &NoArg<GetIsomorphismClassMenuItemClick>}),
  MenuEntry{2, "Get strong canonical form (SCF)", "GetStrongCanonicalFormMenuItemClick", A::kNone, &NoArg<GetStrongCanonicalFormMenuItemClick>},
  MenuEntry{2, "Get SCF line number", "GetSCFLineNumberMenuItemClick", A::kNone, &NoArg<GetSCFLineNumberMenuItemClick>},
  MenuEntry{1, "Create next pandiagonal", "CreatePandiagonalMenuItemClick", A::kNone, &NoArg<CreatePandiagonalMenuItemClick>},
  MenuEntry{1, "Print all properties", "PrintAllPropertiesClick", A::kNone, &NoArg<PrintAllPropertiesClick>},
  MenuEntry{1, "Canonize LS by DLS", "CanonizeLSbyDLSMenuItem"},
  Long(MenuEntry{2, "For one square only", "CanonizeLSbyDLSMenuItemClick", A::kNone, &NoArg<CanonizeLSbyDLSMenuItemClick>}),
  Long(MenuEntry{2, "For all family", "CanonizeLsDlsForallfamilyMenuItemClick", A::kNone, &NoArg<CanonizeLsDlsForallfamilyMenuItemClick>}),
  Long(MenuEntry{1, "Print all generalized symmetries", "PrintAllGeneralizedSymmetriesMenuItemClick", A::kNone, &NoArg<PrintAllGeneralizedSymmetriesMenuItemClick>}),
  Long(MenuEntry{1, "Find square in folder", "FindSquareInFolderMenuItemClick", A::kFolder, &WithArg<FindSquareInFolderMenuItemClick>}),
  MenuEntry{1, "Fillings for partially filled square", "FillingsMenuItem"},
  Long(MenuEntry{2, "Get fillings count", "GetFillingsCountMenuItemClick", A::kNone, &NoArg<GetFillingsCountMenuItemClick>}),
  MenuEntry{2, "Get first filling", "GetFirstFillingMenuItemClick", A::kNone, &NoArg<GetFirstFillingMenuItemClick>},
  MenuEntry{1, "Dominating sets", "DominatingSetsMenuItem"},
  Long(MenuEntry{2, "Backward", "GetDominatingSetBackwardMenuItemClick", A::kNone, &NoArg<GetDominatingSetBackwardMenuItemClick>}),
  Long(MenuEntry{2, "Random", "GetDominatingSetRandomMenuItemClick", A::kNone, &NoArg<GetDominatingSetRandomMenuItemClick>}),

  MenuEntry{0, "Transformations", "TransformationsMenuItem"},
  MenuEntry{1, "Normalize 1 (by first row)", "NormalizeSquareMenuItemClick", A::kNone, &NoArg<NormalizeSquareMenuItemClick>},
  MenuEntry{1, "Normalize 2 (by main diagonal)", "NormalizeByMainDiagonalClick", A::kNone, &NoArg<NormalizeByMainDiagonalClick>},
  MenuEntry{1, "Transpose", "TransposeMenuItemClick", A::kNone, &NoArg<TransposeMenuItemClick>},
  MenuEntry{1, "Antitranspose", "AntitransposeMenuItemClick", A::kNone, &NoArg<AntitransposeMenuItemClick>},
  MenuEntry{1, "Rotate +90 (clockwise)", "RotateRightMenuItemClick", A::kNone, &NoArg<RotateRightMenuItemClick>},
  MenuEntry{1, "Rotate -90 (anticlockwise)", "RotateLeftMenuItemClick", A::kNone, &NoArg<RotateLeftMenuItemClick>},
  MenuEntry{1, "Rotate to 180", "RotateDoubleMenuItemClick", A::kNone, &NoArg<RotateDoubleMenuItemClick>},
  MenuEntry{1, "Flip vertical", "FlipVerticalMenuItemClick", A::kNone, &NoArg<FlipVerticalMenuItemClick>},
  MenuEntry{1, "Flip horizontal", "FlipHorizontalMenuItemClick", A::kNone, &NoArg<FlipHorizontalMenuItemClick>},
  MenuEntry{1, "Get string-inverse square", "GetStringInversePermutableSquareMenuItemClick", A::kNone, &NoArg<GetStringInversePermutableSquareMenuItemClick>},
  MenuEntry{1, "Get column-inverse square", "GetColumnInversePermutableSquareMenuItemClickClick", A::kNone, &NoArg<GetColumnInversePermutableSquareMenuItemClickClick>},
  MenuEntry{1, "Parastrofs", "ParastrofsMenuItem"},
  MenuEntry{2, "1: (i, j, a) -> (i, a, j)", "GetParastrof1MenuItemClick", A::kNone, &NoArg<GetParastrof1MenuItemClick>},
  MenuEntry{2, "2: (i, j, a) -> (j, a, i)", "GetParastrof2MenuItemClick", A::kNone, &NoArg<GetParastrof2MenuItemClick>},
  MenuEntry{1, "Thorus movements", "ThorusMovementsMenuItem"},
  MenuEntry{2, "Left", "LeftThorusMovementMenuItemClick", A::kNone, &NoArg<LeftThorusMovementMenuItemClick>},
  MenuEntry{2, "Right", "RightThorusMovementMenuItemClick", A::kNone, &NoArg<RightThorusMovementMenuItemClick>},
  MenuEntry{2, "Up", "UpThorusMovementMenuItemClick", A::kNone, &NoArg<UpThorusMovementMenuItemClick>},
  MenuEntry{2, "Down", "DownThorusMovementMenuItemClick", A::kNone, &NoArg<DownThorusMovementMenuItemClick>},

  MenuEntry{0, "Heuristic filling", "HeuristicFillingMenuItem", A::kNone, nullptr, 0, "F2"},
  MenuEntry{1, "Greedy", "GreedyMenuItemClick", A::kNone, &NoArg<GreedyMenuItemClick>},
  MenuEntry{1, "Random search v1", "RandomSearchV1MenuItemClick", A::kNone, &NoArg<RandomSearchV1MenuItemClick>},
  MenuEntry{1, "Random search v2", "RandomSearchV2MenuItemClick", A::kNone, &NoArg<RandomSearchV2MenuItemClick>},
  MenuEntry{1, "Random search v3", "RandomSearchV3MenuItemClick", A::kNone, &NoArg<RandomSearchV3MenuItemClick>},

  MenuEntry{0, "Benchmark", "BenchmarkMenuItem"},
  Long(MenuEntry{1, "DLS of order 9 generation...", "GenerateDls9MenuItemClick", A::kNone, &NoArg<GenerateDls9MenuItemClick>}),
  Long(MenuEntry{1, "DLS of order 9 generation with PGO...", "GenerateDls9PgoMenuItemClick", A::kNone, &NoArg<GenerateDls9PgoMenuItemClick>}),
  Long(MenuEntry{1, "ODLS of order 10 search (DLX v2)...", "ODLS10DLXGenClick", A::kNone, &NoArg<ODLS10DLXGenClick>}),

  MenuEntry{0, "Collection", "CollectionMenuItem"},
  Long(MenuEntry{1, "Draw statistical info", "DrawStatisticalInfoMenuItemClick", A::kNone, &NoArg<DrawStatisticalInfoMenuItemClick>}),

  MenuEntry{0, "Crossword", "CrosswordMenuItem"},
  Id(MenuId::kNewGame, {1, "New game", "NewGameMenuItemClick", A::kNone, &NoArg<NewGameMenuItemClick>}),
  MenuEntry{1, "Play game number...", "PlayGameNumberMenuItemClick", A::kGameNumber, &PlayGameNumber},
  MenuEntry{1, "Start again", "StartAgainMenuItemClick", A::kNone, &NoArg<StartAgainMenuItemClick>},
  MenuEntry{1, "-", ""},
  Id(MenuId::kUndo, {1, "Undo", "UndoMenuItemClick", A::kNone, &NoArg<UndoMenuItemClick>, 0, "Ctrl+Z"}),
  Id(MenuId::kRedo, {1, "Redo", "RedoMenuItemClick", A::kNone, &NoArg<RedoMenuItemClick>, 0, "Ctrl+Y; Ctrl+Shift+Z"}),
  MenuEntry{1, "-", ""},
  Id(MenuId::kRules, {1, "Rules", "ShowRulesMenuItemClick", A::kNone, &NoArg<ShowRulesMenuItemClick>}),
  MenuEntry{1, "-", ""},
  WindowOnly(MenuId::kResearchMode, 1, "Research mode", "ResearchModeMenuItemClick"),
};
// clang-format on

#undef SPECIAL

std::string_view WithoutEllipsis(std::string_view s) {
  if (s.ends_with("...")) s.remove_suffix(3);
  return s;
}

bool SameCaption(std::string_view a, std::string_view b) {
  a = WithoutEllipsis(a);
  b = WithoutEllipsis(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::span<const MenuEntry> MenuTable() { return kTable; }

bool IsContainer(std::span<const MenuEntry> table, std::size_t index) {
  return table[index].depth == 0 ||
         (index + 1 < table.size() && table[index + 1].depth > table[index].depth);
}

const MenuEntry& FindMenuItem(MenuId id) {
  assert(id != MenuId::kNone);
  for (const MenuEntry& entry : kTable)
    if (entry.id == id) return entry;
  assert(false && "every id names an item");
  return kTable.front();
}

const MenuEntry* FindCommand(std::string_view word) {
  const auto table = MenuTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].caption == "-" || IsContainer(table, i)) continue;
    if (SameCaption(table[i].caption, word)) return &table[i];
  }
  return nullptr;
}

}  // namespace dlslab::cmd
