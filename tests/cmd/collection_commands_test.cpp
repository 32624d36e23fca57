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

  std::string Shown() const { return SquareToString(ctx.model.FirstSquare, false); }

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
  EXPECT_EQ(Shown(), saved.Items(0));
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
  EXPECT_EQ(Shown(), saved.Items(1));
  GoToEndToolButtonClick(ctx);
  GoToNextToolButtonClick(ctx);  // on the last entry: stays
  EXPECT_EQ(ctx.spin_edit_value, 2);
  EXPECT_EQ(Shown(), saved.Items(2));
  GoToBeginToolButtonClick(ctx);
  EXPECT_EQ(Shown(), saved.Items(0));
  SpinEditChange(ctx, 99);
  EXPECT_EQ(ctx.spin_edit_value, 2);
  SpinEditChange(ctx, -7);
  EXPECT_EQ(ctx.spin_edit_value, 0);
  EXPECT_EQ(Shown(), saved.Items(0));
}

TEST_F(CollectionCommandsTest, BrowsingAnEmptyCollectionChangesNothing) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  const int before = redraws;
  GoToBeginToolButtonClick(ctx);
  GoToEndToolButtonClick(ctx);
  GoToNextToolButtonClick(ctx);
  GoToPreviousToolButtonClick(ctx);
  SpinEditChange(ctx, 3);
  EXPECT_EQ(Shown(), test::kBachelor);
  EXPECT_EQ(ctx.spin_edit_value, 0);
  EXPECT_EQ(redraws, before);
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
}

}  // namespace
}  // namespace dlslab::cmd
