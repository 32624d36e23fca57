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
  bool write(std::string_view bytes);
  /// Flushes the temporary to disk and renames it into place; returns ok().
  bool commit();

 private:
  void fail(const char* what);

  std::string file_name_;
  std::string temp_name_;
  int fd_ = -1;
  bool committed_ = false;
  std::string error_;
};

/// Writes a long result as it is produced to "<file>.partial" and renames that to the file only
/// when the work is complete, so that an interrupted run leaves its results so far under a
/// name that does not look finished. Unlike AtomicFileWriter, the partial file stays when the
/// writer goes away without Finish: it is what a later run resumes from.
class PartialFileWriter {
 public:
  enum class Mode { kTruncate, kAppend };

  /// Opens "<file_name>.partial", emptied or to append to.
  PartialFileWriter(std::string file_name, Mode mode);
  ~PartialFileWriter();
  PartialFileWriter(const PartialFileWriter&) = delete;
  PartialFileWriter& operator=(const PartialFileWriter&) = delete;

  [[nodiscard]] bool ok() const { return error_.empty(); }
  [[nodiscard]] const std::string& error() const { return error_; }
  [[nodiscard]] const std::string& partial_name() const { return partial_name_; }

  /// Appends bytes; returns ok().
  bool write(std::string_view bytes);
  /// Flushes the partial file to disk; it stays under its partial name. Returns ok().
  bool flush();
  /// Flushes, closes and renames the partial file to the file; returns ok().
  bool finish();

 private:
  void fail(const char* what);

  std::string file_name_;
  std::string partial_name_;
  int fd_ = -1;
  std::string error_;
};

/// The whole content at once; throws Error("Cannot write \"<file>\": <reason>") on failure.
void write_file_atomically(const std::string& file_name, std::string_view bytes);

}  // namespace dlslab
