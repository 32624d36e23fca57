#include "model/file_output.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/error.h"

namespace dlslab {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AtomicWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("dlslab-atomic-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  /// Nothing but the named files: no temporary left behind.
  [[nodiscard]] std::size_t FilesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(AtomicWrite, ReplacesTheWholeFile) {
  const std::string name = (dir_ / "a.txt").string();
  WriteFileAtomically(name, "first version, rather long");
  WriteFileAtomically(name, "second");
  EXPECT_EQ(ReadAll(name), "second");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicWrite, AFolderThatCannotHoldTheFileIsReported) {
  const fs::path not_a_folder = dir_ / "plain";
  WriteFileAtomically(not_a_folder.string(), "x");
  try {
    WriteFileAtomically((not_a_folder / "a.txt").string(), "y");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot write \""), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadAll(not_a_folder), "x");
}

// A file size limit makes writes fail the way a full disk does.
TEST_F(AtomicWrite, AFailedWriteKeepsTheEarlierFile) {
  const std::string name = (dir_ / "a.txt").string();
  WriteFileAtomically(name, "the good file");
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(WriteFileAtomically(name, std::string(100000, 'z')), Error);
  {
    AtomicFileWriter writer(name);
    EXPECT_TRUE(writer.Write("partial"));
    EXPECT_FALSE(writer.Write(std::string(100000, 'z')));
    EXPECT_FALSE(writer.Commit());
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(ReadAll(name), "the good file");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicWrite, AnUncommittedWriterLeavesNothing) {
  {
    AtomicFileWriter writer((dir_ / "a.txt").string());
    EXPECT_TRUE(writer.Write("abandoned"));
  }
  EXPECT_EQ(FilesInDir(), 0u);
}

}  // namespace
}  // namespace dlslab

namespace dlslab {
namespace {

TEST_F(AtomicWrite, PartialFileStaysUntilFinishedAndAppendsOnResume) {
  const std::string target = (dir_ / "out.tsv").string();
  {
    PartialFileWriter writer(target, PartialFileWriter::Mode::kTruncate);
    ASSERT_TRUE(writer.ok()) << writer.error();
    EXPECT_TRUE(writer.Write("header\n1\n"));
    EXPECT_TRUE(writer.Flush());
  }  // gone without Finish: an interrupted run
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(ReadAll(target + ".partial"), "header\n1\n");
  {
    PartialFileWriter writer(target, PartialFileWriter::Mode::kAppend);
    EXPECT_TRUE(writer.Write("2\n"));
    EXPECT_TRUE(writer.Finish());
  }
  EXPECT_EQ(ReadAll(target), "header\n1\n2\n");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicWrite, PartialFileInAMissingFolderFails) {
  PartialFileWriter writer((dir_ / "no" / "out.tsv").string(), PartialFileWriter::Mode::kTruncate);
  EXPECT_FALSE(writer.ok());
  EXPECT_FALSE(writer.Write("x"));
  EXPECT_FALSE(writer.Finish());
  EXPECT_NE(writer.error().find("open"), std::string::npos);
}

}  // namespace
}  // namespace dlslab
