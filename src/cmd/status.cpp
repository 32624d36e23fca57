#include "cmd/status.h"

namespace dlslab::cmd {

std::string get_status_text(const TLatinSquareClass& model) {
  return dlslab::get_status_text(model.FirstSquare);
}

}  // namespace dlslab::cmd
