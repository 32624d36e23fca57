#include "bench/fp_data_collection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/error.h"

namespace dlslab {
namespace {

std::string bytes_of(std::initializer_list<int> values) {
  std::string s;
  for (const int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(TFpDataCollection, SaveToFileWritesHeaderAndValuesByteForByte) {
  TFpDataCollection data(0, 1);
  EXPECT_EQ(data.Count(), 0);
  data.Add(1.5);
  data.Add(-2.0);
  data.Add(1234.56);
  EXPECT_EQ(data.Count(), 3);

  std::string expected = bytes_of({31});
  expected += "FP data file (c) morvasti, 2015";
  expected += bytes_of({0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0});
  expected += bytes_of({0, 0, 0, 0, 0, 0, 0xf8, 0x3f});                    // 1.5
  expected += bytes_of({0, 0, 0, 0, 0, 0, 0, 0xc0});                       // -2.0
  expected += bytes_of({0x0a, 0xd7, 0xa3, 0x70, 0x3d, 0x4a, 0x93, 0x40});  // 1234.56

  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("dlslab_fp_" + std::to_string(::getpid()));
  data.SaveToFile(file.string());
  std::ifstream in(file, std::ios::binary);
  const std::string written(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(file);
  EXPECT_EQ(written.size(), 45u + 8 * 3);
  EXPECT_EQ(written, expected);
}

TEST(TFpDataCollection, HeaderIntegersAreLittleEndian) {
  TFpDataCollection data(0x01020304, -2);
  const std::string bytes = data.to_bytes();
  ASSERT_EQ(bytes.size(), 45u);
  EXPECT_EQ(bytes.substr(33, 12), bytes_of({4, 3, 2, 1, 0, 0, 0, 0, 0xfe, 0xff, 0xff, 0xff}));
}

TEST(TFpDataCollection, UnwritableFileThrowsAndLeavesNothing) {
  TFpDataCollection data(0, 1);
  EXPECT_THROW(data.SaveToFile("/nonexistent-folder/runa9.dat"), Error);
}

}  // namespace
}  // namespace dlslab
