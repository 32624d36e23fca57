#pragma once

#include "cmd/context.h"

// Commands of the Transformations menu. Each but the two normalizations replaces the first
// square by its image and shows the single view (the View menu's check marks stay).
namespace dlslab::cmd {

void NormalizeByMainDiagonalClick(Context& ctx);
void TransposeMenuItemClick(Context& ctx);
void AntitransposeMenuItemClick(Context& ctx);
void RotateRightMenuItemClick(Context& ctx);
void RotateLeftMenuItemClick(Context& ctx);
void RotateDoubleMenuItemClick(Context& ctx);
void FlipVerticalMenuItemClick(Context& ctx);
void FlipHorizontalMenuItemClick(Context& ctx);
void GetStringInversePermutableSquareMenuItemClick(Context& ctx);
void GetColumnInversePermutableSquareMenuItemClickClick(Context& ctx);
void GetParastrof1MenuItemClick(Context& ctx);
void GetParastrof2MenuItemClick(Context& ctx);
void LeftThorusMovementMenuItemClick(Context& ctx);
void RightThorusMovementMenuItemClick(Context& ctx);
void UpThorusMovementMenuItemClick(Context& ctx);
void DownThorusMovementMenuItemClick(Context& ctx);

}  // namespace dlslab::cmd
