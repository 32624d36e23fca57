// The fsync and close of the test programs: the C library's, unless a test armed a failure.
#include <dlfcn.h>

#include <atomic>
#include <cerrno>

#include "file_faults.h"

namespace {
std::atomic<int> fsync_failure{0};
std::atomic<int> close_failure{0};
}  // namespace

extern "C" int fsync(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  if (const int error = fsync_failure.exchange(0); error != 0) {
    errno = error;
    return -1;
  }
  return real(fd);
}

extern "C" int close(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "close"));
  const int error = close_failure.exchange(0);
  const int result = real(fd);
  if (error == 0) return result;
  errno = error;
  return -1;
}

namespace dlslab::test {
void FailNextFsync(int error) { fsync_failure = error; }
void FailNextClose(int error) { close_failure = error; }
void ClearFileFaults() {
  fsync_failure = 0;
  close_failure = 0;
}
}  // namespace dlslab::test
