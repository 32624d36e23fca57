#include "model/progress.h"

#include <gtest/gtest.h>

#include <thread>

namespace dlslab {
namespace {

TEST(Progress, ScopeInstallsItForThisThreadOnly) {
  Progress progress;
  {
    const ProgressScope scope(progress);
    EXPECT_EQ(&current_progress(), &progress);
    std::thread([&] { EXPECT_NE(&current_progress(), &progress); }).join();
  }
  EXPECT_NE(&current_progress(), &progress);
}

TEST(Progress, PollThrowsOnlyAfterACancelRequest) {
  Progress progress;
  progress.begin("Counting", 10);
  progress.advance(3);
  EXPECT_NO_THROW(progress.poll());
  progress.request_cancel();
  EXPECT_THROW(progress.poll(), Cancelled);
  const Progress::Snapshot snapshot = progress.read();
  EXPECT_EQ(snapshot.label, "Counting");
  EXPECT_EQ(snapshot.done, 3u);
  EXPECT_EQ(snapshot.total, 10u);
}

TEST(Progress, EachStepStartsFromNothingDone) {
  Progress progress;
  progress.begin("Reading", 100);
  progress.set(60);
  progress.advance(5);
  progress.begin("Writing");
  const Progress::Snapshot snapshot = progress.read();
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
  part.request_cancel();
  EXPECT_THROW(part.poll(), Cancelled);
  EXPECT_NO_THROW(outer.poll());
  EXPECT_NO_THROW(other_part.poll());
  outer.request_cancel();
  EXPECT_THROW(other_part.poll(), Cancelled);
  EXPECT_TRUE(other_part.cancel_requested());
}

TEST(Progress, NestedScopesGiveBackTheOuterOne) {
  Progress outer;
  Progress inner;
  Progress& idle = current_progress();
  {
    const ProgressScope outer_scope(outer);
    {
      const ProgressScope inner_scope(inner);
      EXPECT_EQ(&current_progress(), &inner);
    }
    EXPECT_EQ(&current_progress(), &outer);
  }
  EXPECT_EQ(&current_progress(), &idle);
  EXPECT_NO_THROW(current_progress().poll());
}

TEST(StepPoller, PollsEvery4096thStep) {
  Progress progress;
  StepPoller poller(progress);
  for (int k = 0; k < 5000; ++k) poller.step();  // nothing to stop
  progress.request_cancel();
  int steps = 0;
  try {
    for (; steps < 10000; ++steps) poller.step();
  } catch (const Cancelled&) {
  }
  EXPECT_EQ(steps, 2 * 4096 - 5000 - 1);  // the 8192nd step throws
}

}  // namespace
}  // namespace dlslab
