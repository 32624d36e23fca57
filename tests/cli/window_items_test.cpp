#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "model/diagnostics.h"
#include "test_squares.h"

namespace dlslab::cli {
namespace {

int run_with(const std::vector<std::string>& args, std::string& out, std::string& err,
             const SaveBitmapFn& save_bitmap = {}) {
  std::ostringstream o, e;
  const int status = run(args, o, e, save_bitmap);
  out = o.str();
  err = e.str();
  return status;
}

TEST(Cli, WindowItemsAreListedButNotRun) {
  std::string out, err;
  EXPECT_EQ(run_with({"--list"}, out, err), 0);
  EXPECT_NE(out.find("Exit  (window only)\n"), std::string::npos);
  EXPECT_NE(out.find("Research mode  (window only)\n"), std::string::npos);
  EXPECT_NE(out.find("Save as bmp... FILE\n"), std::string::npos);
  EXPECT_EQ(run_with({"Research mode"}, out, err), 2);
  EXPECT_NE(err.find("only in the window"), std::string::npos);
}

TEST(Cli, SaveAsBmpPaintsTheModelOfTheRun) {
  std::string out, err;
  EXPECT_EQ(run_with({"Save as bmp...", "x"}, out, err), 1);  // no painter given
  std::string file;
  int order = 0;
  const SaveBitmapFn painter = [&](TLatinSquareClass& model, const std::string& name) {
    file = name;
    order = model.GetOrder();
  };
  EXPECT_EQ(run_with({"Set order", "7", "Save as bmp", "board"}, out, err, painter), 0);
  EXPECT_EQ(file, "board.bmp");
  EXPECT_EQ(order, 7);
}

}  // namespace
}  // namespace dlslab::cli

namespace dlslab::cli {
namespace {

TEST(Cli, RunGivesTheDiagnosticsStreamBack) {
  std::ostringstream mine;
  const ScopedDiagStream to(&mine);
  std::string out;
  std::string err;
  // "Get all ODLS family (unique CFs only)" writes its progress to the diagnostics.
  EXPECT_EQ(
      run_with({"--square", test::kBachelor, "Get all ODLS family (unique CFs only)"}, out, err),
      0);
  EXPECT_NE(err.find("Square 0 from 1 (0.00%), CFs: 1"), std::string::npos);
  diag() << "after" << std::flush;
  EXPECT_EQ(mine.str(), "after");
}

}  // namespace
}  // namespace dlslab::cli
