#pragma once

#include <atomic>
#include <csignal>

namespace dlslab::cli {

// What SIGINT and SIGTERM set while a long subcommand (batch, generate, search) runs: the
// run stops at a square boundary with its results so far kept.
inline std::atomic<bool> stop_requested{false};
inline volatile std::sig_atomic_t stop_signal = 0;

inline void on_stop_signal(int signal) {
  stop_signal = signal;
  stop_requested.store(true);
}

// Catches SIGINT and SIGTERM for its lifetime.
class StopSignals {
 public:
  StopSignals() {
    stop_requested.store(false);
    stop_signal = 0;
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &old_int_);
    sigaction(SIGTERM, &action, &old_term_);
  }
  ~StopSignals() {
    sigaction(SIGINT, &old_int_, nullptr);
    sigaction(SIGTERM, &old_term_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  [[nodiscard]] static int exit_status() {
    return stop_signal == SIGTERM ? 128 + SIGTERM : 128 + SIGINT;
  }

 private:
  struct sigaction old_int_ {};
  struct sigaction old_term_ {};
};

}  // namespace dlslab::cli
