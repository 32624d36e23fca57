#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The instruction-set paths of the hot engines. A portable build carries every path and picks,
// once at start-up, the best one the processor has; the environment variable DLSLAB_ISA
// (scalar, avx2, avx512, avx512vp2i) asks for a lower one. Every path gives the same results.
namespace dlslab {

enum class IsaPath : std::uint8_t {
  kScalar,  // x86-64 baseline
  kAvx2,    // AVX2 with BMI1/2, POPCNT and LZCNT
  kAvx512,  // AVX-512 F, BW, DQ, CD and VL, with the AVX2 set
  // The AVX-512 set with VP2INTERSECT and VBMI2; only the transversal enumeration has a kernel of its
  // own, the other engines run their AVX-512 one.
  kAvx512Vp2i,
};

/// "scalar", "avx2", "avx512", "avx512vp2i".
[[nodiscard]] std::string_view isa_path_name(IsaPath path);
/// The path of a name as IsaPathName gives it (case ignored), or nothing.
[[nodiscard]] std::optional<IsaPath> parse_isa_path(std::string_view name);
/// True when this processor can run the path.
[[nodiscard]] bool isa_path_supported(IsaPath path);
/// The paths this processor can run, lowest first.
[[nodiscard]] std::vector<IsaPath> supported_isa_paths();

/// What the start-up choice settled on, and why.
struct IsaChoice {
  IsaPath path = IsaPath::kScalar;
  /// Empty, or a warning about DLSLAB_ISA (unknown name, or a path this processor lacks).
  std::string note;
};

/// The choice from the processor and an optional request (the value of DLSLAB_ISA): the
/// requested path when the processor has it, else the best one it has, with a note.
[[nodiscard]] IsaChoice choose_isa_path(const char* request);
/// The path new engines use: choose_isa_path(getenv("DLSLAB_ISA")), made once per process.
[[nodiscard]] const IsaChoice& default_isa_choice();
[[nodiscard]] inline IsaPath default_isa_path() { return default_isa_choice().path; }

}  // namespace dlslab
