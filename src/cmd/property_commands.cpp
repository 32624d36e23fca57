#include "cmd/property_commands.h"

#include <string>

#include "canon/canonical_forms.h"
#include "model/ls_data_structs.h"
#include "transform/square_properties.h"

namespace dlslab::cmd {

bool IsCorrectSquare(const TLatinSquare& square) {
  // IsFilled looks at the 10 x 10 corner only, so a larger square needs the order test.
  return square.order() == kOrder && IsFilled(square) && IsDiagonalLatin(square);
}

std::vector<std::string_view> GetPropertyLabels(const TLatinSquare& square) {
  using Test = bool (*)(const TLatinSquare&);
  struct Property {
    std::string_view label;
    Test test;
  };
  static constexpr Property kProperties[] = {
      {"HORZ_SYMM", IsHorzSymmetric},
      {"VERT_SYMM", IsVertSymmetric},
      {"CLW_SYMM", IsClockwiseSymmetric},
      {"CPT_SYMM", IsCentralSymmetric},
      {"STR_INV", IsStrInv},
      {"COL_INV", IsColInv},
      {"TRANS_SELF_ORT", IsTransSelfOrt},
      {"ANTI_TRANS_SELF_ORT", IsAntiTransSelfOrt},
      {"RIGHT_ROT_SELF_ORT", IsRightRotSelfOrt},
      {"LEFT_ROT_SELF_ORT", IsLeftRotSelfOrt},
      {"FLIP_HORZ_SELF_ORT", IsFlipHorzSelfOrt},
      {"FLIP_VERT_SELF_ORT", IsFlipVertSelfOrt},
      {"PANDIAG", IsPandiagonal},
      {"ASSOC", IsAssociative},
      {"CF", IsCanonicalForm},
  };
  std::vector<std::string_view> labels;
  for (const Property& p : kProperties)
    if (p.test(square)) labels.push_back(p.label);
  return labels;
}

void PrintAllPropertiesClick(Context& ctx) {
  const TLatinSquare& square = ctx.model.FirstSquare;
  if (!IsCorrectSquare(square)) {
    ctx.log.Add("INCORRECT");
    return;
  }
  for (const std::string_view label : GetPropertyLabels(square)) ctx.log.Add(std::string(label));
}

void GetIntercalatesCountMenuItemClick(Context& ctx) {
  ctx.log.Add("Intercalates found: " + std::to_string(GetIntercalatesCount(ctx.model.FirstSquare)));
}

void CreatePandiagonalMenuItemClick(Context& ctx) {
  const int n = ctx.model.GetOrder();
  if (n < 1) return;
  ctx.model.SetFirstSquare(CreatePandiagonal(n, ctx.pandiagonal_counter));
  ctx.pandiagonal_counter = (ctx.pandiagonal_counter + 1) % n;
  ctx.UpdateView();
}

}  // namespace dlslab::cmd
