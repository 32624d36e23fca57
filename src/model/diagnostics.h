#pragma once

#include <ostream>

namespace dlslab {

/// The one stream the library writes progress and diagnostic lines to (stdout by default;
/// the CLI points it at stderr so that its results stay parseable). Flush after each line.
[[nodiscard]] std::ostream& diag();

/// Redirects the diagnostics; nullptr drops them.
void set_diag_stream(std::ostream* stream);

/// set_diag_stream(stream) for the object's lifetime; then the stream before comes back.
class ScopedDiagStream {
 public:
  explicit ScopedDiagStream(std::ostream* stream);
  ~ScopedDiagStream();
  ScopedDiagStream(const ScopedDiagStream&) = delete;
  ScopedDiagStream& operator=(const ScopedDiagStream&) = delete;

 private:
  std::ostream* previous_;
};

/// Points the calling thread's diagnostics at `stream` (nullptr drops them) for the scope's
/// lifetime, whatever SetDiagStream says for the others. Worker threads use it so that their
/// lines never interleave with another thread's inside one stream.
class DiagScope {
 public:
  explicit DiagScope(std::ostream* stream);
  ~DiagScope();
  DiagScope(const DiagScope&) = delete;
  DiagScope& operator=(const DiagScope&) = delete;

 private:
  std::ostream* previous_;
};

}  // namespace dlslab
