#include "cmd/stats_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "canon/canonical_forms.h"
#include "cli/cli.h"
#include "model/diagnostics.h"
#include "model/error.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

namespace fs = std::filesystem;

class StatsCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  Context ctx;
  std::ostringstream diag;
  const ScopedDiagStream diag_here{&diag};
  const fs::path folder =
      fs::temp_directory_path() / ("dlslab_stats_commands_" + std::to_string(::getpid()));
};

TEST_F(StatsCommandsTest, DrawStatisticalInfoHandsTheHistogramsToThePainter) {
  EXPECT_THROW(DrawStatisticalInfoMenuItemClick(ctx), Error);  // nobody paints
  EXPECT_EQ(diag.str(), "");

  CellHistograms painted;
  std::string file;
  ctx.save_statistics_bitmap = [&](const CellHistograms& h, const std::string& name) {
    painted = h;
    file = name;
  };
  DrawStatisticalInfoMenuItemClick(ctx);  // empty collection
  EXPECT_EQ(file, "bmp.bmp");
  EXPECT_EQ(diag.str(), std::string(100, '0'));
  EXPECT_EQ(painted[0], TStatsHistogram(11, 0));

  diag.str("");
  for (std::uint32_t seed = 1; seed <= 3; ++seed)
    ctx.collection.AddSquare(test::random_dls(seed), true, true);
  DrawStatisticalInfoMenuItemClick(ctx);
  EXPECT_EQ(diag.str().substr(0, 1), "0");  // first-row normalized: cell (0, 0) holds 0
  EXPECT_EQ(diag.str().size(), 100u);
  EXPECT_EQ(painted[0][1], 3);
  EXPECT_TRUE(ctx.log.lines().empty());
}

TEST_F(StatsCommandsTest, DrawStatisticalInfoNamesThePictureWritten) {
  std::vector<std::string> notices;
  ctx.notice = [&notices](const std::string& text) { notices.push_back(text); };
  ctx.save_statistics_bitmap = [](const CellHistograms&, const std::string&) {
    throw std::ios_base::failure("cannot write");
  };
  EXPECT_ANY_THROW(DrawStatisticalInfoMenuItemClick(ctx));
  EXPECT_TRUE(notices.empty());  // nothing written, nothing said
  ctx.save_statistics_bitmap = [](const CellHistograms&, const std::string&) {};
  DrawStatisticalInfoMenuItemClick(ctx);
  EXPECT_EQ(notices, std::vector<std::string>{"Draw statistical info: the picture is written to " +
                                              (fs::current_path() / "bmp.bmp").string()});
}

TEST_F(StatsCommandsTest, FindSquareInFolderSaysWhenItFindsNothing) {
  std::vector<std::string> notices;
  ctx.notice = [&notices](const std::string& text) { notices.push_back(text); };
  const std::string base = folder.string() + "/";
  ctx.model.SetFirstSquare(GetCanonicalForm(test::random_dls(4)));
  FindSquareInFolderMenuItemClick(ctx, folder.string());
  TSquaresCollection other;
  other.AddSquare(test::random_dls(9), true, true);
  other.SaveToFile((folder / "c.txt").string());
  FindSquareInFolderMenuItemClick(ctx, folder.string());
  other.SaveToFile((folder / "d.txt").string());
  FindSquareInFolderMenuItemClick(ctx, folder.string());
  EXPECT_EQ(notices,
            (std::vector<std::string>{
                "Find square in folder: " + base + " holds no files",
                "Find square in folder: the one file in " + base + " does not hold the square",
                "Find square in folder: none of the 2 files in " + base + " holds the square"}));
  // A hit is told by its line in the log, and by no notice.
  TSquaresCollection one;
  one.AddSquare(test::random_dls(4), true, true);
  one.SaveToFile((folder / "a.txt").string());
  FindSquareInFolderMenuItemClick(ctx, folder.string());
  EXPECT_EQ(notices.size(), 3u);
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{base + "a.txt"});
}

TEST_F(StatsCommandsTest, FindSquareInFolderLogsTheMatchingFiles) {
  const TLatinSquare form = GetCanonicalForm(test::random_dls(4));
  TSquaresCollection one;
  one.AddSquare(test::random_dls(4), true, true);
  one.SaveToFile((folder / "b.txt").string());
  one.SaveToFile((folder / "a.txt").string());
  TSquaresCollection other;
  other.AddSquare(test::random_dls(9), true, true);
  other.SaveToFile((folder / "c.txt").string());

  ctx.model.SetFirstSquare(form);
  FindSquareInFolderMenuItemClick(ctx, folder.string() + "//");
  const std::string base = folder.string() + "/";
  EXPECT_EQ(ctx.log.lines(), (std::vector<std::string>{base + "a.txt", base + "b.txt"}));

  // A broken file stops the search; what was found before it is logged first.
  std::ofstream(folder / "b2.txt") << "garbage\r\n";
  ctx.log.Clear();
  try {
    FindSquareInFolderMenuItemClick(ctx, folder.string());
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "TSquaresCollection.LoadFromFile_VelmoraFormat(): Wrong file format");
  }
  EXPECT_EQ(ctx.log.lines(), (std::vector<std::string>{base + "a.txt", base + "b.txt"}));

  EXPECT_THROW(FindSquareInFolderMenuItemClick(ctx, (folder / "missing").string()), Error);
  EXPECT_THROW(FindSquareInFolderMenuItemClick(ctx, ""), Error);
}

TEST_F(StatsCommandsTest, CliRunsBothCommands) {
  const std::string empty = (folder / "empty").string();
  fs::create_directories(empty);
  std::ostringstream out, err;
  const std::vector<std::string> args = {"Find square in folder", empty, "Draw statistical info"};
  int calls = 0;
  const cli::SaveStatisticsFn painter = [&calls](const CellHistograms&, const std::string& name) {
    EXPECT_EQ(name, "bmp.bmp");
    ++calls;
  };
  EXPECT_EQ(cli::run(args, out, err, {}, painter), 0) << err.str();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), std::string(100, '0'));
  EXPECT_EQ(calls, 1);

  std::ostringstream out2, err2;
  EXPECT_EQ(cli::run(std::vector<std::string>{"Draw statistical info"}, out2, err2), 1);
  std::ostringstream out3, err3;
  EXPECT_EQ(cli::run(std::vector<std::string>{"Find square in folder"}, out3, err3), 2);
}

}  // namespace
}  // namespace dlslab::cmd
