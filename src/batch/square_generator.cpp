#include "batch/square_generator.h"

#include <array>

#include "fill/brown_dls.h"
#include "fill/random_search_v3.h"
#include "fill/switch_chain.h"

namespace dlslab::batch {
namespace {

// Square s is the one "Random search v3" fills after the generator is seeded with s: the
// squares dlslab-cli generate writes.
class Rsv3Generator : public SquareGenerator {
 public:
  void square(std::uint64_t seed, TLatinSquare& square) override {
    square = random_search_v3_square(static_cast<std::uint32_t>(seed), path_);
  }

 private:
  IsaPath path_ = default_isa_path();
};

// DLS with the symmetry of Brown's squares, about one in a hundred with a mate. Its seed starts
// a 64-bit stream, so seeds past 32 bits give other squares; 2^63 of them keep every seed and
// range within a signed 64-bit number (numpy's, the shell's).
class BrownGenerator : public SquareGenerator {
 public:
  void square(std::uint64_t seed, TLatinSquare& square) override {
    square = brown_dls_square(seed);
  }
};

// Runs of kSwitchRunLength seeds, each a chain of cycle switches from an rsv3 square: the search
// hands a thread consecutive seeds, each one switch past the one before.
class SwitchGenerator : public SquareGenerator {
 public:
  void square(std::uint64_t seed, TLatinSquare& square) override { chain_.square(seed, square); }

 private:
  SwitchChain chain_;
};

template <class T>
std::unique_ptr<SquareGenerator> make() {
  return std::make_unique<T>();
}

// clang-format off
constexpr std::array kGenerators = {
    GeneratorInfo{"rsv3", "the squares of \"Random search v3\" (and of generate) after seeding",
                  std::uint64_t{1} << 32, make<Rsv3Generator>},
    GeneratorInfo{"brown", "DLS with the symmetry of Brown's squares (mirrored rows complement, rows paired)",
                  std::uint64_t{1} << 63, make<BrownGenerator>},
    GeneratorInfo{"switch", "DLS one random cycle switch apart, in runs of 1024 from an rsv3 square",
                  kSwitchRuns * kSwitchRunLength, make<SwitchGenerator>},
};
// clang-format on
static_assert(kSwitchRunLength == 1024, "switch's description names its run length");

}  // namespace

std::span<const GeneratorInfo> square_generators() { return kGenerators; }

const GeneratorInfo* find_square_generator(std::string_view name) {
  for (const GeneratorInfo& info : kGenerators)
    if (info.name == name) return &info;
  return nullptr;
}

}  // namespace dlslab::batch
