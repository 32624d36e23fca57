#include "analysis/file_scanner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "canon/canonical_forms.h"
#include "collection/squares_collection.h"
#include "model/diagnostics.h"
#include "model/error.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

namespace fs = std::filesystem;

/// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name)
      : path_(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  [[nodiscard]] std::string prefix() const { return path_.string() + "/"; }
  void write_file(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }

 private:
  fs::path path_;
};

class RecordingScanner : public TFileScaner {
 public:
  using TFileScaner::TFileScaner;
  std::vector<std::string> seen;

 protected:
  void ProcessFile(const std::string& file_name) override { seen.push_back(file_name); }
};

TEST(MatchesMask, StarsAndQuestionMarks) {
  EXPECT_TRUE(matches_mask("anything.txt", "*"));
  EXPECT_TRUE(matches_mask("", "*"));
  EXPECT_TRUE(matches_mask("a.txt", "*.txt"));
  EXPECT_FALSE(matches_mask("a.txt.bak", "*.txt"));
  EXPECT_TRUE(matches_mask("ab.c", "a?.c"));
  EXPECT_FALSE(matches_mask("a.c", "a?.c"));
  EXPECT_TRUE(matches_mask("xaaab", "*a*b"));
  EXPECT_FALSE(matches_mask("abc", "abd"));
}

TEST(WithTrailingSeparator, ExactlyOne) {
  EXPECT_EQ(with_trailing_separator("/tmp/x"), "/tmp/x/");
  EXPECT_EQ(with_trailing_separator("/tmp/x/"), "/tmp/x/");
  EXPECT_EQ(with_trailing_separator("/tmp/x///"), "/tmp/x/");
  EXPECT_EQ(with_trailing_separator("/"), "/");
  EXPECT_EQ(with_trailing_separator("rel"), "rel/");
}

TEST(TFileScaner, FilesInNameOrderWithoutSubfolders) {
  TempFolder dir("dlslab_scan_order");
  dir.write_file("b.txt", "");
  dir.write_file("a.txt", "");
  dir.write_file("C.dat", "");
  fs::create_directory(dir.prefix() + "sub.txt");
  std::ofstream(dir.prefix() + "sub.txt/inner.txt") << "";  // not reached
  RecordingScanner all("*", dir.prefix());
  std::vector<int> progress;
  all.OnProgress = [&progress](int n) { progress.push_back(n); };
  EXPECT_EQ(all.FilesCount(), 0);
  all.Scan();
  EXPECT_EQ(all.seen, (std::vector<std::string>{dir.prefix() + "C.dat", dir.prefix() + "a.txt",
                                                dir.prefix() + "b.txt"}));
  EXPECT_EQ(all.FilesCount(), 3);
  EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));

  RecordingScanner texts("*.txt", dir.prefix());
  texts.Scan();  // no OnProgress set
  EXPECT_EQ(texts.seen, (std::vector<std::string>{dir.prefix() + "a.txt", dir.prefix() + "b.txt"}));
}

TEST(TFileScaner, EmptyAndMissingFolders) {
  TempFolder dir("dlslab_scan_empty");
  fs::create_directory(dir.prefix() + "only_a_folder");
  RecordingScanner empty("*", dir.prefix());
  empty.Scan();
  EXPECT_TRUE(empty.seen.empty());
  EXPECT_EQ(empty.FilesCount(), 0);

  RecordingScanner missing("*", dir.prefix() + "nowhere/");
  try {
    missing.Scan();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot read the folder \"" + dir.prefix() + "nowhere/\""),
              std::string::npos)
        << e.what();
  }
}

class SquaresScannerTest : public ::testing::Test {
 protected:
  /// Saves the squares, unnormalized, as a collection file of the folder.
  static void write_collection(const TempFolder& dir, const std::string& name,
                              const std::vector<TLatinSquare>& squares) {
    TSquaresCollection c;
    for (const TLatinSquare& s : squares) c.AddSquare(s, true, false);
    c.SaveToFile(dir.prefix() + name);
  }

  std::ostringstream diag;
  const ScopedDiagStream diag_here{&diag};
};

TEST_F(SquaresScannerTest, FindsFilesHoldingTheCanonicalForm) {
  const TLatinSquare square = test::random_dls(3);
  const TLatinSquare form = GetCanonicalForm(square);
  TLatinSquare turned(kOrder);
  Transpose(turned, square);
  TempFolder dir("dlslab_scan_squares");
  write_collection(dir, "1_match.txt", {test::random_dls(5), square});
  write_collection(dir, "2_other.txt", {test::random_dls(7)});
  write_collection(dir, "3_turned.txt", {turned});

  TSquaresCollectionsScanner by_form("*", dir.prefix(), form);
  by_form.Scan();
  EXPECT_EQ(by_form.found_files(), (std::vector<std::string>{dir.prefix() + "1_match.txt",
                                                             dir.prefix() + "3_turned.txt"}));
  EXPECT_EQ(by_form.FilesCount(), 3);
  EXPECT_NE(diag.str().find("Square 0 from 2 (0.00%), CFs: 1"), std::string::npos) << diag.str();

  // The square itself is not a canonical form, so it is found nowhere.
  ASSERT_FALSE(square == form);
  TSquaresCollectionsScanner by_square("*", dir.prefix(), square);
  by_square.Scan();
  EXPECT_TRUE(by_square.found_files().empty());
}

TEST_F(SquaresScannerTest, BrokenFileStopsTheScanKeepingWhatWasFound) {
  const TLatinSquare form = GetCanonicalForm(test::random_dls(3));
  TempFolder dir("dlslab_scan_broken");
  write_collection(dir, "1.txt", {form});
  dir.write_file("2.txt", "0 1 2 3 4 5 6 7 8 9\r\n");
  write_collection(dir, "3.txt", {form});
  TSquaresCollectionsScanner scanner("*", dir.prefix(), form);
  try {
    scanner.Scan();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "TSquaresCollection.LoadFromFile_VelmoraFormat(): Wrong file format");
  }
  EXPECT_EQ(scanner.found_files(), (std::vector<std::string>{dir.prefix() + "1.txt"}));
  EXPECT_EQ(scanner.FilesCount(), 1);
}

TEST_F(SquaresScannerTest, PartialAndForeignSquaresDoNotStopTheScan) {
  TempFolder dir("dlslab_scan_partial");
  std::string rows;
  for (int r = 0; r < 10; ++r) rows += "- 7 x 1 - - - 9 9 9 \r\n";
  dir.write_file("odd.txt", rows + "\r\n");
  TSquaresCollectionsScanner scanner("*", dir.prefix(), StringToSquare(test::kBachelor));
  scanner.Scan();
  EXPECT_TRUE(scanner.found_files().empty());
  EXPECT_EQ(scanner.FilesCount(), 1);
}

}  // namespace
}  // namespace dlslab
