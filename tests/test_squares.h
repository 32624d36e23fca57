#pragma once

#include <cstdint>

#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/random.h"

// Squares shared by the tests.
namespace dlslab::test {

/// A complete order-10 DLS: "Random search v3" on a fresh model with the given seed.
inline TLatinSquare random_dls(std::uint32_t seed) {
  cmd::Context ctx;
  RandSeed = seed;
  cmd::RandomSearchV3MenuItemClick(ctx);
  return ctx.model.FirstSquare;
}

/// A complete diagonal Latin square of order 10 with first row 0..9.
inline constexpr const char* kBachelor =
    "0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982"
    "760431";

}  // namespace dlslab::test
