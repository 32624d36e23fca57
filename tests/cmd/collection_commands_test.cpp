#include "cmd/collection_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

class CollectionCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.update_view = [this] { ++redraws; };
    for (int i = 0; i < 3; ++i) saved.AddSquareString(kSpecialSquares[i].digits, true, true);
    std::filesystem::create_directories(folder);
    saved.SaveToFile(path);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string shown_square() const { return SquareToString(ctx.model.FirstSquare, false); }

  Context ctx;
  int redraws = 0;
  TSquaresCollection saved;
  // A folder of each test's own: the log names the file, and the tests run side by side.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("dlslab_browse_" + std::to_string(::getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string path = (folder / "dlslab_browse_three.txt").string();
};

TEST_F(CollectionCommandsTest, LoadShowsTheFirstEntryAndLogsTheCount) {
  SetOrderMenuItemClick(ctx, 12);
  ctx.collection.AddSquareString(test::kBachelor, true, true);  // replaced, not kept
  ctx.spin_edit_value = 2;
  LoadCollectionMenuItemClick(ctx, path);
  EXPECT_EQ(ctx.collection.Count(), 3);
  EXPECT_EQ(ctx.spin_edit_value, 0);
  EXPECT_EQ(ctx.model.GetOrder(), 10);
  EXPECT_EQ(shown_square(), saved.Items(0));
  ASSERT_EQ(ctx.log.lines().size(), 1u);
  EXPECT_EQ(ctx.log.lines()[0], "dlslab_browse_three.txt: 3 DLS loaded");
  EXPECT_GT(redraws, 0);
}

TEST_F(CollectionCommandsTest, ToolButtonsStayInsideTheCollection) {
  LoadCollectionMenuItemClick(ctx, path);
  GoToPreviousToolButtonClick(ctx);  // on the first entry: stays
  EXPECT_EQ(ctx.spin_edit_value, 0);
  GoToNextToolButtonClick(ctx);
  EXPECT_EQ(ctx.spin_edit_value, 1);
  EXPECT_EQ(shown_square(), saved.Items(1));
  GoToEndToolButtonClick(ctx);
  GoToNextToolButtonClick(ctx);  // on the last entry: stays
  EXPECT_EQ(ctx.spin_edit_value, 2);
  EXPECT_EQ(shown_square(), saved.Items(2));
  GoToBeginToolButtonClick(ctx);
  EXPECT_EQ(shown_square(), saved.Items(0));
  SpinEditChange(ctx, 99);
  EXPECT_EQ(ctx.spin_edit_value, 2);
  SpinEditChange(ctx, -7);
  EXPECT_EQ(ctx.spin_edit_value, 0);
  EXPECT_EQ(shown_square(), saved.Items(0));
}

TEST_F(CollectionCommandsTest, BrowsingAnEmptyCollectionChangesNothing) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  const int before = redraws;
  GoToBeginToolButtonClick(ctx);
  GoToEndToolButtonClick(ctx);
  GoToNextToolButtonClick(ctx);
  GoToPreviousToolButtonClick(ctx);
  SpinEditChange(ctx, 3);
  EXPECT_EQ(shown_square(), test::kBachelor);
  EXPECT_EQ(ctx.spin_edit_value, 0);
  EXPECT_EQ(redraws, before);
}

TEST_F(CollectionCommandsTest, FailedLoadLeavesCollectionPositionAndBoardAsTheyWere) {
  LoadCollectionMenuItemClick(ctx, path);
  GoToNextToolButtonClick(ctx);
  ctx.model.SetCell1(0, 0, kEmpty);  // the board need not be the entry shown
  const std::string board = shown_square();
  std::vector<std::string> notices;
  ctx.notice = [&notices](const std::string& text) { notices.push_back(text); };

  // Plain digit strings, as "generate" writes them: two lines make no ten-row block.
  const std::string digits = (folder / "digits.txt").string();
  std::ofstream(digits) << test::kBachelor << "\n" << test::kBachelor << "\n";
  EXPECT_THROW(LoadCollectionMenuItemClick(ctx, digits), CollectionFormatError);
  // Three good blocks, then one that stops after a row: the file ends after line 34.
  const std::string broken = (folder / "broken.txt").string();
  std::filesystem::copy_file(path, broken);
  std::ofstream(broken, std::ios::app) << "0 1 2 3 4 5 6 7 8 9\n";
  EXPECT_THROW(LoadCollectionMenuItemClick(ctx, broken), CollectionFormatError);
  EXPECT_THROW(LoadCollectionMenuItemClick(ctx, path + ".missing"), std::ios_base::failure);

  EXPECT_EQ(ctx.collection.Count(), 3);
  EXPECT_EQ(ctx.spin_edit_value, 1);
  EXPECT_EQ(shown_square(), board);
  const std::vector<std::string> expected = {
      "dlslab_browse_three.txt: 3 DLS loaded",
      "Load collection: " + digits +
          " not loaded, wrong file format at line 2; the collection is unchanged",
      "Load collection: " + broken +
          " not loaded, wrong file format at line 34; the collection is unchanged",
      "Load collection: " + path +
          ".missing not loaded, the file cannot be read; the collection is unchanged"};
  EXPECT_EQ(ctx.log.lines(), expected);
  EXPECT_EQ(notices, std::vector<std::string>(expected.begin() + 1, expected.end()));
}

TEST_F(CollectionCommandsTest, CliLoadsACollectionAndReportsAFailure) {
  std::ostringstream out, err;
  const std::vector<std::string> args = {"Load collection", path, "As solid string"};
  EXPECT_EQ(cli::run(args, out, err), 0);
  EXPECT_EQ(out.str(),
            "dlslab_browse_three.txt: 3 DLS loaded\nDLS: " + std::string(saved.Items(0)) + "\n");

  std::ostringstream out2, err2;
  const std::string missing = path + ".missing";
  EXPECT_EQ(cli::run(std::vector<std::string>{"Load collection...", missing}, out2, err2), 1);
  EXPECT_NE(err2.str().find(missing), std::string::npos) << err2.str();
  EXPECT_EQ(out2.str(), "Load collection: " + missing +
                            " not loaded, the file cannot be read; the collection is unchanged\n");
}

}  // namespace
}  // namespace dlslab::cmd
