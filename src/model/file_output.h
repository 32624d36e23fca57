#pragma once

#include <string>
#include <string_view>

namespace dlslab {

/// Writes a file so that it ends up either complete or not touched at all: the bytes go to a
/// temporary file in the target's folder, which is flushed to disk and then renamed over the
/// target. A failure (unwritable folder, full disk) removes the temporary and leaves whatever
/// file stood there before.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string file_name);
  ~AtomicFileWriter();  ///< drops the temporary unless Commit succeeded
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  /// False once anything failed (opening, writing); error() says why.
  [[nodiscard]] bool ok() const { return error_.empty() && (fd_ >= 0 || committed_); }
  [[nodiscard]] const std::string& error() const { return error_; }

  /// Appends bytes; returns ok().
  bool Write(std::string_view bytes);
  /// Flushes the temporary to disk and renames it into place; returns ok().
  bool Commit();

 private:
  void Fail(const char* what);

  std::string file_name_;
  std::string temp_name_;
  int fd_ = -1;
  bool committed_ = false;
  std::string error_;
};

/// The whole content at once; throws Error("Cannot write \"<file>\": <reason>") on failure.
void WriteFileAtomically(const std::string& file_name, std::string_view bytes);

}  // namespace dlslab
