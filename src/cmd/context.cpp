#include "cmd/context.h"

namespace dlslab::cmd {

void Log::Add(const std::string& line) {
  lines_.push_back(line);
  if (on_add) on_add(line);
}

void Log::Clear() {
  lines_.clear();
  if (on_clear) on_clear();
}

Context::Context() {
  model.SetOrder(kOrder);
  model.ClearSquares();
}

}  // namespace dlslab::cmd
