#pragma once

#include "model/ls_data_structs.h"

namespace dlslab::test {

/// A transformation that writes its image of src into a fresh dest.
using Move = void (*)(TLatinSquare& dest, const TLatinSquare& src);

/// The image of src under move.
inline TLatinSquare apply_move(Move move, const TLatinSquare& src) {
  TLatinSquare dest = CreateSquare(src.order());
  move(dest, src);
  return dest;
}

}  // namespace dlslab::test
