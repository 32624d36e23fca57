#include "model/isa_path.h"

#include <gtest/gtest.h>

namespace dlslab {
namespace {

TEST(ParseIsaPath, ReadsTheNamesItGivesAnyCase) {
  for (const IsaPath path :
       {IsaPath::kScalar, IsaPath::kAvx2, IsaPath::kAvx512, IsaPath::kAvx512Vp2i})
    EXPECT_EQ(ParseIsaPath(IsaPathName(path)), path);
  EXPECT_EQ(ParseIsaPath("AVX2"), IsaPath::kAvx2);
  EXPECT_EQ(ParseIsaPath("avx"), std::nullopt);
  EXPECT_EQ(ParseIsaPath(""), std::nullopt);
  EXPECT_EQ(ParseIsaPath("avx5120"), std::nullopt);
  EXPECT_EQ(ParseIsaPath("AVX512VP2I"), IsaPath::kAvx512Vp2i);
}

TEST(SupportedIsaPaths, StartWithScalarAndClimb) {
  const std::vector<IsaPath> paths = SupportedIsaPaths();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front(), IsaPath::kScalar);
  for (std::size_t i = 1; i < paths.size(); ++i) EXPECT_LT(paths[i - 1], paths[i]);
  // Each wider path is only taken together with the one below it.
  if (IsaPathSupported(IsaPath::kAvx512)) {
    EXPECT_TRUE(IsaPathSupported(IsaPath::kAvx2));
  }
  if (IsaPathSupported(IsaPath::kAvx512Vp2i)) {
    EXPECT_TRUE(IsaPathSupported(IsaPath::kAvx512));
  }
}

TEST(ChooseIsaPath, TakesTheBestPathUnlessALowerOneIsAsked) {
  const IsaPath best = SupportedIsaPaths().back();
  EXPECT_EQ(ChooseIsaPath(nullptr).path, best);
  EXPECT_EQ(ChooseIsaPath("").path, best);
  EXPECT_TRUE(ChooseIsaPath(nullptr).note.empty());
  for (const IsaPath path : SupportedIsaPaths()) {
    const IsaChoice choice = ChooseIsaPath(std::string(IsaPathName(path)).c_str());
    EXPECT_EQ(choice.path, path);
    EXPECT_TRUE(choice.note.empty());
  }
}

TEST(ChooseIsaPath, ExplainsARequestItCannotMeet) {
  const IsaPath best = SupportedIsaPaths().back();
  const IsaChoice unknown = ChooseIsaPath("sse9");
  EXPECT_EQ(unknown.path, best);
  EXPECT_EQ(unknown.note, "DLSLAB_ISA=sse9 is not one of scalar, avx2, avx512, avx512vp2i; using " +
                              std::string(IsaPathName(best)));
  if (!IsaPathSupported(IsaPath::kAvx512)) {
    const IsaChoice missing = ChooseIsaPath("avx512");
    EXPECT_EQ(missing.path, best);
    EXPECT_NE(missing.note.find("this processor lacks that path"), std::string::npos);
  }
}

}  // namespace
}  // namespace dlslab
