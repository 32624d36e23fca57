#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_run.h"
#include "batch/batch_test_files.h"
#include "batch/merge.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::batch {
namespace {

using test::read_file;
using test::ScratchFolder;

class BatchChunks : public ::testing::Test {
 protected:
  BatchChunks() {
    // Repeats (one form many times), catalogue squares and an unreadable line or two.
    std::string text;
    for (std::uint32_t seed = 1; seed <= 90; ++seed) {
      text += SquareToString(dlslab::test::random_dls(seed % 37 + 1), false) + "\n";
      if (seed % 20 == 0) text += std::string(kSpecialSquares[seed / 20].digits) + "\n";
      if (seed % 41 == 0) text += "not a square\n";
    }
    input = folder.write_file("squares.txt", text);
  }

  // Runs the operation (chunk k of n; n = 0: whole) into `name`; returns the stderr text.
  std::string run(Operation operation, const std::string& name, unsigned k = 0, unsigned n = 0,
                  bool resume = false) {
    BatchOptions options;
    options.operation = operation;
    options.inputs = {input};
    options.output = folder.file_path(name);
    options.chunk = k;
    options.chunks = n;
    options.resume = resume;
    options.threads = 2;
    std::ostringstream out;
    std::ostringstream err;
    Reporter reporter(err, Reporter::ProgressMode::kNone);
    const std::atomic<bool> stop{false};
    const BatchSummary summary = run_batch(options, out, reporter, stop);
    EXPECT_EQ(summary.end, BatchSummary::End::kComplete) << err.str();
    return err.str();
  }

  ScratchFolder folder;
  std::string input;
};

TEST_F(BatchChunks, FourChunksMergedAreTheUnchunkedRun) {
  for (const Operation operation : {Operation::kCf, Operation::kOdls, Operation::kValidate}) {
    SCOPED_TRACE(std::string(operation_name(operation)));
    const std::string whole_messages = run(operation, "whole");
    std::string chunk_messages;
    std::vector<std::string> parts;
    for (unsigned k = 1; k <= 4; ++k) {
      const std::string name = "part" + std::to_string(k);
      chunk_messages += run(operation, name, k, 4);
      parts.push_back(folder.file_path(name));
    }
    // Every unreadable line is reported by one chunk only.
    EXPECT_EQ(chunk_messages, whole_messages);
    // Lines carry their numbers: any order; collection files are given in chunk order.
    if (!is_deduplicating(operation)) std::swap(parts[0], parts[3]);
    const MergeSummary merged = merge_batch_outputs(parts, folder.file_path("merged"));
    ASSERT_EQ(merged.error, "");
    EXPECT_EQ(read_file(folder.file_path("merged")), read_file(folder.file_path("whole")));
  }
}

TEST_F(BatchChunks, AChunkResumesFromItsPartialFile) {
  run(Operation::kOdls, "reference", 2, 3);
  const std::string full = read_file(folder.file_path("reference"));
  // Cut after the header and five lines, and in the middle of the sixth.
  std::size_t cut = 0;
  for (int line = 0; line < 6; ++line) cut = full.find('\n', cut) + 1;
  folder.write_file("resumed.partial", full.substr(0, cut + 30));
  run(Operation::kOdls, "resumed", 2, 3, true);
  EXPECT_EQ(read_file(folder.file_path("resumed")), full);
}

TEST_F(BatchChunks, OverlappingChunksAreRefused) {
  run(Operation::kOdls, "a", 1, 2);
  run(Operation::kOdls, "b", 1, 3);
  const MergeSummary merged =
      merge_batch_outputs({folder.file_path("a"), folder.file_path("b")}, folder.file_path("m"));
  EXPECT_NE(merged.error.find("overlap"), std::string::npos) << merged.error;
}

}  // namespace
}  // namespace dlslab::batch
