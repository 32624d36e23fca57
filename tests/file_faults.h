#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

// Ways to make the file system refuse a write at a chosen step, for the tests of what a failed
// save leaves behind. Real refusals where the system can give them (a folder that takes no new
// file, a file size limit, a full device, a folder in the way); a flush to disk or a close that
// fails is injected by this test program's own fsync and close, which stand in front of the C
// library's (tests/file_faults.cpp) and fail once when armed.
namespace dlslab::test {

/// The next fsync (close) in this process of a file whose path holds `path_part` fails with
/// `error`; close still closes.
void fail_next_fsync(int error, std::string path_part = "");
void fail_next_close(int error, std::string path_part = "");
/// Disarms both.
void clear_file_faults();

namespace file_faults_detail {

inline bool set_immutable(const std::filesystem::path& path, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

inline bool can_create_in(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".probe";
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace file_faults_detail

/// A folder that takes no new file while the object lives: read-only, and for a user whom
/// permissions do not stop (root) immutable as well. ok() is false where neither works.
class LockedFolder {
 public:
  explicit LockedFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
    ::chmod(folder_.c_str(), 0555);
    if (file_faults_detail::can_create_in(folder_))
      immutable_ = file_faults_detail::set_immutable(folder_, true);
    ok_ = !file_faults_detail::can_create_in(folder_);
  }
  ~LockedFolder() {
    if (immutable_) file_faults_detail::set_immutable(folder_, false);
    ::chmod(folder_.c_str(), 0755);
  }
  LockedFolder(const LockedFolder&) = delete;
  LockedFolder& operator=(const LockedFolder&) = delete;
  [[nodiscard]] bool ok() const { return ok_; }

 private:
  std::filesystem::path folder_;
  bool immutable_ = false;
  bool ok_ = false;
};

/// A file that cannot be replaced or removed while the object lives (root only: ok() says).
class LockedFile {
 public:
  explicit LockedFile(std::filesystem::path file)
      : file_(std::move(file)), ok_(file_faults_detail::set_immutable(file_, true)) {}
  ~LockedFile() {
    if (ok_) file_faults_detail::set_immutable(file_, false);
  }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  [[nodiscard]] bool ok() const { return ok_; }

 private:
  std::filesystem::path file_;
  bool ok_;
};

/// Files of this process cannot grow past `bytes` while the object lives: a write beyond fails
/// as on a full disk (EFBIG, the signal ignored).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

}  // namespace dlslab::test
