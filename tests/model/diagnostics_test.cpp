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
  std::ostream& before = Diag();
  {
    const ScopedDiagStream to(&shared);
    {
      const DiagScope scope(&mine);
      Diag() << "worker\n";
      std::thread([&other] {
        Diag() << "main stream\n";
        const DiagScope inner(&other);
        Diag() << "other\n";
      }).join();
      {
        const DiagScope dropped(nullptr);
        Diag() << "dropped\n";
      }
      Diag() << "again\n";
    }
    Diag() << "after\n";
  }
  EXPECT_EQ(&Diag(), &before);
  EXPECT_EQ(mine.str(), "worker\nagain\n");
  EXPECT_EQ(other.str(), "other\n");
  EXPECT_EQ(shared.str(), "main stream\nafter\n");
}

}  // namespace
}  // namespace dlslab
