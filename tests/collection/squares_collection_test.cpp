#include "collection/squares_collection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <numeric>
#include <random>

#include "model/error.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

constexpr const char* kWrongFormat =
    "TSquaresCollection.LoadFromFile_VelmoraFormat(): Wrong file format";

std::string temp_path(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("dlslab_collection_" + std::to_string(::getpid()) + "_" + name))
      .string();
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

/// A DLS from `digits` with rows and columns moved by the same pair-respecting permutation
/// (row k and row 9-k stay opposite), then its values relabelled: still a DLS.
std::string shuffled_variant(std::string_view digits, std::mt19937& rng) {
  std::array<int, 5> pairs;
  std::iota(pairs.begin(), pairs.end(), 0);
  std::shuffle(pairs.begin(), pairs.end(), rng);
  std::array<int, 10> pos;
  for (int k = 0; k < 5; ++k) {
    const bool flip = rng() & 1;
    pos[k] = flip ? 9 - pairs[k] : pairs[k];
    pos[9 - k] = 9 - pos[k];
  }
  std::array<char, 10> relabel;
  std::iota(relabel.begin(), relabel.end(), '0');
  std::shuffle(relabel.begin(), relabel.end(), rng);
  std::string out(100, '?');
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) out[pos[i] * 10 + pos[j]] = relabel[digits[i * 10 + j] - '0'];
  return out;
}

/// One block of a collection file as SaveToFile writes it.
std::string file_block(std::string_view digits, const char* eol = "\r\n",
                       bool leading_blank = false) {
  std::string text;
  for (int r = 0; r < 10; ++r) {
    if (leading_blank) text += ' ';
    for (int c = 0; c < 10; ++c) {
      text += digits[r * 10 + c];
      text += ' ';
    }
    text += eol;
  }
  return text + eol;
}

void expect_same_entries(const TSquaresCollection& a, const TSquaresCollection& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int i = 0; i < a.Count(); ++i) {
    EXPECT_EQ(a.Items(i), b.Items(i)) << "entry " << i;
    EXPECT_EQ(a.Counts(i), b.Counts(i)) << "entry " << i;
  }
}

TEST(NormalizedSquareString, MatchesTheRouteThroughASquare) {
  // Blanks, non-digits, short and long strings, values missing from the first row.
  std::mt19937 rng(9);
  const std::string alphabet = "0123456789-x ";
  for (int round = 0; round < 2000; ++round) {
    std::string s = round % 2 == 0 ? shuffled_variant(test::kBachelor, rng) : "";
    if (round % 2 != 0)
      for (int k = rng() % 112; k > 0; --k) s += alphabet[rng() % alphabet.size()];
    else
      s[rng() % 100] = alphabet[rng() % alphabet.size()];
    TLatinSquare square = StringToSquare(s);
    NormalizeByFirstRow(square);
    ASSERT_EQ(normalized_square_string(s), SquareToString(square, false)) << s;
  }
}

class CollectionFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::string& path : paths_) std::filesystem::remove(path);
  }
  std::string file_path(const std::string& name) {
    paths_.push_back(temp_path(name));
    return paths_.back();
  }

 private:
  std::vector<std::string> paths_;
};

TEST_F(CollectionFileTest, SavedCollectionLoadsBackUnchanged) {
  std::mt19937 rng(1);
  TSquaresCollection saved;
  for (int i = 0; i < 50; ++i)
    saved.AddSquareString(shuffled_variant(kSpecialSquares[i % 20].digits, rng), true, true);
  saved.AddSquareString(saved.Items(3), true, true);  // a count other than 1 is not stored
  const std::string path = file_path("roundtrip.txt");
  saved.SaveToFile(path);

  TSquaresCollection loaded;
  loaded.LoadFromFile_VelmoraFormat(path, true, true);
  ASSERT_EQ(loaded.Count(), saved.Count());
  for (int i = 0; i < saved.Count(); ++i) {
    EXPECT_EQ(loaded.Items(i), saved.Items(i));
    EXPECT_EQ(loaded.Counts(i), 1);
  }
}

TEST_F(CollectionFileTest, WritesSymbolsAndBlanksWithCrLfAndDashWhenEmpty) {
  TSquaresCollection c;
  const std::string path = file_path("format.txt");
  c.SaveToFile(path);
  EXPECT_EQ(read_file(path), "-");
  try {
    c.LoadFromFile_VelmoraFormat(path, true, true);  // no second row line follows the "-"
    FAIL() << "no exception";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kWrongFormat);
  }
  EXPECT_EQ(c.Count(), 0);
  c.AddSquareString(test::kBachelor, true, true);
  c.AddSquareString(test::kBachelor, true, true);  // counted once, written once
  c.SaveToFile(path);
  const std::string text = read_file(path);
  EXPECT_EQ(text, file_block(test::kBachelor));
  EXPECT_EQ(text.substr(0, 22), "0 1 2 3 4 5 6 7 8 9 \r\n");
}

