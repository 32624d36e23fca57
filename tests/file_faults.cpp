// The fsync and close of the test programs: the C library's, unless a test armed a failure.
#include "file_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>
#include <utility>

namespace {

struct Armed {
  std::mutex mutex;
  int error = 0;
  std::string path_part;

  // Whether this call on `fd` is the one to fail; disarms then.
  bool fires_on(int fd) {
    const std::lock_guard lock(mutex);
    if (error == 0) return false;
    if (!path_part.empty()) {
      char path[4096];
      const std::string link = "/proc/self/fd/" + std::to_string(fd);
      const ssize_t n = ::readlink(link.c_str(), path, sizeof path - 1);
      if (n <= 0 ||
          std::string(path, static_cast<std::size_t>(n)).find(path_part) == std::string::npos)
        return false;
    }
    return true;
  }
  int take() {
    const std::lock_guard lock(mutex);
    return std::exchange(error, 0);
  }
  void set(int e, std::string part) {
    const std::lock_guard lock(mutex);
    error = e;
    path_part = std::move(part);
  }
};

Armed& fsync_fault() {
  static Armed armed;
  return armed;
}
Armed& close_fault() {
  static Armed armed;
  return armed;
}

}  // namespace

extern "C" int fsync(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  if (fsync_fault().fires_on(fd)) {
    errno = fsync_fault().take();
    return -1;
  }
  return real(fd);
}

extern "C" int close(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "close"));
  const bool fires = close_fault().fires_on(fd);
  const int result = real(fd);
  if (!fires) return result;
  errno = close_fault().take();
  return -1;
}

namespace dlslab::test {
void fail_next_fsync(int error, std::string path_part) {
  fsync_fault().set(error, std::move(path_part));
}
void fail_next_close(int error, std::string path_part) {
  close_fault().set(error, std::move(path_part));
}
void clear_file_faults() {
  fsync_fault().set(0, "");
  close_fault().set(0, "");
}
}  // namespace dlslab::test
