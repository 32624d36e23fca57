#include "cmd/property_commands.h"

#include <string>

#include "model/ls_data_structs.h"
#include "transform/square_properties.h"

namespace dlslab::cmd {

void PrintAllPropertiesClick(Context& ctx) {
  const TLatinSquare& square = ctx.model.FirstSquare;
  if (!is_correct_square(square)) {
    ctx.log.Add("INCORRECT");
    return;
  }
  for (const std::string_view label : get_property_labels(square)) ctx.log.Add(std::string(label));
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
