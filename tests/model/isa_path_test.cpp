#include "model/isa_path.h"

#include <gtest/gtest.h>

namespace dlslab {
namespace {

TEST(ParseIsaPath, ReadsTheNamesItGivesAnyCase) {
  for (const IsaPath path :
       {IsaPath::kScalar, IsaPath::kAvx2, IsaPath::kAvx512, IsaPath::kAvx512Vp2i})
    EXPECT_EQ(parse_isa_path(isa_path_name(path)), path);
  EXPECT_EQ(parse_isa_path("AVX2"), IsaPath::kAvx2);
  EXPECT_EQ(parse_isa_path("avx"), std::nullopt);
  EXPECT_EQ(parse_isa_path(""), std::nullopt);
  EXPECT_EQ(parse_isa_path("avx5120"), std::nullopt);
  EXPECT_EQ(parse_isa_path("AVX512VP2I"), IsaPath::kAvx512Vp2i);
}

TEST(SupportedIsaPaths, StartWithScalarAndClimb) {
  const std::vector<IsaPath> paths = supported_isa_paths();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front(), IsaPath::kScalar);
  for (std::size_t i = 1; i < paths.size(); ++i) EXPECT_LT(paths[i - 1], paths[i]);
  // Each wider path is only taken together with the one below it.
  if (isa_path_supported(IsaPath::kAvx512)) {
    EXPECT_TRUE(isa_path_supported(IsaPath::kAvx2));
  }
  if (isa_path_supported(IsaPath::kAvx512Vp2i)) {
    EXPECT_TRUE(isa_path_supported(IsaPath::kAvx512));
  }
}

TEST(ChooseIsaPath, TakesTheBestPathUnlessALowerOneIsAsked) {
  const IsaPath best = supported_isa_paths().back();
  EXPECT_EQ(choose_isa_path(nullptr).path, best);
  EXPECT_EQ(choose_isa_path("").path, best);
  EXPECT_TRUE(choose_isa_path(nullptr).note.empty());
  for (const IsaPath path : supported_isa_paths()) {
    const IsaChoice choice = choose_isa_path(std::string(isa_path_name(path)).c_str());
    EXPECT_EQ(choice.path, path);
    EXPECT_TRUE(choice.note.empty());
  }
}

TEST(ChooseIsaPath, ExplainsARequestItCannotMeet) {
  const IsaPath best = supported_isa_paths().back();
  const IsaChoice unknown = choose_isa_path("sse9");
  EXPECT_EQ(unknown.path, best);
  EXPECT_EQ(unknown.note, "DLSLAB_ISA=sse9 is not one of scalar, avx2, avx512, avx512vp2i; using " +
                              std::string(isa_path_name(best)));
  if (!isa_path_supported(IsaPath::kAvx512)) {
    const IsaChoice missing = choose_isa_path("avx512");
    EXPECT_EQ(missing.path, best);
    EXPECT_NE(missing.note.find("this processor lacks that path"), std::string::npos);
  }
}

}  // namespace
}  // namespace dlslab
