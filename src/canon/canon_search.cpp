#include "canon/canon_search.h"

#include "canon/canon_kernels.h"

namespace dlslab {

CanonSearch::CanonSearch() : CanonSearch(default_isa_path()) {}
CanonSearch::CanonSearch(IsaPath path)
    : path_(path), kernel_(kernel_for(canon_kernels::kKernels, path)()) {}
CanonSearch::~CanonSearch() = default;
CanonSearch::CanonSearch(CanonSearch&&) noexcept = default;
CanonSearch& CanonSearch::operator=(CanonSearch&&) noexcept = default;

void CanonSearch::run(const Grid& square) { kernel_->run(square); }
const Grid& CanonSearch::best() const { return kernel_->best(); }
int CanonSearch::leaves() const { return kernel_->leaves(); }

}  // namespace dlslab
