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

TEST(Progress, EachStepStartsFromNothingDone) {
  Progress progress;
  progress.Begin("Reading", 100);
  progress.Set(60);
  progress.Advance(5);
  progress.Begin("Writing");
  const Progress::Snapshot snapshot = progress.Read();
  EXPECT_EQ(snapshot.label, "Writing");
  EXPECT_EQ(snapshot.done, 0u);
  EXPECT_EQ(snapshot.total, 0u);  // the size of this step is not known
}

// A part of a larger work reports on its own, but a cancel of the whole reaches it, and only
// that way round.
TEST(Progress, ACancelOfTheOuterWorkReachesItsParts) {
  Progress outer;
  Progress part(&outer);
  Progress other_part(&outer);
  part.RequestCancel();
  EXPECT_THROW(part.Poll(), Cancelled);
  EXPECT_NO_THROW(outer.Poll());
  EXPECT_NO_THROW(other_part.Poll());
  outer.RequestCancel();
  EXPECT_THROW(other_part.Poll(), Cancelled);
  EXPECT_TRUE(other_part.CancelRequested());
}

TEST(Progress, NestedScopesGiveBackTheOuterOne) {
  Progress outer;
  Progress inner;
  Progress& idle = CurrentProgress();
  {
    const ProgressScope outer_scope(outer);
    {
      const ProgressScope inner_scope(inner);
      EXPECT_EQ(&CurrentProgress(), &inner);
    }
    EXPECT_EQ(&CurrentProgress(), &outer);
  }
  EXPECT_EQ(&CurrentProgress(), &idle);
  EXPECT_NO_THROW(CurrentProgress().Poll());
}

TEST(StepPoller, PollsEvery4096thStep) {
  Progress progress;
  StepPoller poller(progress);
  for (int k = 0; k < 5000; ++k) poller.Step();  // nothing to stop
  progress.RequestCancel();
  int steps = 0;
  try {
    for (; steps < 10000; ++steps) poller.Step();
  } catch (const Cancelled&) {
  }
  EXPECT_EQ(steps, 2 * 4096 - 5000 - 1);  // the 8192nd step throws
}

}  // namespace
}  // namespace dlslab
