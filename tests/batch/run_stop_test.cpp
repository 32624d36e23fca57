#include "batch/run_stop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace dlslab::batch {
namespace {

TEST(RunStop, TheFirstFailureIsTheErrorAndEveryStopWakes) {
  const std::atomic<bool> outside{false};
  std::atomic<int> wakes{0};
  RunStop stop(outside, [&wakes] { ++wakes; });
  EXPECT_FALSE(stop.stopping());
  EXPECT_FALSE(stop.failed());
  EXPECT_EQ(stop.error(), "");

  stop.request();  // a stop that is no failure
  EXPECT_TRUE(stop.stopping());
  EXPECT_FALSE(stop.failed());
  stop.fail("cannot write out.partial: disk full");
  stop.fail("a later failure");
  EXPECT_TRUE(stop.failed());
  EXPECT_EQ(stop.error(), "cannot write out.partial: disk full");
  EXPECT_EQ(wakes.load(), 3);
}

TEST(RunStop, TheOutsideFlagStopsWithoutAnError) {
  std::atomic<bool> outside{false};
  RunStop stop(outside, [] {});
  outside = true;
  EXPECT_TRUE(stop.stopping());
  EXPECT_FALSE(stop.failed());
}

TEST(RunStop, OfFailuresFromManyThreadsOneWhole) {
  const std::atomic<bool> outside{false};
  RunStop stop(outside, [] {});
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&stop, t] {
      for (int i = 0; i < 100; ++i) stop.fail("worker " + std::to_string(t) + " failed");
    });
  for (std::thread& t : threads) t.join();
  const std::string error = stop.error();
  EXPECT_TRUE(error == "worker 0 failed" || error == "worker 1 failed" ||
              error == "worker 2 failed" || error == "worker 3 failed")
      << error;
}

}  // namespace
}  // namespace dlslab::batch
