#include "model/progress.h"

#include <gtest/gtest.h>

#include <thread>

namespace dlslab {
namespace {

TEST(Progress, ScopeInstallsItForThisThreadOnly) {
  Progress progress;
  {
    const ProgressScope scope(progress);
    EXPECT_EQ(&CurrentProgress(), &progress);
    std::thread([&] { EXPECT_NE(&CurrentProgress(), &progress); }).join();
  }
  EXPECT_NE(&CurrentProgress(), &progress);
}

TEST(Progress, PollThrowsOnlyAfterACancelRequest) {
  Progress progress;
  progress.Begin("Counting", 10);
  progress.Advance(3);
  EXPECT_NO_THROW(progress.Poll());
  progress.RequestCancel();
  EXPECT_THROW(progress.Poll(), Cancelled);
  const Progress::Snapshot snapshot = progress.Read();
  EXPECT_EQ(snapshot.label, "Counting");
  EXPECT_EQ(snapshot.done, 3u);
  EXPECT_EQ(snapshot.total, 10u);
}

}  // namespace
}  // namespace dlslab
