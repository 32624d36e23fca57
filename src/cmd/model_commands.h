#pragma once

#include <string>

#include "cmd/context.h"
#include "model/square_catalogue.h"

// Commands of the File, View and Actions menus that work on the model and its text forms.
namespace dlslab::cmd {

void LoadMenuItemClick(Context& ctx, const std::string& file_name);
/// Appends ".txt" when the name has no extension, as the save dialog does.
void SaveMenuItemClick(Context& ctx, const std::string& file_name);
void ImportSquareMenuItemClick(Context& ctx, const std::string& text);
void ImportPairMenuItemClick(Context& ctx, const std::string& text);
/// Puts one of the embedded squares (by its digit string) on the board at order 10.
void LoadSpecialSquare(Context& ctx, const std::string& digits);
/// An item of "Load one of special types": its square loaded as LoadSpecialSquare does, and a
/// notice naming it, since the board alone does not tell which square came.
void load_special_type(Context& ctx, const SpecialSquare& square);

/// index 0 = "Single square", 1 = "Pair of squares".
void RadioItemClick(Context& ctx, int index);

/// Throws Error unless 1 <= order <= 30.
void SetOrderMenuItemClick(Context& ctx, int order);
void FillFirstStrNormalizedMenuItemClick(Context& ctx);
void ClearMenuItemClick(Context& ctx);
void SwapSquaresMenuItemClick(Context& ctx);
void ClearLogMenuItemClick(Context& ctx);
void NormalizeSquareMenuItemClick(Context& ctx);

void PrintSquareToLogAsSquaresClick(Context& ctx);
void PrintSquareToLogAsSolidStringClick(Context& ctx);
void PrintSquareToLogAsStringWithSpacesClick(Context& ctx);
void PrintPairMenuItemClick(Context& ctx);

/// The save dialog's rule: ".txt" is added when nothing follows the last "." of the last
/// path component.
[[nodiscard]] std::string with_default_extension(const std::string& file_name,
                                                 const std::string& extension);

}  // namespace dlslab::cmd