TEST_F(CollectionFileTest, CountsRepeatsAndReadsLfAndLeadingBlanks) {
  std::mt19937 rng(4);
  const std::string a = normalized_square_string(shuffled_variant(kSpecialSquares[0].digits, rng));
  const std::string path = file_path("repeats.txt");
  // Line ends and a leading blank do not matter; the last block needs no separator.
  std::string last = file_block(test::kBachelor, "\r\n", true);
  last.resize(last.size() - 2);
  write_file(
      path, file_block(test::kBachelor, "\n") + file_block(a) + file_block(test::kBachelor) + last);
  TSquaresCollection c;
  c.AddSquareString(a, true, true);  // loading appends, it does not clear
  c.LoadFromFile_VelmoraFormat(path, true, true);
  ASSERT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Items(0), a);
  EXPECT_EQ(c.Counts(0), 2);
  EXPECT_EQ(c.Items(1), test::kBachelor);
  EXPECT_EQ(c.Counts(1), 3);
}

TEST_F(CollectionFileTest, BrokenFileKeepsWhatWasReadBeforeTheFault) {
  const std::string path = file_path("broken.txt");
  const std::string good = file_block(test::kBachelor);
  std::mt19937 rng(5);
  const std::string second = normalized_square_string(shuffled_variant(test::kBachelor, rng));
  const std::vector<std::string> faults = {
      good + file_block(second) + "\r\n",                // one empty line too many at the end
      good + good.substr(0, 5 * 22),                     // the file ends inside a block
      good + good.substr(0, 3 * 22) + "\r\n" + good,     // an empty row line
      good + good.substr(0, 22) + "0 1 2 3\r\n" + good,  // a row line too short for its symbols
  };
  for (const std::string& text : faults) {
    write_file(path, text);
    TSquaresCollection c;
    try {
      c.LoadFromFile_VelmoraFormat(path, true, true);
      ADD_FAILURE() << "no exception for:\n" << text;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), kWrongFormat);
    }
    ASSERT_GE(c.Count(), 1);
    EXPECT_EQ(c.Items(0), test::kBachelor);
  }
}

TEST_F(CollectionFileTest, MissingFileIsNamedInTheError) {
  const std::string path = temp_path("no/such/file.txt");
  TSquaresCollection c;
  try {
    c.LoadFromFile_VelmoraFormat(path, true, true);
    FAIL() << "no exception";
  } catch (const std::ios_base::failure& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  EXPECT_THROW(c.SaveToFile(path), std::ios_base::failure);
}

TEST(TSquaresCollection, HashIndexAgreesWithLinearScan) {
  // Many repeats, normalized and raw entries, checks on and off: both lookups must build the
  // same list and the same counts, and answer every query alike.
  std::mt19937 rng(11);
  std::vector<std::string> pool;
  for (int i = 0; i < 500; ++i)
    pool.push_back(shuffled_variant(kSpecialSquares[i % 20].digits, rng));
  TSquaresCollection hashed;
  TSquaresCollection linear(TSquaresCollection::Lookup::kLinear);
  for (int step = 0; step < 6000; ++step) {
    const std::string& s = pool[rng() % pool.size()];
    const bool check = rng() % 4 != 0;
    const bool normalize = rng() % 2 != 0;
    hashed.AddSquareString(s, check, normalize);
    linear.AddSquareString(s, check, normalize);
  }
  expect_same_entries(hashed, linear);
  for (const std::string& s : pool) {
    EXPECT_EQ(hashed.IndexOfString(s), linear.IndexOfString(s));
    const std::string n = normalized_square_string(s);
    EXPECT_EQ(hashed.IndexOfString(n), linear.IndexOfString(n));
    EXPECT_EQ(hashed.IndexOfString(n), hashed.index_of_string_linear(n));
  }
  EXPECT_EQ(hashed.IndexOfString("0123"), -1);
}

TEST(TSquaresCollection, AssignCopiesAndAddCollectionMerges) {
  std::mt19937 rng(12);
  const std::string a = normalized_square_string(shuffled_variant(test::kBachelor, rng));
  const std::string b = shuffled_variant(kSpecialSquares[3].digits, rng);  // not normalized
  TSquaresCollection source(TSquaresCollection::Lookup::kLinear);
  source.AddSquareString(a, true, false);
  source.AddSquareString(a, true, false);
  source.AddSquareString(b, true, false);
  source.Degrees() = {4, 5};

  TSquaresCollection copy;
  copy.Degrees() = {9};
  copy.AddCollection(source);  // empty: a plain copy, counts and raw text kept
  expect_same_entries(copy, source);
  EXPECT_EQ(copy.Degrees(), TDegreesArr{9});
  EXPECT_EQ(copy.IndexOfString(b), 1);  // the index is rebuilt for the copied entries

  copy.AddCollection(source);  // not empty: normalized, checked, counts not carried
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Counts(0), 3);
  EXPECT_EQ(copy.Items(2), normalized_square_string(b));
  EXPECT_EQ(copy.Counts(2), 1);

  copy.AddCollection(copy);  // from itself: every entry once more
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Counts(0), 4);
  EXPECT_EQ(copy.Counts(2), 3);

  copy.Clear();
  EXPECT_EQ(copy.IndexOfString(a), -1);
}

}  // namespace
}  // namespace dlslab
