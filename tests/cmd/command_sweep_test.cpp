// Every command of the menu table on every order and on squares of every kind a user can reach:
// empty, partly filled, complete with repeats, holding values out of range, and a complete DLS.
// A command may refuse with an Error or stop at a cancel request; it must not crash, run away,
// throw anything else or leave the model's parts of different sizes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ios>
#include <mutex>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "cmd/context.h"
#include "cmd/menu_table.h"
#include "collection/squares_collection.h"
#include "model/error.h"
#include "model/progress.h"
#include "model/types.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How long a command runs before it is asked to stop, and how long it then has to stop.
constexpr auto kCancelAfter = std::chrono::milliseconds(400);
constexpr auto kMustStopWithin = std::chrono::seconds(20);

/// Asks the armed run to cancel when it takes too long; a run that ignores the request is a
/// runaway, and the process is stopped with its name, since the run cannot be unwound.
class Watchdog {
 public:
  Watchdog() : thread_([this] { watch(); }) {}
  ~Watchdog() {
    {
      const std::lock_guard lock(mutex_);
      quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void arm(Progress* progress, std::string what) {
    {
      const std::lock_guard lock(mutex_);
      progress_ = progress;
      what_ = std::move(what);
      start_ = Clock::now();
    }
    wake_.notify_all();
  }
  void disarm() {
    const std::lock_guard lock(mutex_);
    progress_ = nullptr;
  }

 private:
  void watch() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
      if (progress_ == nullptr) {
        wake_.wait(lock);
        continue;
      }
      const auto elapsed = Clock::now() - start_;
      if (elapsed > kCancelAfter + kMustStopWithin) {
        std::fprintf(stderr, "Runaway: %s ignores a cancel request\n", what_.c_str());
        std::abort();
      }
      if (elapsed > kCancelAfter) progress_->request_cancel();
      wake_.wait_for(lock, std::chrono::milliseconds(20));
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  Progress* progress_ = nullptr;
  std::string what_;
  Clock::time_point start_;
  bool quit_ = false;
  std::thread thread_;
};

enum class Kind { kEmpty, kPartial, kRepeats, kOutOfRange, kDls };
const char* kind_name(Kind kind) {
  switch (kind) {
    case Kind::kEmpty:
      return "empty";
    case Kind::kPartial:
      return "partly filled";
    case Kind::kRepeats:
      return "rows 0..N-1";
    case Kind::kOutOfRange:
      return "out-of-range values";
    case Kind::kDls:
      return "DLS";
  }
  return "";
}

struct Command {
  std::string caption;
  const MenuEntry* entry;
};

/// The commands of the table the command layer runs; the benchmarks start outside programs.
std::vector<Command> swept_commands() {
  std::vector<Command> commands;
  const auto table = menu_table();
  std::string_view menu;
  for (const MenuEntry& entry : table) {
    if (entry.depth == 0) menu = entry.caption;
    if (menu == "Benchmark" || entry.handler == nullptr || entry.window_only) continue;
    commands.push_back({std::string(entry.caption), &entry});
  }
  return commands;
}

bool all_in_range(const TLatinSquare& square) {
  for (int i = 0; i < square.size(); ++i)
    if (square.data()[i] < kEmpty || square.data()[i] >= square.order()) return false;
  return true;
}

class CommandSweep : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("dlslab-sweep-" + std::to_string(getpid()) + "-" + std::to_string(GetParam()));
    fs::create_directories(folder_);
    previous_folder_ = fs::current_path();
    fs::current_path(folder_);  // some commands write into the working folder

    const int n = GetParam();
    TLatinSquareClass empty;
    empty.SetOrder(n);
    empty.ClearSquares();
    empty.SaveToFile(file_path("good.txt"));
    std::ofstream(file_path("out-of-range.txt"), std::ios::binary) << "DLS\r\n"
                                                                   << n << "\r\n"
                                                                   << n << " 99 -7\r\n";
    TSquaresCollection collection;
    collection.AddSquareString(test::kBachelor, false, false);
    collection.SaveToFile(file_path("collection.txt"));
  }
  void TearDown() override {
    fs::current_path(previous_folder_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string file_path(const std::string& name) const { return (folder_ / name).string(); }

  /// Fills one square of the model with a square of that kind; `shift` varies the two squares.
  static void fill_square(TLatinSquare& square, Kind kind, int shift) {
    const int n = square.order();
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        int& cell = square[i][j];
        const int latin = (i * (shift + 1) + j) % n;
        switch (kind) {
          case Kind::kEmpty:
            cell = kEmpty;
            break;
          case Kind::kPartial:
            cell = (i * 7 + j * 3 + shift) % 3 == 0 ? latin : kEmpty;
            break;
          case Kind::kRepeats:
            cell = j;
            break;
          case Kind::kOutOfRange: {
            static constexpr int kBad[] = {-2, -100, 99, 1000, kMaxOrder};
            const int pick = (i * 5 + j + shift) % 7;
            cell = pick < 5 ? (pick == 4 ? n : kBad[pick]) : latin;
            break;
          }
          case Kind::kDls:
            break;
        }
      }
  }

  /// The arguments a command is tried with: good ones and the mistakes a user makes.
  std::vector<std::string> arguments_for(const MenuEntry& entry) const {
    const int n = GetParam();
    const std::string bachelor = test::kBachelor;
    switch (entry.arg) {
      case ArgKind::kNone:
        return {""};
      case ArgKind::kOpenFile:
        return {file_path("current.txt"), file_path("good.txt"), file_path("out-of-range.txt"),
                file_path("collection.txt"), file_path("missing.txt")};
      case ArgKind::kSaveFile:
        return {file_path("saved"), file_path("no such folder/saved.txt")};
      case ArgKind::kText:
        return {bachelor, bachelor + bachelor, "01 10 2", "", "x9", bachelor.substr(0, n * n)};
      case ArgKind::kOrder:
        return {std::to_string(n), "10", "1", "0", "31", "x"};
      case ArgKind::kFolder:
        return {folder_.string(), file_path("missing")};
      case ArgKind::kGameNumber:
        return {"1", "4294967296"};
      case ArgKind::kSearch:
        return {"rsv3 20", "brown 3 7", "nosuch 5", "rsv3 0", "rsv3 4294967296", "", "rsv3 x"};
    }
    return {""};
  }

  /// The model the commands start from; its file is "current.txt".
  TLatinSquareClass start_model(Kind kind, int view) {
    const int n = GetParam();
    Context ctx;
    ctx.model.SetOrder(n);
    ctx.model.ViewMode = static_cast<std::uint8_t>(view);
    if (kind == Kind::kDls) {
      static const TLatinSquare first = test::random_dls(1);
      static const TLatinSquare second = test::random_dls(2);
      ctx.model.FirstSquare = first;
      ctx.model.SecondSquare = second;
    }
    if (kind == Kind::kOutOfRange) {
      // The square comes from a file and is then spoilt in memory: the file reader refuses
      // such values, but the cells can still be set one by one.
      fill_square(ctx.model.FirstSquare, Kind::kPartial, 0);
      fill_square(ctx.model.SecondSquare, Kind::kPartial, 1);
      ctx.model.SaveToFile(file_path("current.txt"));
      ctx.model.LoadFromFile(file_path("current.txt"));
    }
    if (kind != Kind::kDls) {
      fill_square(ctx.model.FirstSquare, kind, 0);
      fill_square(ctx.model.SecondSquare, kind, 1);
    }
    if (kind == Kind::kPartial) ctx.model.MarkFixedCells();
    if (kind != Kind::kOutOfRange) ctx.model.SaveToFile(file_path("current.txt"));
    return ctx.model;
  }

  void sweep(const std::vector<Kind>& kinds) {
    const int n = GetParam();
    Watchdog watchdog;
    int runs = 0;
    std::vector<std::string> cancelled;
    for (const Kind kind : kinds)
      for (int view = 0; view < 2; ++view) {
        const TLatinSquareClass start = start_model(kind, view);
        for (const Command& command : swept_commands())
          for (const std::string& arg : arguments_for(*command.entry)) {
            Context ctx;
            ctx.new_game_from_clock = false;
            ctx.clock = [] { return 0.0; };
            ctx.show_message = [&ctx](const std::string& text) { ctx.log.Add(text); };
            ctx.model = start;
            const bool in_range =
                all_in_range(ctx.model.FirstSquare) && all_in_range(ctx.model.SecondSquare);
            const TLatinSquareClass before = ctx.model;
            const std::string what = "\"" + command.caption + "\" (" + arg + ") on order " +
                                     std::to_string(n) + ", " + kind_name(kind) + ", " +
                                     (view == 0 ? "single" : "pair") + " view";
            SCOPED_TRACE(what);
            Progress progress;
            bool refused = false;
            {
              const ProgressScope scope(progress);
              watchdog.arm(&progress, what);
              try {
                command.entry->handler(ctx, arg);
              } catch (const Cancelled&) {
                cancelled.push_back(what);
              } catch (const Error&) {
                refused = true;
              } catch (const std::ios_base::failure&) {
                refused = true;  // a file that cannot be opened
              } catch (const std::exception& e) {
                ADD_FAILURE() << "throws " << typeid(e).name() << ": " << e.what();
              }
              watchdog.disarm();
            }
            ++runs;
            check_consistent(ctx.model, in_range, before.GetOrder());
            if (refused && command.entry->arg == ArgKind::kOpenFile &&
                command.caption == "Load from file...") {
              // A file that is refused leaves the model as it was.
              EXPECT_EQ(ctx.model.FirstSquare, before.FirstSquare);
              EXPECT_EQ(ctx.model.SecondSquare, before.SecondSquare);
              EXPECT_EQ(ctx.model.ViewMode, before.ViewMode);
            }
          }
      }
    RecordProperty("runs", runs);
    for (const std::string& what : cancelled) std::printf("cancelled: %s\n", what.c_str());
  }

  static void check_consistent(const TLatinSquareClass& model, bool values_were_in_range,
                               int order_before) {
    const int n = model.GetOrder();
    ASSERT_GE(n, 1);
    ASSERT_LE(n, kMaxOrder);
    EXPECT_EQ(model.SecondSquare.order(), n);
    EXPECT_EQ(model.FixedCells.order(), n);
    EXPECT_EQ(model.RedCells.order(), n);
    EXPECT_EQ(model.PairRepeats.order(), n);
    EXPECT_EQ(static_cast<int>(model.ValueColors.size()), n);
    EXPECT_LE(model.ViewMode, 1);
    if (values_were_in_range && n == order_before) {
      // No command makes a value a square of this order cannot hold.
      EXPECT_TRUE(all_in_range(model.FirstSquare));
      EXPECT_TRUE(all_in_range(model.SecondSquare));
    }
  }

  fs::path folder_;
  fs::path previous_folder_;
};

TEST_P(CommandSweep, EmptyAndPartlyFilled) { sweep({Kind::kEmpty, Kind::kPartial}); }

TEST_P(CommandSweep, CompleteWithRepeats) { sweep({Kind::kRepeats}); }

TEST_P(CommandSweep, OutOfRangeValues) { sweep({Kind::kOutOfRange}); }

TEST_P(CommandSweep, Dls) {
  if (GetParam() != kOrder) GTEST_SKIP() << "the DLS is of order 10";
  sweep({Kind::kDls});
}

INSTANTIATE_TEST_SUITE_P(Orders, CommandSweep, ::testing::Range(1, kMaxOrder + 1));

}  // namespace
}  // namespace dlslab::cmd
