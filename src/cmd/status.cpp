#include "cmd/status.h"

#include "model/ls_data_structs.h"

namespace dlslab::cmd {

std::string GetStatusText(const TLatinSquareClass& model) {
  const TLatinSquare& square = model.FirstSquare;
  if (!IsFilled(square) || !IsDiagonalLatin(square)) return "";
  // The property tags come with the property tests.
  return "";
}

}  // namespace dlslab::cmd
