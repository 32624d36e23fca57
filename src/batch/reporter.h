#pragma once

#include <mutex>
#include <ostream>
#include <string>

namespace dlslab::batch {

/// Messages and the progress line of a run, written to one stream (stderr) from any thread,
/// each line whole. On a terminal the progress line is redrawn in place; elsewhere each
/// refresh is a line of its own.
class Reporter {
 public:
  enum class ProgressMode { kNone, kTerminal, kLines };

  Reporter(std::ostream& err, ProgressMode mode) : err_(err), mode_(mode) {}
  [[nodiscard]] ProgressMode mode() const { return mode_; }

  /// A message line; the progress line, if shown, is cleared first and drawn again later.
  void line(const std::string& text);
  /// Replaces the progress line.
  void progress(const std::string& text);
  /// Leaves the progress line behind, so that the next line starts below it.
  void end_progress();

 private:
  std::mutex mutex_;
  std::ostream& err_;
  ProgressMode mode_;
  bool progress_shown_ = false;
};

/// A time left as "m:ss", or "h:mm:ss" from an hour on.
[[nodiscard]] std::string format_duration(double seconds);

}  // namespace dlslab::batch
