#include "cmd/status.h"

namespace dlslab::cmd {

std::string GetStatusText(const TLatinSquareClass& model) {
  return dlslab::GetStatusText(model.FirstSquare);
}

}  // namespace dlslab::cmd
