#include "model/orthogonality.h"

#include <gtest/gtest.h>

#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab {
namespace {

TEST(OrthogonalityDefect, EqualSquaresMissNinetyPairs) {
  const TLatinSquare s = StringToSquare(test::kBachelor);
  EXPECT_EQ(OrthogonalityDefect(s, s), 90);
}

TEST(OrthogonalityDefect, IgnoresEmptyCells) {
  EXPECT_EQ(OrthogonalityDefect(TLatinSquare(10), TLatinSquare(10)), 100);
  TLatinSquare a(10), b(10);
  a[0][0] = 3;
  b[0][0] = 4;
  a[0][1] = 5;  // b[0][1] empty
  EXPECT_EQ(OrthogonalityDefect(a, b), 99);
}

}  // namespace
}  // namespace dlslab
