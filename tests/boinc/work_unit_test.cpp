#include "boinc/work_unit.h"

#include <gtest/gtest.h>

#include "model/error.h"

namespace dlslab::boinc {
namespace {

std::string error_of(std::string_view text) {
  try {
    (void)parse_work_unit(text);
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST(parse_work_unit, ReadsASeedRange) {
  const WorkUnit unit = parse_work_unit(
      "# made by make_work_units\n\ndlslab work unit\r\ngenerator  rsv3\nseeds "
      "18446744073709:500\n");
  EXPECT_TRUE(unit.is_seed_range());
  EXPECT_EQ(unit.generator, "rsv3");
  EXPECT_EQ(unit.first_seed, 18446744073709u);
  EXPECT_EQ(unit.seed_count, 500u);
}

TEST(parse_work_unit, ReadsAChunkOfAnInput) {
  const WorkUnit unit = parse_work_unit("dlslab work unit\ninput squares\nchunk 3/10");
  EXPECT_FALSE(unit.is_seed_range());
  EXPECT_EQ(unit.input, "squares");
  EXPECT_EQ(unit.chunk, 3u);
  EXPECT_EQ(unit.chunks, 10u);
  EXPECT_EQ(unit.name, "squares");  // the results call it by its logical name
  EXPECT_EQ(parse_work_unit("dlslab work unit\ninput squares\nname run7.txt\nchunk 1/2").name,
            "run7.txt");
  EXPECT_EQ(error_of("dlslab work unit\nseeds 1:5\nname run7.txt\n"),
            "Work unit: \"name\" names an input file, and there is none");
}

TEST(parse_work_unit, NamesTheLineOfWhatItRefuses) {
  EXPECT_EQ(error_of(""), "Work unit is empty");
  EXPECT_EQ(error_of("seeds 1:2\n"),
            "Work unit line 1: not a dlslab work unit (it must begin with \"dlslab work unit\")");
  EXPECT_EQ(error_of("dlslab work unit\nseeds 1:0\n"),
            "Work unit line 2: seeds are FIRST:COUNT with COUNT at least 1, not \"1:0\"");
  EXPECT_EQ(error_of("dlslab work unit\nseeds 18446744073709551615:2\n"),
            "Work unit line 2: seeds are FIRST:COUNT with COUNT at least 1, not "
            "\"18446744073709551615:2\"");
  EXPECT_EQ(error_of("dlslab work unit\nseeds x:2\n"),
            "Work unit line 2: seeds are FIRST:COUNT with COUNT at least 1, not \"x:2\"");
  EXPECT_EQ(error_of("dlslab work unit\ninput a\nchunk 4/3\n"),
            "Work unit line 3: chunk is K/N with 1 <= K <= N, not \"4/3\"");
  EXPECT_EQ(error_of("dlslab work unit\n\nthreads 4\n"),
            "Work unit line 3: unknown setting \"threads\"");
  EXPECT_EQ(error_of("dlslab work unit\ngenerator\n"),
            "Work unit line 2: \"generator\" needs a value");
}

TEST(parse_work_unit, WantsExactlyOneKindOfWork) {
  const std::string message = "Work unit: give either \"seeds\" or \"input\" with \"chunk\"";
  EXPECT_EQ(error_of("dlslab work unit\ngenerator rsv3\n"), message);
  EXPECT_EQ(error_of("dlslab work unit\nseeds 1:5\ninput a\nchunk 1/2\n"), message);
  EXPECT_EQ(error_of("dlslab work unit\ninput a\n"), message);
  EXPECT_EQ(error_of("dlslab work unit\nseeds 1:5\nchunk 1/2\n"), message);
}

}  // namespace
}  // namespace dlslab::boinc
