#include "batch/reporter.h"

#include <cstdio>

namespace dlslab::batch {

void Reporter::line(const std::string& text) {
  const std::lock_guard lock(mutex_);
  if (progress_shown_ && mode_ == ProgressMode::kTerminal) err_ << "\r\x1b[K";
  progress_shown_ = false;
  err_ << text << '\n' << std::flush;
}

void Reporter::progress(const std::string& text) {
  const std::lock_guard lock(mutex_);
  if (mode_ == ProgressMode::kTerminal) {
    err_ << "\r\x1b[K" << text << std::flush;
    progress_shown_ = true;
  } else if (mode_ == ProgressMode::kLines) {
    err_ << text << '\n' << std::flush;
  }
}

void Reporter::end_progress() {
  const std::lock_guard lock(mutex_);
  if (progress_shown_) err_ << '\n' << std::flush;
  progress_shown_ = false;
}

std::string format_duration(double seconds) {
  const auto total = static_cast<long long>(seconds + 0.5);
  char buf[32];
  if (total >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", total / 60, total % 60);
  return buf;
}

}  // namespace dlslab::batch
