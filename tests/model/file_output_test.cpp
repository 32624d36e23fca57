#include "model/file_output.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "cmd/context.h"
#include "cmd/model_commands.h"
#include "collection/squares_collection.h"
#include "file_faults.h"
#include "model/error.h"
#include "test_squares.h"

namespace dlslab {
namespace {

namespace fs = std::filesystem;

std::string read_all(const fs::path& path) {
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
  void TearDown() override {
    test::clear_file_faults();
    fs::remove_all(dir_);
  }

  /// Nothing but the named files: no temporary left behind.
  [[nodiscard]] std::size_t files_in_dir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(AtomicWrite, ReplacesTheWholeFile) {
  const std::string name = (dir_ / "a.txt").string();
  write_file_atomically(name, "first version, rather long");
  write_file_atomically(name, "second");
  EXPECT_EQ(read_all(name), "second");
  EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(AtomicWrite, AFolderThatCannotHoldTheFileIsReported) {
  const fs::path not_a_folder = dir_ / "plain";
  write_file_atomically(not_a_folder.string(), "x");
  try {
    write_file_atomically((not_a_folder / "a.txt").string(), "y");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot write \""), std::string::npos) << e.what();
  }
  EXPECT_EQ(read_all(not_a_folder), "x");
}

// A file size limit makes writes fail the way a full disk does.
TEST_F(AtomicWrite, AFailedWriteKeepsTheEarlierFile) {
  const std::string name = (dir_ / "a.txt").string();
  write_file_atomically(name, "the good file");
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(write_file_atomically(name, std::string(100000, 'z')), Error);
  {
    AtomicFileWriter writer(name);
    EXPECT_TRUE(writer.write("partial"));
    EXPECT_FALSE(writer.write(std::string(100000, 'z')));
    EXPECT_FALSE(writer.commit());
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(read_all(name), "the good file");
  EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(AtomicWrite, AnUncommittedWriterLeavesNothing) {
  {
    AtomicFileWriter writer((dir_ / "a.txt").string());
    EXPECT_TRUE(writer.write("abandoned"));
  }
  EXPECT_EQ(files_in_dir(), 0u);
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
    EXPECT_TRUE(writer.write("header\n1\n"));
    EXPECT_TRUE(writer.flush());
  }  // gone without Finish: an interrupted run
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(read_all(target + ".partial"), "header\n1\n");
  {
    PartialFileWriter writer(target, PartialFileWriter::Mode::kAppend);
    EXPECT_TRUE(writer.write("2\n"));
    EXPECT_TRUE(writer.finish());
  }
  EXPECT_EQ(read_all(target), "header\n1\n2\n");
  EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(AtomicWrite, PartialFileInAMissingFolderFails) {
  PartialFileWriter writer((dir_ / "no" / "out.tsv").string(), PartialFileWriter::Mode::kTruncate);
  EXPECT_FALSE(writer.ok());
  EXPECT_FALSE(writer.write("x"));
  EXPECT_FALSE(writer.finish());
  EXPECT_NE(writer.error().find("open"), std::string::npos);
}

}  // namespace
}  // namespace dlslab

namespace dlslab {
namespace {

// The steps at which a save can fail.
enum class Step { kOpen, kWrite, kFsync, kClose, kRename, kRenameOverLockedFile };

const char* step_name(Step step) {
  switch (step) {
    case Step::kOpen:
      return "open";
    case Step::kWrite:
      return "write";
    case Step::kFsync:
      return "fsync";
    case Step::kClose:
      return "close";
    case Step::kRename:
    case Step::kRenameOverLockedFile:
      return "rename";
  }
  return "";
}

/// Makes the next save to `target` fail at `step`; the result undoes that when it goes. Null
/// when this machine cannot give the failure (a locked file needs root).
std::shared_ptr<void> arrange_failure(Step step, const fs::path& dir, const fs::path& target) {
  switch (step) {
    case Step::kOpen: {
      auto lock = std::make_shared<test::LockedFolder>(dir);
      return lock->ok() ? lock : nullptr;
    }
    case Step::kWrite:
      return std::make_shared<test::FileSizeLimit>(16);
    case Step::kFsync:
      test::fail_next_fsync(EIO, ".square.txt.tmp");
      return std::make_shared<int>(0);
    case Step::kClose:
      test::fail_next_close(EIO, ".square.txt.tmp");
      return std::make_shared<int>(0);
    case Step::kRename:
      fs::remove(target);
      fs::create_directory(target);
      std::ofstream(target / "inside") << "kept";
      return std::make_shared<int>(0);
    case Step::kRenameOverLockedFile: {
      auto lock = std::make_shared<test::LockedFile>(target);
      return lock->ok() ? lock : nullptr;
    }
  }
  return nullptr;
}

// Every writer of a user's file, each made to fail at every step: the call reports the
// failure, the file that stood there before is the same byte for byte, and no temporary is
// left beside it.
TEST_F(AtomicWrite, AFailureAtAnyStepOfAnyWriterKeepsTheEarlierFile) {
  struct Writer {
    const char* name;
    std::function<void(const std::string&)> save;  // throws on failure
  };
  TSquaresCollection collection;
  for (std::uint32_t seed = 1; seed <= 3; ++seed)
    collection.AddSquare(test::random_dls(seed), false, false);
  const std::vector<Writer> writers{
      {"WriteFileAtomically",
       [](const std::string& name) { write_file_atomically(name, std::string(5000, 'n')); }},
      {"Save to file...",
       [](const std::string& name) {
         cmd::Context ctx;
         cmd::ImportSquareMenuItemClick(ctx, test::kBachelor);
         cmd::SaveMenuItemClick(ctx, name);
       }},
      {"collection", [&collection](const std::string& name) { collection.SaveToFile(name); }},
      {"AtomicFileWriter",
       [](const std::string& name) {
         AtomicFileWriter writer(name);
         for (int k = 0; k < 50; ++k) writer.write(std::string(100, 'w'));
         if (writer.commit()) return;
         EXPECT_FALSE(writer.ok());
         EXPECT_FALSE(writer.commit()) << "a failed writer commits on a second try";
         throw Error(writer.error());
       }},
  };
  const std::string earlier = "the user's file\r\nas it was\r\n";
  int arranged = 0;
  for (const Writer& writer : writers) {
    for (const Step step : {Step::kOpen, Step::kWrite, Step::kFsync, Step::kClose, Step::kRename,
                            Step::kRenameOverLockedFile}) {
      SCOPED_TRACE(std::string(writer.name) + " failing at " + step_name(step));
      const fs::path target = dir_ / "square.txt";
      fs::remove_all(target);
      write_file_atomically(target.string(), earlier);
      std::string error;
      {
        const std::shared_ptr<void> fault = arrange_failure(step, dir_, target);
        if (!fault) continue;
        ++arranged;
        try {
          writer.save(target.string());
        } catch (const std::exception& e) {
          error = e.what();
        }
        test::clear_file_faults();
      }
      EXPECT_FALSE(error.empty()) << "the failure was not reported";
      if (writer.name != std::string("collection")) {
        EXPECT_NE(error.find(step_name(step)), std::string::npos) << error;
      }
      if (step == Step::kRename) {
        EXPECT_TRUE(fs::is_directory(target));
        EXPECT_EQ(read_all(target / "inside"), "kept");
      } else {
        EXPECT_EQ(read_all(target), earlier);
      }
      EXPECT_EQ(files_in_dir(), 1u);
    }
  }
  EXPECT_GE(arranged, 5 * static_cast<int>(writers.size()));
  // With every fault gone the same writers replace the file.
  for (const Writer& writer : writers) {
    const fs::path target = dir_ / "square.txt";
    fs::remove_all(target);
    write_file_atomically(target.string(), earlier);
    writer.save(target.string());
    EXPECT_NE(read_all(target), earlier) << writer.name;
    EXPECT_EQ(files_in_dir(), 1u);
  }
}

// The partial file of a long run: a failure at any step is reported, and Finish never puts a
// file under the finished name that is not complete.
TEST_F(AtomicWrite, PartialFileFailuresAreReportedAndNothingLooksFinished) {
  const std::string target = (dir_ / "out.tsv").string();
  const std::string partial = target + ".partial";
  {  // a full device
    fs::create_symlink("/dev/full", partial);
    PartialFileWriter writer(target, PartialFileWriter::Mode::kTruncate);
    ASSERT_TRUE(writer.ok()) << writer.error();
    EXPECT_FALSE(writer.write("header\n"));
    EXPECT_NE(writer.error().find("write: "), std::string::npos) << writer.error();
    EXPECT_FALSE(writer.finish());
    EXPECT_FALSE(fs::exists(target));
    fs::remove(partial);
  }
  {  // a flush to disk that fails
    PartialFileWriter writer(target, PartialFileWriter::Mode::kTruncate);
    EXPECT_TRUE(writer.write("header\n1\n"));
    test::fail_next_fsync(EIO);
    EXPECT_FALSE(writer.flush());
    EXPECT_NE(writer.error().find("fsync: "), std::string::npos) << writer.error();
    EXPECT_FALSE(writer.write("2\n"));
    EXPECT_FALSE(writer.finish());
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(read_all(partial), "header\n1\n");
  }
  {  // a close that fails at the end
    PartialFileWriter writer(target, PartialFileWriter::Mode::kAppend);
    EXPECT_TRUE(writer.write("2\n"));
    test::fail_next_close(EIO);
    EXPECT_FALSE(writer.finish());
    EXPECT_NE(writer.error().find("close: "), std::string::npos) << writer.error();
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(read_all(partial), "header\n1\n2\n");
  }
  {  // a folder in the way of the finished name
    fs::create_directory(target);
    PartialFileWriter writer(target, PartialFileWriter::Mode::kAppend);
    EXPECT_TRUE(writer.write("3\n"));
    EXPECT_FALSE(writer.finish());
    EXPECT_NE(writer.error().find("rename: "), std::string::npos) << writer.error();
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(read_all(partial), "header\n1\n2\n3\n");
    fs::remove(target);
  }
  {  // a folder that takes no new file
    fs::remove(partial);
    const test::LockedFolder lock(dir_);
    if (lock.ok()) {
      PartialFileWriter writer(target, PartialFileWriter::Mode::kTruncate);
      EXPECT_FALSE(writer.ok());
      EXPECT_NE(writer.error().find("open: "), std::string::npos) << writer.error();
      EXPECT_FALSE(writer.finish());
    }
  }
  EXPECT_EQ(files_in_dir(), 0u);
}

}  // namespace
}  // namespace dlslab
