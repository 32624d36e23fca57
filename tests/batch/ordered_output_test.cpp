#include "batch/ordered_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

namespace dlslab::batch {
namespace {

TEST(OrderedOutput, WritesInNumberOrderWhateverOrderTheItemsComeIn) {
  constexpr int kItems = 2000;
  std::vector<int> written;
  OrderedOutput<int> output([&written](int& item) { written.push_back(item); });
  std::vector<int> numbers(kItems);
  std::iota(numbers.begin(), numbers.end(), 0);
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
  std::atomic<int> next{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i; (i = next.fetch_add(1)) < kItems;) output.submit(numbers[i], numbers[i] * 10);
    });
  for (std::thread& t : threads) t.join();
  ASSERT_EQ(written.size(), static_cast<std::size_t>(kItems));
  for (int i = 0; i < kItems; ++i) ASSERT_EQ(written[i], i * 10);
  EXPECT_EQ(output.written(), static_cast<std::uint64_t>(kItems));
}

TEST(OrderedOutput, OthersHandInWhileTheWriterWrites) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> writing;
  std::vector<int> written;
  OrderedOutput<int> output([&](int& item) {
    if (item == 0) {
      writing.set_value();
      released.wait();  // a slow disk
    }
    written.push_back(item);
  });
  std::thread writer([&] { output.submit(0, 0); });
  writing.get_future().wait();
  // Item 0 is being written: handing in the next ones must not wait for it.
  output.submit(2, 2);
  output.submit(1, 1);
  EXPECT_EQ(output.written(), 0u);
  release.set_value();
  writer.join();
  EXPECT_EQ(written, (std::vector<int>{0, 1, 2}));
}

TEST(OrderedOutput, WaitForRoomHoldsWorkersThatRunAheadUntilGivenUp) {
  OrderedOutput<int> output([](int&) {});
  EXPECT_TRUE(output.wait_for_room(3, 4, [] { return false; }));
  std::atomic<bool> give_up{false};
  auto ahead = std::async(std::launch::async, [&] {
    return output.wait_for_room(4, 4, [&] { return give_up.load(); });
  });
  output.submit(0, 0);  // room for number 4 now
  EXPECT_TRUE(ahead.get());
  auto far = std::async(std::launch::async,
                        [&] { return output.wait_for_room(9, 4, [&] { return give_up.load(); }); });
  give_up = true;
  output.wake_all();
  EXPECT_FALSE(far.get());
}

}  // namespace
}  // namespace dlslab::batch
