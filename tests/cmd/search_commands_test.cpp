#include "cmd/search_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "cmd/context.h"
#include "model/error.h"
#include "model/progress.h"

namespace dlslab::cmd {
namespace {

TEST(SearchOdlsMenuItemClick, LogsEveryHitAndPutsTheFormsIntoTheCollection) {
  Context ctx;
  ctx.collection.AddSquareString(std::string(100, '0'), false, false);  // replaced by the forms
  SearchOdlsMenuItemClick(ctx, "brown 300");
  const auto& lines = ctx.log.lines();
  ASSERT_FALSE(lines.empty());
  const std::string& summary = lines.back();
  EXPECT_EQ(summary.rfind("search (generator=brown seeds=0:300): 300 squares checked, ", 0), 0u)
      << summary;
  const int hits = static_cast<int>(lines.size()) - 1;
  ASSERT_GT(hits, 0) << "the symmetric squares of 300 seeds hold squares with mates";
  EXPECT_NE(summary.find(" " + std::to_string(hits) + " hits, "), std::string::npos) << summary;
  int counted = 0;
  for (int i = 0; i < ctx.collection.Count(); ++i) counted += ctx.collection.Counts(i);
  EXPECT_EQ(counted, hits);
  EXPECT_NE(summary.find(" " + std::to_string(ctx.collection.Count()) + " distinct forms"),
            std::string::npos)
      << summary;
  // The board shows the first form; each hit line names its seed first.
  EXPECT_EQ(ctx.model.FirstSquare, ctx.collection.get_square(0));
  for (int i = 0; i < hits; ++i) EXPECT_NE(lines[i].find('\t'), std::string::npos) << lines[i];
}

TEST(SearchOdlsMenuItemClick, RandomSquaresGiveOnlyTheSummary) {
  Context ctx;
  SearchOdlsMenuItemClick(ctx, " rsv3  50 1000 ");
  ASSERT_EQ(ctx.log.lines().size(), 1u);
  EXPECT_EQ(ctx.log.lines()[0].rfind(
                "search (generator=rsv3 seeds=1000:50): 50 squares checked, 0 hits, 0 distinct", 0),
            0u)
      << ctx.log.lines()[0];
  EXPECT_EQ(ctx.collection.Count(), 0);
}

TEST(SearchOdlsMenuItemClick, ACancelledSearchChangesNothing) {
  Context ctx;
  ctx.collection.AddSquareString(std::string(100, '1'), false, false);
  Progress progress;
  progress.request_cancel();
  const ProgressScope scope(progress);
  EXPECT_THROW(SearchOdlsMenuItemClick(ctx, "rsv3 100000"), Cancelled);
  EXPECT_TRUE(ctx.log.lines().empty());
  EXPECT_EQ(ctx.collection.Count(), 1);
}

TEST(ParseSearchRequest, NamesWhatIsWrong) {
  const SearchRequest request = parse_search_request("brown 5000 17");
  EXPECT_EQ(request.generator, "brown");
  EXPECT_EQ(request.count, 5000u);
  EXPECT_EQ(request.first, 17u);
  EXPECT_EQ(parse_search_request("rsv3 9").first, 0u);
  const auto message = [](const std::string& text) {
    try {
      (void)parse_search_request(text);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("nosuch 5").rfind("No generator \"nosuch\"; there are rsv3", 0), 0u);
  EXPECT_EQ(message("rsv3 0"), "A search needs at least one square.");
  EXPECT_EQ(message("rsv3 x"), "\"x\" is not a number of squares.");
  EXPECT_EQ(message("rsv3 5 -1"), "\"-1\" is not a seed.");
  EXPECT_EQ(message("rsv3 2 4294967295"), "The generator rsv3 has seeds 0 to 4294967295 only.");
  EXPECT_NE(message("rsv3").find("needs a generator and a number of squares"), std::string::npos);
  EXPECT_NE(message("").find("needs a generator"), std::string::npos);
}

}  // namespace
}  // namespace dlslab::cmd
