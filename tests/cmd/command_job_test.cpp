#include "cmd/command_job.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "cmd/crossword_commands.h"
#include "cmd/model_commands.h"
#include "cmd/view_commands.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

const MenuEntry& command_entry(std::string_view caption) {
  const MenuEntry* entry = find_command(caption);
  EXPECT_NE(entry, nullptr) << caption;
  return *entry;
}

/// Runs a job to its end on a thread of its own, as the window does.
void run_on_worker(CommandJob& job) {
  std::thread([&job] { job.run(); }).join();
}

/// A folder of its own for the files a command writes into the current folder.
class InTempFolder {
 public:
  InTempFolder()
      : dir_(std::filesystem::temp_directory_path() / ("dlslab_job_" + std::to_string(::getpid()))),
        previous_(std::filesystem::current_path()) {
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  ~InTempFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  [[nodiscard]] bool folder_is_empty() const { return std::filesystem::is_empty(dir_); }

 private:
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

class CommandJobTest : public ::testing::Test {
 protected:
  CommandJobTest() {
    ctx.update_view = [this] { ++redraws; };
    ImportSquareMenuItemClick(ctx, test::kBachelor);
    ctx.log.Add("before");
  }
  Context ctx;
  int redraws = 0;
};

TEST_F(CommandJobTest, CancelledReductionAndIsomorphismClassChangeNothingAndWriteNoFile) {
  const InTempFolder folder;
  const TLatinSquare before = ctx.model.FirstSquare;
  const std::uint32_t seed = RandSeed = 12345;
  for (const char* caption : {"Backward", "Random", "Get isomorphism class"}) {
    SCOPED_TRACE(caption);
    CommandJob job(command_entry(caption), {}, ctx);
    job.progress().request_cancel();  // stops at the first safe point
    run_on_worker(job);
    ASSERT_EQ(job.outcome(), CommandJob::Outcome::kCancelled);
    const int redraws_before = redraws;
    job.apply(ctx);
    EXPECT_EQ(ctx.model.FirstSquare, before);
    EXPECT_EQ(ctx.log.lines().back(), std::string(caption) + ": cancelled");
    EXPECT_EQ(redraws, redraws_before);
    EXPECT_EQ(RandSeed, seed);
    EXPECT_TRUE(folder.folder_is_empty());
  }
  EXPECT_EQ(ctx.log.lines(),
            (std::vector<std::string>{"before", "Backward: cancelled", "Random: cancelled",
                                      "Get isomorphism class: cancelled"}));
}

TEST_F(CommandJobTest, FinishedJobLeavesWhatTheCommandRunInPlaceLeaves) {
  for (const char* caption : {"Backward", "Random"}) {
    SCOPED_TRACE(caption);
    Context direct;
    ImportSquareMenuItemClick(direct, test::kBachelor);
    direct.log.Add("before");
    ctx.model = direct.model;
    RandSeed = 777;
    command_entry(caption).handler(direct, {});
    const std::uint32_t seed_after = RandSeed;

    RandSeed = 777;
    CommandJob job(command_entry(caption), {}, ctx);
    RandSeed = 1;  // the owner's state is the one copied at the start
    run_on_worker(job);
    ASSERT_EQ(job.outcome(), CommandJob::Outcome::kDone);
    EXPECT_EQ(RandSeed, 1u);  // nothing is handed over before Apply
    job.apply(ctx);
    EXPECT_EQ(ctx.model.FirstSquare, direct.model.FirstSquare);
    EXPECT_EQ(ctx.log.lines().back(), direct.log.lines().back());
    EXPECT_EQ(RandSeed, seed_after);
  }
}

TEST_F(CommandJobTest, ProgressAdvancesAndACancelFromAnotherThreadEndsTheCount) {
  ctx.model.ClearSquares();  // an empty square: far too many fillings to count
  CommandJob job(command_entry("Get fillings count"), {}, ctx);
  std::thread worker([&job] { job.run(); });
  while (job.progress().read().done == 0) std::this_thread::yield();
  EXPECT_EQ(job.progress().read().label, "Counting the fillings");
  EXPECT_EQ(job.outcome(), CommandJob::Outcome::kRunning);
  job.progress().request_cancel();
  worker.join();
  EXPECT_EQ(job.outcome(), CommandJob::Outcome::kCancelled);
  job.apply(ctx);
  EXPECT_EQ(ctx.log.lines(), (std::vector<std::string>{"before", "Get fillings count: cancelled"}));
}

TEST_F(CommandJobTest, FailureKeepsWhatWasDoneBeforeItAndIsRethrownOnApply) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("dlslab_job_" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(file);
    for (int row = 0; row < kOrder; ++row) {
      for (int col = 0; col < kOrder; ++col)
        out << (col > 0 ? " " : "") << test::kBachelor[row * kOrder + col];
      out << '\n';
    }
    out << '\n' << "broken\n";
  }
  CommandJob job(command_entry("Load collection..."), file.string(), ctx);
  run_on_worker(job);
  EXPECT_EQ(job.outcome(), CommandJob::Outcome::kFailed);
  EXPECT_EQ(ctx.collection.Count(), 0);
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"before"});
  EXPECT_THROW(job.apply(ctx), Error);
  // The failed load logged its file before it threw; the collection stays as it was.
  ASSERT_EQ(ctx.log.lines().size(), 2u);
  EXPECT_EQ(ctx.log.lines()[1], "Load collection: " + file.string() +
                                    " not loaded, wrong file format at line 12; the collection "
                                    "is unchanged");
  EXPECT_EQ(ctx.collection.Count(), 0);
  std::filesystem::remove(file);
}

