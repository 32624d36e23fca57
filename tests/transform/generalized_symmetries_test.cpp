#include "transform/generalized_symmetries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "cmd/generalized_symmetry_commands.h"
#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab {
namespace {

TLatinSquare special(std::string_view caption) {
  for (const auto& s : kSpecialSquares)
    if (s.caption == caption) return StringToSquare(s.digits);
  ADD_FAILURE() << caption;
  return {};
}

/// An order-10 Latin square (not diagonal) with shuffled rows, columns and values.
TLatinSquare shuffled_cyclic(unsigned seed) {
  std::mt19937 gen(seed);
  std::array<int, 10> r, c, v;
  for (auto* p : {&r, &c, &v}) {
    std::iota(p->begin(), p->end(), 0);
    std::shuffle(p->begin(), p->end(), gen);
  }
  TLatinSquare s(10);
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) s[i][j] = v[(r[i] + c[j]) % 10];
  return s;
}

TEST(InvolutionTable, AllInvolutionsInAscendingOrder) {
  EXPECT_EQ(get_involution(1), (TInvolution{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(get_involution(2), (TInvolution{0, 1, 2, 3, 4, 5, 6, 7, 9, 8}));
  EXPECT_EQ(get_involution(3), (TInvolution{0, 1, 2, 3, 4, 5, 6, 8, 7, 9}));
  EXPECT_EQ(get_involution(9496), (TInvolution{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  // Count every involution among all permutations independently of the table's generator.
  std::array<int, 10> p{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  int involutions = 0;
  do {
    bool inv = true;
    for (int x = 0; x < 10; ++x) inv &= p[p[x]] == x;
    if (!inv) continue;
    ++involutions;
    TInvolution q;
    std::copy(p.begin(), p.end(), q.begin());
    ASSERT_EQ(get_involution_number(q), involutions);  // numbered in ascending order
  } while (std::next_permutation(p.begin(), p.end()));
  EXPECT_EQ(involutions, kInvolutionsCount);
  EXPECT_EQ(get_involution_number(TInvolution{1, 2, 0, 3, 4, 5, 6, 7, 8, 9}), 0);
}

TLatinSquare cyclic_square() {
  TLatinSquare s(10);
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) s[i][j] = (i + j) % 10;
  return s;
}

TEST(IsGeneralizedSymmetry, KnownPairs) {
  const TLatinSquare line3 = special("Symmetric Line-3");
  EXPECT_TRUE(IsGeneralizedSymmetry(line3, 1, 1));
  // A horizontally symmetric square: columns reversed, values complemented.
  EXPECT_TRUE(IsGeneralizedSymmetry(line3, 1, 9496));
  EXPECT_FALSE(IsGeneralizedSymmetry(line3, 9496, 1));
  // The cyclic square turned 180 degrees is relabelled by v -> 8 - v.
  EXPECT_TRUE(IsGeneralizedSymmetry(cyclic_square(), 9496, 9496));
  // Exchanging columns 8 and 9 alone moves two values of each row, which no relabelling of
  // whole values can undo.
  EXPECT_FALSE(IsGeneralizedSymmetry(cyclic_square(), 1, 2));
}

TEST(IsGeneralizedSymmetry, RefusesWhatItCannotRead) {
  TLatinSquare s = special("Bachelor");
  EXPECT_FALSE(IsGeneralizedSymmetry(s, 0, 1));
  EXPECT_FALSE(IsGeneralizedSymmetry(s, 1, 9497));
  s[5][5] = 10;
  EXPECT_FALSE(IsGeneralizedSymmetry(s, 1, 1));
  s[5][5] = kEmpty;
  EXPECT_FALSE(IsGeneralizedSymmetry(s, 1, 1));
  EXPECT_FALSE(IsGeneralizedSymmetry(CreateSquare(9), 1, 1));
}

class GeneralizedSymmetries : public ::testing::Test {
 protected:
  static std::vector<TLatinSquare> sample_squares() {
    std::vector<TLatinSquare> all;
    for (const auto& s : kSpecialSquares) all.push_back(StringToSquare(s.digits));
    for (unsigned seed = 1; seed <= 5; ++seed) all.push_back(shuffled_cyclic(seed));
    all.push_back(cyclic_square());
    return all;
  }
};

TEST_F(GeneralizedSymmetries, EveryLatinSquareStartsWithTheIdentityPair) {
  for (const TLatinSquare& s : sample_squares()) {
    const auto found = get_generalized_symmetries(s);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0], (GeneralizedSymmetry{1, 1}));
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(), [](const auto& a, const auto& b) {
      return a.r < b.r || (a.r == b.r && a.c < b.c);
    }));
    EXPECT_TRUE(std::adjacent_find(found.begin(), found.end()) == found.end());
  }
  const auto cyclic = get_generalized_symmetries(cyclic_square());
  EXPECT_EQ(cyclic.back(), (GeneralizedSymmetry{9496, 9496}));
}

TEST_F(GeneralizedSymmetries, MatchTheTestOfAllPairs) {
  // The full 90 million pairs once, for the richest square; slices of r for the others.
  const TLatinSquare cyclic = cyclic_square();
  EXPECT_EQ(get_generalized_symmetries(cyclic), get_generalized_symmetries_by_all_pairs(cyclic));
  for (const TLatinSquare& s : sample_squares())
    for (const int r_first : {1, 2000, 9400}) {
      EXPECT_EQ(get_generalized_symmetries(s, r_first, r_first + 96),
                get_generalized_symmetries_by_all_pairs(s, r_first, r_first + 96));
    }
}

// The parity square S[i][j] = (i + j) mod 2 is not Latin. Relabelled by m, it is unchanged by
// (R, C) exactly when R and C each keep the parity of every index or each change it: 26 * 26
// involutions of ten elements keep it (any involution of the evens with any of the odds) and
// 5! change it (a matching of the evens with the odds), 796 in all.
TEST_F(GeneralizedSymmetries, ParitySquareHasTheParityPreservingPairs) {
  TLatinSquare s(10);
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) s[i][j] = (i + j) % 2;
  auto keeps_or_changes_parity = [](int number) {
    const TInvolution& p = get_involution(number);
    bool keeps = true, changes = true;
    for (int x = 0; x < 10; ++x) {
      keeps &= (p[x] - x) % 2 == 0;
      changes &= (p[x] - x) % 2 != 0;
    }
    return keeps || changes;
  };
  for (const int r : {1, 2, 9496}) {
    SCOPED_TRACE(r);
    const auto found = get_generalized_symmetries(s, r, r);
    if (!keeps_or_changes_parity(r)) {
      EXPECT_TRUE(found.empty());
      continue;
    }
    ASSERT_EQ(found.size(), 796u);
    for (const auto& pair : found) EXPECT_TRUE(keeps_or_changes_parity(pair.c)) << pair.c;
  }
}

}  // namespace

