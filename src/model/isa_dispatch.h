#pragma once

#include <array>
#include <cstddef>

#include "model/isa_path.h"

// How every per-instruction-set engine reaches its kernel.
//
// Each path's build of a kernel (a source compiled under the path's target, see isa_target.h)
// exports one entry point: a plain function, or the factory of a kernel object that owns its
// scratch. The engine lists the entry points in an IsaTable, one per path in IsaPath order (a
// path without a kernel of its own names the one below it), and takes the entry of its path
// with kernel_for once: when an engine object is made, or on first use for a free function on
// default_isa_path(), which the process settles once at start-up.
namespace dlslab {

inline constexpr std::size_t kIsaPathCount = 4;

/// One entry point per instruction-set path, indexed by IsaPath.
template <class Entry>
using IsaTable = std::array<Entry, kIsaPathCount>;

/// The entry of path in table.
template <class Entry>
[[nodiscard]] constexpr Entry kernel_for(const IsaTable<Entry>& table, IsaPath path) {
  return table[static_cast<std::size_t>(path)];
}

}  // namespace dlslab