TEST_F(CommandJobTest, PicturesAreSavedOnApplyOnly) {
  std::vector<std::string> saved;
  ctx.save_statistics_bitmap = [&saved](const CellHistograms&, const std::string& name) {
    saved.push_back(name);
  };
  ctx.collection.AddSquare(ctx.model.FirstSquare, true, true);
  CommandJob job(command_entry("Draw statistical info"), {}, ctx);
  run_on_worker(job);
  ASSERT_EQ(job.outcome(), CommandJob::Outcome::kDone);
  EXPECT_TRUE(saved.empty());
  job.apply(ctx);
  EXPECT_EQ(saved.size(), 1u);
}

}  // namespace
}  // namespace dlslab::cmd

namespace dlslab::cmd {
namespace {

/// What a command can leave in a context and its shell, side by side for comparison.
struct Leftovers {
  std::vector<std::string> log;
  std::vector<std::string> messages;
  std::vector<std::string> pictures;
  TLatinSquare first, second, puzzle;
  int order = 0, view_mode = 0, pandiagonal_counter = 0, collection = 0;
  bool dealt = false;
  std::uint32_t game = 0, seed = 0;
  CellPos cursor;
  bool can_undo = false;

  bool operator==(const Leftovers&) const = default;
};

class Shell {
 public:
  Shell() {
    ctx.show_message = [this](const std::string& text) { messages_.push_back(text); };
    ctx.save_bitmap = [this](const std::string& name) { pictures_.push_back(name); };
    ctx.new_game_from_clock = false;
    RandSeed = 99;
    PlayGameNumberMenuItemClick(ctx, 31337);
    PaintBoxKeyValue(ctx, 3);  // a move the player can take back
    ctx.log.Add("before");
  }
  [[nodiscard]] Leftovers what_is_left() const {
    return Leftovers{ctx.log.lines(),
                     messages_,
                     pictures_,
                     ctx.model.FirstSquare,
                     ctx.model.SecondSquare,
                     ctx.puzzle,
                     ctx.model.GetOrder(),
                     ctx.model.ViewMode,
                     ctx.pandiagonal_counter,
                     ctx.collection.Count(),
                     ctx.game.dealt,
                     ctx.game.number,
                     RandSeed,
                     ctx.game.cursor,
                     ctx.game.history.can_undo(ctx.model)};
  }
  Context ctx;

 private:
  std::vector<std::string> messages_;
  std::vector<std::string> pictures_;
};

// Any command run as a job and applied leaves the context and the shell as the command run
// in place leaves them: squares, view, log, messages, pictures, counters, collection,
// the game and its history, the generator.
TEST(CommandJobApply, LeavesWhatTheCommandRunInPlaceLeaves) {
  const std::string collection_file = (std::filesystem::temp_directory_path() /
                                       ("dlslab_apply_" + std::to_string(::getpid()) + ".txt"))
                                          .string();
  {
    TSquaresCollection two;
    two.AddSquare(test::random_dls(1), false, false);
    two.AddSquare(test::random_dls(2), false, false);
    two.SaveToFile(collection_file);
  }
  const std::vector<std::vector<std::pair<std::string, std::string>>> runs{
      {{"Fish", ""}, {"Get ODLS", ""}},
      {{"Create next pandiagonal", ""}, {"Create next pandiagonal", ""}},
      {{"Rules", ""}},
      {{"Save as bmp...", "view"}},
      {{"Clear log", ""}, {"As solid string", ""}},
      {{"Load collection...", collection_file}},
      {{"Transpose", ""}},
      {{"Random search v3", ""}},
      {{"New game", ""}},
      {{"Set order...", "7"}},
      {{"Get fillings count", ""}},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.back().first);
    Shell direct;
    for (const auto& [caption, arg] : run) command_entry(caption).handler(direct.ctx, arg);
    const Leftovers expected = direct.what_is_left();

    Shell shell;
    for (const auto& [caption, arg] : run) {
      CommandJob job(command_entry(caption), arg, shell.ctx);
      run_on_worker(job);
      ASSERT_EQ(job.outcome(), CommandJob::Outcome::kDone);
      job.apply(shell.ctx);
    }
    const Leftovers got = shell.what_is_left();
    EXPECT_EQ(got.log, expected.log);
    EXPECT_EQ(got.messages, expected.messages);
    EXPECT_EQ(got.pictures, expected.pictures);
    EXPECT_TRUE(got == expected);
    // The history goes on as it would have.
    UndoMenuItemClick(direct.ctx);
    UndoMenuItemClick(shell.ctx);
    EXPECT_EQ(shell.ctx.model.FirstSquare, direct.ctx.model.FirstSquare);
  }
  std::filesystem::remove(collection_file);
}

}  // namespace
}  // namespace dlslab::cmd