namespace cmd {
namespace {

TEST(PrintAllGeneralizedSymmetries, LogsEveryPair) {
  Context ctx;
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  PrintAllGeneralizedSymmetriesMenuItemClick(ctx);
  const auto expected = get_generalized_symmetries(StringToSquare(test::kBachelor));
  ASSERT_EQ(ctx.log.lines().size(), expected.size());
  EXPECT_EQ(ctx.log.lines()[0], "Generalized symmetry found: 1 1");
  EXPECT_EQ(ctx.log.lines().back(),
            "Generalized symmetry found: " + std::to_string(expected.back().r) + " " +
                std::to_string(expected.back().c));
}

TEST(PrintAllGeneralizedSymmetries, RefusesOtherOrdersAndIncompleteSquares) {
  Context ctx;
  int redraws = 0;
  ctx.update_view = [&] { ++redraws; };
  SetOrderMenuItemClick(ctx, 9);
  PrintAllGeneralizedSymmetriesMenuItemClick(ctx);
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  ctx.model.FirstSquare[7][2] = kEmpty;
  const TLatinSquare before = ctx.model.FirstSquare;
  PrintAllGeneralizedSymmetriesMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, before);
  ctx.model.FirstSquare[7][2] = 10;
  PrintAllGeneralizedSymmetriesMenuItemClick(ctx);
  EXPECT_EQ(ctx.log.lines(),
            (std::vector<std::string>{"Not implemented for N<>10", "Square is incorrect",
                                      "Square is incorrect"}));
  EXPECT_EQ(redraws, 2);  // the two set-up commands only
}

}  // namespace
}  // namespace cmd
}  // namespace dlslab
