#include "model/file_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "model/error.h"

namespace dlslab {
namespace {

std::atomic<unsigned> temp_counter{0};

// A name beside the target that no other writer, in this process or another, picks as well.
std::string temp_name_for(const std::string& file_name) {
  const std::filesystem::path target(file_name);
  std::string base = target.filename().string();
  const std::string unique = ".tmp-" + std::to_string(::getpid()) + "-" +
                             std::to_string(temp_counter.fetch_add(1, std::memory_order_relaxed));
  return (target.parent_path() / ("." + base + unique)).string();
}

// Writes every byte, resuming after interruptions and short writes; false leaves errno set.
bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string file_name) : file_name_(std::move(file_name)) {
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_name_ = temp_name_for(file_name_);
    fd_ = ::open(temp_name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    error_ = std::string("open: ") + std::strerror(errno);
    temp_name_.clear();
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_name_.empty()) ::unlink(temp_name_.c_str());
}

void AtomicFileWriter::fail(const char* what) {
  if (error_.empty()) error_ = std::string(what) + ": " + std::strerror(errno);
}

bool AtomicFileWriter::write(std::string_view bytes) {
  if (ok() && !write_all(fd_, bytes)) fail("write");
  return ok();
}

bool AtomicFileWriter::commit() {
  if (!ok() || committed_) return ok();
  // A full disk may only show when the data reaches it.
  if (::fsync(fd_) != 0) fail("fsync");
  if (::close(std::exchange(fd_, -1)) != 0) fail("close");
  if (error_.empty() && ::rename(temp_name_.c_str(), file_name_.c_str()) != 0) fail("rename");
  committed_ = error_.empty();
  return committed_;
}

PartialFileWriter::PartialFileWriter(std::string file_name, Mode mode)
    : file_name_(std::move(file_name)), partial_name_(file_name_ + ".partial") {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::kAppend ? O_APPEND : O_TRUNC);
  fd_ = ::open(partial_name_.c_str(), flags, 0666);
  if (fd_ < 0) fail("open");
}

PartialFileWriter::~PartialFileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

void PartialFileWriter::fail(const char* what) {
  if (error_.empty()) error_ = std::string(what) + ": " + std::strerror(errno);
}

bool PartialFileWriter::write(std::string_view bytes) {
  if (ok() && fd_ >= 0 && !write_all(fd_, bytes)) fail("write");
  return ok();
}

bool PartialFileWriter::flush() {
  if (ok() && fd_ >= 0 && ::fsync(fd_) != 0) fail("fsync");
  return ok();
}

bool PartialFileWriter::finish() {
  if (!flush() || fd_ < 0) return ok();
  if (::close(std::exchange(fd_, -1)) != 0) fail("close");
  if (ok() && ::rename(partial_name_.c_str(), file_name_.c_str()) != 0) fail("rename");
  return ok();
}

void write_file_atomically(const std::string& file_name, std::string_view bytes) {
  AtomicFileWriter writer(file_name);
  writer.write(bytes);
  if (!writer.commit()) throw Error("Cannot write \"" + file_name + "\": " + writer.error() + ".");
}

}  // namespace dlslab
