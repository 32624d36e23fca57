#include "model/random.h"

#include <chrono>

namespace dlslab {

void Randomize() {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  RandSeed = static_cast<std::uint32_t>(ticks);
}

}  // namespace dlslab
