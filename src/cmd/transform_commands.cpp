#include "cmd/transform_commands.h"

#include "model/ls_data_structs.h"
#include "transform/transformations.h"

namespace dlslab::cmd {
namespace {

// The single view is shown without touching the View menu's radio items, which the window
// reads from its own widgets.
void show_image(Context& ctx, const TLatinSquare& image) {
  ctx.model.SetFirstSquare(image);
  ctx.UpdateView();
}

template <typename Routine>
void transform_first_square(Context& ctx, Routine routine) {
  ctx.model.ViewMode = 0;
  TLatinSquare image = CreateSquare(ctx.model.GetOrder());
  routine(image, ctx.model.FirstSquare);
  show_image(ctx, image);
}

void thorus(Context& ctx, int direction) {
  transform_first_square(ctx, [direction](TLatinSquare& dest, const TLatinSquare& src) {
    ThorusMovement(dest, src, direction);
  });
}

}  // namespace

void NormalizeByMainDiagonalClick(Context& ctx) {
  NormalizeByMainDiagonal(ctx.model.FirstSquare);
  ctx.UpdateView();
}

void TransposeMenuItemClick(Context& ctx) { transform_first_square(ctx, Transpose); }
void AntitransposeMenuItemClick(Context& ctx) { transform_first_square(ctx, Antitranspose); }
void RotateRightMenuItemClick(Context& ctx) { transform_first_square(ctx, RotateRight); }
void RotateLeftMenuItemClick(Context& ctx) { transform_first_square(ctx, RotateLeft); }
void RotateDoubleMenuItemClick(Context& ctx) { transform_first_square(ctx, RotateDouble); }
void FlipVerticalMenuItemClick(Context& ctx) { transform_first_square(ctx, FlipVertical); }
void FlipHorizontalMenuItemClick(Context& ctx) { transform_first_square(ctx, FlipHorizontal); }

void GetStringInversePermutableSquareMenuItemClick(Context& ctx) {
  transform_first_square(ctx, GetStringInverseSquare);
}

void GetColumnInversePermutableSquareMenuItemClickClick(Context& ctx) {
  transform_first_square(ctx, GetColumnInverseSquare);
}

void GetParastrof1MenuItemClick(Context& ctx) {
  ctx.model.ViewMode = 0;
  show_image(ctx, GetParastrof1(ctx.model.FirstSquare));
}

void GetParastrof2MenuItemClick(Context& ctx) {
  ctx.model.ViewMode = 0;
  show_image(ctx, GetParastrof2(ctx.model.FirstSquare));
}

void LeftThorusMovementMenuItemClick(Context& ctx) { thorus(ctx, kThorusLeft); }
void RightThorusMovementMenuItemClick(Context& ctx) { thorus(ctx, kThorusRight); }
void UpThorusMovementMenuItemClick(Context& ctx) { thorus(ctx, kThorusUp); }
void DownThorusMovementMenuItemClick(Context& ctx) { thorus(ctx, kThorusDown); }

}  // namespace dlslab::cmd
