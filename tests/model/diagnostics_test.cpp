#include "model/diagnostics.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

namespace dlslab {
namespace {

TEST(DiagScope, RedirectsTheCallingThreadOnlyAndRestores) {
  std::ostringstream shared;
  std::ostringstream mine;
  std::ostringstream other;
  std::ostream& before = diag();
  {
    const ScopedDiagStream to(&shared);
    {
      const DiagScope scope(&mine);
      diag() << "worker\n";
      std::thread([&other] {
        diag() << "main stream\n";
        const DiagScope inner(&other);
        diag() << "other\n";
      }).join();
      {
        const DiagScope dropped(nullptr);
        diag() << "dropped\n";
      }
      diag() << "again\n";
    }
    diag() << "after\n";
  }
  EXPECT_EQ(&diag(), &before);
  EXPECT_EQ(mine.str(), "worker\nagain\n");
  EXPECT_EQ(other.str(), "other\n");
  EXPECT_EQ(shared.str(), "main stream\nafter\n");
}

}  // namespace
}  // namespace dlslab
