#include "cmd/canon_commands.h"

#include <array>

#include "analysis/isomorphism_class.h"
#include "canon/canonical_forms.h"
#include "canon/strong_canonical_form.h"
#include "model/ls_data_structs.h"

namespace dlslab::cmd {
namespace {

/// The engine fixes its work squares at order 10; logs the refusal for any other order.
bool refuse_other_order(Context& ctx) {
  if (ctx.model.GetOrder() == kOrder) return false;
  ctx.log.Add("Not implemented for N<>10");
  return true;
}

}  // namespace

void GetCanonicalFormMenuItemClick(Context& ctx) {
  if (refuse_other_order(ctx)) return;
  CanonEngine engine;
  const TLatinSquare& square = ctx.model.FirstSquare;
  ctx.model.SetFirstSquare(IsFilled(square) ? engine.GetCanonicalForm(square)
                                            : engine.GetStrongCanonicalForm(square));
  ctx.UpdateView();
}

void GetIsomorphismClassMenuItemClick(Context& ctx) {
  if (refuse_other_order(ctx)) return;
  CanonEngine engine;
  const TSquaresCollection collection = GetIsomorphismClass(engine, ctx.model.FirstSquare);
  collection.SaveToFile(kIsomorphismClassFile);
  ctx.log.Add(std::string(kIsomorphismClassFile) + " saved, " + std::to_string(collection.Count()) +
              " squares");
}

void GetStrongCanonicalFormMenuItemClick(Context& ctx) {
  if (refuse_other_order(ctx)) return;
  CanonEngine engine;
  ctx.model.SetFirstSquare(engine.GetStrongCanonicalForm(ctx.model.FirstSquare));
  ctx.UpdateView();
}

void GetSCFLineNumberMenuItemClick(Context& ctx) {
  if (refuse_other_order(ctx)) return;
  CanonEngine engine;
  const TLatinSquare scf = engine.GetStrongCanonicalForm(ctx.model.FirstSquare);
  std::array<int, kOrder> anti_diagonal{};
  for (int i = 0; i < kOrder; ++i) anti_diagonal[i] = scf[i][kOrder - 1 - i];
  const int line = GetSCFLineNumber(anti_diagonal);
  ctx.log.Add("SCF line " + (line < 0 ? std::string("Unknown") : std::to_string(line)));
}

}  // namespace dlslab::cmd
