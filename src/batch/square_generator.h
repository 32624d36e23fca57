#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "model/types.h"

namespace dlslab::batch {

/// A source of order-10 DLS for a search: seed s always gives the same square, on every
/// machine and instruction-set path. One instance per thread; it may keep scratch between
/// calls.
class SquareGenerator {
 public:
  virtual ~SquareGenerator() = default;
  /// The square of `seed` (0 <= seed < the registry's seed_count), written into `square`,
  /// which the caller owns and has made of order 10.
  virtual void square(std::uint64_t seed, TLatinSquare& square) = 0;
};

/// A generator as the search command names it.
struct GeneratorInfo {
  std::string_view name;         ///< the --generator word
  std::string_view description;  ///< one line for --help
  std::uint64_t seed_count;      ///< seeds 0 .. seed_count - 1 exist
  std::unique_ptr<SquareGenerator> (*make)();
};

/// Every generator, the default (rsv3) first.
[[nodiscard]] std::span<const GeneratorInfo> square_generators();
/// The generator of that name, or nullptr.
[[nodiscard]] const GeneratorInfo* find_square_generator(std::string_view name);

}  // namespace dlslab::batch
