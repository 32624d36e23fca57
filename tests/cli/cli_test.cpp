#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "test_squares.h"

namespace dlslab::cli {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = Run(args, out, err);
  return {status, out.str(), err.str()};
}

std::string Temp(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("dlslab_cli_" + name)).string();
}

TEST(Cli, PrintsAnImportedSquareAsSolidString) {
  const Result r = RunCli({"--square", test::kBachelor, "As solid string"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("DLS: ") + test::kBachelor + "\n");
  EXPECT_EQ(r.err, "");
}

TEST(Cli, StatusLineComesLast) {
  const Result r = RunCli({"--status", "Clear square"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Status: \n");
}

TEST(Cli, SaveAndLoadRoundTrip) {
  const std::string file = Temp("pair.txt");
  Result r = RunCli({"Import pair", std::string(200, '5'), "Save to file", file});
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunCli({"Load from file...", file, "as solid string"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "DLS: " + std::string(100, '5') + "\nDLS2: " + std::string(100, '5') + "\n");
}

TEST(Cli, FailedCommandStopsWithStatusOne) {
  const std::string file = Temp("broken.txt");
  std::ofstream(file, std::ios::binary) << "DLS\r\n10\r\n 1 2";
  const Result r = RunCli({"Load from file", file, "As solid string"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("Load from file..."), std::string::npos);
}

TEST(Cli, UsageErrorsStopWithStatusTwo) {
  EXPECT_EQ(RunCli({"Frobnicate"}).status, 2);
  EXPECT_EQ(RunCli({"Set order"}).status, 2);  // missing N
  EXPECT_EQ(RunCli({"--seed", "x", "Clear square"}).status, 2);
  EXPECT_EQ(RunCli({"--bogus"}).status, 2);
  const Result r = RunCli({"Set order", "31"});
  EXPECT_EQ(r.status, 1);
}

TEST(Cli, ListNamesEveryCommand) {
  const Result r = RunCli({"--list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Load from file... FILE\n"), std::string::npos);
  EXPECT_NE(r.out.find("As solid string\n"), std::string::npos);
  EXPECT_NE(r.out.find("XO=74\n"), std::string::npos);
}

}  // namespace
}  // namespace dlslab::cli
