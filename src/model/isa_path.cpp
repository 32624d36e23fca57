#include "model/isa_path.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace dlslab {
namespace {

constexpr std::array<IsaPath, 4> kPaths = {IsaPath::kScalar, IsaPath::kAvx2, IsaPath::kAvx512,
                                           IsaPath::kAvx512Vp2i};

#if defined(__x86_64__) || defined(__i386__)
/// LZCNT (CPUID 0x80000001, ECX bit 5), asked directly: not every compiler's
/// __builtin_cpu_supports knows its name.
bool has_lzcnt() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx) != 0 && (ecx & (1u << 5)) != 0;
}
#endif

bool has_avx2() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
         __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt") && has_lzcnt();
#else
  return false;
#endif
}

bool has_avx512() {
#if defined(__x86_64__) || defined(__i386__)
  return has_avx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512cd") &&
         __builtin_cpu_supports("avx512vl");
#else
  return false;
#endif
}

/// VP2INTERSECT (CPUID 7.0, EDX bit 8) with VBMI2 (ECX bit 6), asked directly for the same
/// reason; every processor with the first has the second.
bool has_avx512_vp2intersect() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return has_avx512() && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 &&
         (edx & (1u << 8)) != 0 && (ecx & (1u << 6)) != 0;
#else
  return false;
#endif
}

IsaPath best_path() {
  IsaPath best = IsaPath::kScalar;
  for (const IsaPath p : kPaths)
    if (isa_path_supported(p)) best = p;
  return best;
}

}  // namespace

std::string_view isa_path_name(IsaPath path) {
  switch (path) {
    case IsaPath::kScalar:
      return "scalar";
    case IsaPath::kAvx2:
      return "avx2";
    case IsaPath::kAvx512:
      return "avx512";
    case IsaPath::kAvx512Vp2i:
      return "avx512vp2i";
  }
  return "scalar";
}

std::optional<IsaPath> parse_isa_path(std::string_view name) {
  for (const IsaPath p : kPaths) {
    const std::string_view known = isa_path_name(p);
    if (known.size() == name.size() &&
        std::equal(known.begin(), known.end(), name.begin(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
      return p;
  }
  return std::nullopt;
}

bool isa_path_supported(IsaPath path) {
  switch (path) {
    case IsaPath::kScalar:
      return true;
    case IsaPath::kAvx2:
      return has_avx2();
    case IsaPath::kAvx512:
      return has_avx512();
    case IsaPath::kAvx512Vp2i:
      return has_avx512_vp2intersect();
  }
  return false;
}

std::vector<IsaPath> supported_isa_paths() {
  std::vector<IsaPath> out;
  for (const IsaPath p : kPaths)
    if (isa_path_supported(p)) out.push_back(p);
  return out;
}

IsaChoice choose_isa_path(const char* request) {
  IsaChoice choice{best_path(), {}};
  if (request == nullptr || *request == '\0') return choice;
  const std::optional<IsaPath> wanted = parse_isa_path(request);
  if (!wanted) {
    choice.note = "DLSLAB_ISA=" + std::string(request) +
                  " is not one of scalar, avx2, avx512, avx512vp2i; using " +
                  std::string(isa_path_name(choice.path));
  } else if (!isa_path_supported(*wanted)) {
    choice.note = "DLSLAB_ISA=" + std::string(request) +
                  ": this processor lacks that path; using " +
                  std::string(isa_path_name(choice.path));
  } else {
    choice.path = *wanted;
  }
  return choice;
}

const IsaChoice& default_isa_choice() {
  static const IsaChoice choice = choose_isa_path(std::getenv("DLSLAB_ISA"));
  return choice;
}

}  // namespace dlslab
