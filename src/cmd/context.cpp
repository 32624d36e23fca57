#include "cmd/context.h"

#include <chrono>

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

double Context::now() const {
  if (clock) return clock();
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace dlslab::cmd
