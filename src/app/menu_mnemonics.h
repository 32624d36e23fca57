#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace dlslab::app {

/// The mnemonic (Alt+letter) of each caption of one menu: the position of its key in the
/// caption, or -1 when every letter of it is taken. A word's first letter comes before the
/// other letters, and no two captions of the menu share a key, letters compared without case.
/// The caption at `first` chooses before the others (the menu that is always shown).
[[nodiscard]] std::vector<int> mnemonic_positions(std::span<const std::string_view> captions,
                                                  std::size_t first = 0);

}  // namespace dlslab::app
