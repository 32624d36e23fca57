#include "canon/canon_search.h"

#include "canon/canon_kernels.h"

namespace dlslab {

namespace canon_kernels {

std::unique_ptr<Kernel> Make(IsaPath path) {
  switch (path) {
    case IsaPath::kAvx512Vp2i:
    case IsaPath::kAvx512:
      return avx512::Make();
    case IsaPath::kAvx2:
      return avx2::Make();
    case IsaPath::kScalar:
      break;
  }
  return scalar::Make();
}

}  // namespace canon_kernels

CanonSearch::CanonSearch() : CanonSearch(DefaultIsaPath()) {}
CanonSearch::CanonSearch(IsaPath path) : path_(path), kernel_(canon_kernels::Make(path)) {}
CanonSearch::~CanonSearch() = default;
CanonSearch::CanonSearch(CanonSearch&&) noexcept = default;
CanonSearch& CanonSearch::operator=(CanonSearch&&) noexcept = default;

void CanonSearch::run(const Grid& square) { kernel_->Run(square); }
const Grid& CanonSearch::best() const { return kernel_->Best(); }
int CanonSearch::leaves() const { return kernel_->Leaves(); }

}  // namespace dlslab
