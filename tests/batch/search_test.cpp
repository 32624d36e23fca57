#include "batch/search.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_test_files.h"
#include "batch/generate.h"
#include "batch/merge.h"
#include "cmd/canon_commands.h"
#include "cmd/context.h"
#include "cmd/cover_commands.h"
#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::batch {
namespace {

using test::read_file;
using test::ScratchFolder;

struct Outcome {
  SearchSummary summary;
  std::string out;
  std::string messages;
};

Outcome search(const SearchUnit& unit, SearchOptions options = {}) {
  std::ostringstream out;
  std::ostringstream err;
  Reporter reporter(err, Reporter::ProgressMode::kNone);
  const std::atomic<bool> stop{false};
  Outcome outcome{run_search(unit, options, out, reporter, stop), {}, {}};
  outcome.out = out.str();
  outcome.messages = err.str();
  return outcome;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> columns_of(const std::string& line) {
  std::vector<std::string> columns;
  std::istringstream in(line);
  for (std::string c; std::getline(in, c, '\t');) columns.push_back(c);
  return columns;
}

SearchUnit seeds(std::uint64_t first, std::uint64_t count) {
  SearchUnit unit;
  unit.first = first;
  unit.count = count;
  return unit;
}

TEST(RunSearch, ASeedRangeChecksTheSquaresGenerateWrites) {
  ScratchFolder folder;
  std::string squares;
  const std::atomic<bool> stop{false};
  generate_squares(
      300, 41, 2,
      [&squares](std::string_view text) {
        squares += text;
        return true;
      },
      stop);
  SearchUnit from_file;
  from_file.inputs = {folder.write_file("squares.txt", squares)};
  const Outcome generated = search(seeds(41, 300));
  const Outcome read = search(from_file);
  EXPECT_EQ(generated.summary.end, SearchSummary::End::kComplete) << generated.messages;
  EXPECT_EQ(generated.summary.checked, 300u);
  EXPECT_EQ(read.summary.checked, 300u);
  // Random squares have no mate: the output holds its header, the columns and the counts.
  EXPECT_EQ(generated.out,
            "# dlslab search generator=rsv3 seeds=41:300\n"
            "seed\tsquare\tmates\tcf\tmate squares\n"
            "# end checked=300 hits=0\n");
  EXPECT_EQ(lines_of(read.out).back(), "# end checked=300 hits=0");
  EXPECT_EQ(generated.summary.hits, 0u);
  EXPECT_NE(search_summary_line(seeds(41, 300), generated.summary)
                .find("300 squares checked, 0 hits, 0 distinct forms"),
            std::string::npos);
}

TEST(RunSearch, CatalogueSquaresAreHitsWithTheMatesAndFormsOfTheCommands) {
  ScratchFolder folder;
  std::string text;
  for (const SpecialSquare& s : kSpecialSquares) text += std::string(s.digits) + "\n";
  SearchUnit unit;
  unit.inputs = {folder.write_file("catalogue.txt", text)};
  SearchOptions options;
  options.forms = folder.file_path("forms.txt");
  const Outcome outcome = search(unit, options);
  ASSERT_EQ(outcome.summary.end, SearchSummary::End::kComplete) << outcome.messages;
  const std::vector<std::string> lines = lines_of(outcome.out);
  ASSERT_EQ(lines.size(), 2 + 19 + 1u);
  std::size_t hit = 2;
  std::vector<std::string> forms;
  for (std::size_t i = 0; i < kSpecialSquares.size(); ++i) {
    const SpecialSquare& s = kSpecialSquares[i];
    cmd::Context ctx;
    cmd::ImportSquareMenuItemClick(ctx, std::string(s.digits));
    ctx.log.Clear();
    cmd::GetOdlsMenuItemClick(ctx);
    const std::string found = ctx.log.lines().at(0);
    if (s.caption == "Bachelor") {
      EXPECT_EQ(found, "ODLS found: 0");
      continue;
    }
    SCOPED_TRACE(std::string(s.caption));
    const std::vector<std::string> c = columns_of(lines.at(hit++));
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(c[0], folder.file_path("catalogue.txt") + ":" + std::to_string(i + 1));
    EXPECT_EQ(c[1], s.digits);
    EXPECT_EQ("ODLS found: " + c[2], found);
    EXPECT_EQ(c[4].size(), 101 * std::stoul(c[2]) - 1);
    cmd::GetCanonicalFormMenuItemClick(ctx);
    EXPECT_EQ(c[3], SquareToString(ctx.model.FirstSquare, false));
    if (std::find(forms.begin(), forms.end(), c[3]) == forms.end()) forms.push_back(c[3]);
  }
  EXPECT_EQ(lines.back(), "# end checked=20 hits=19");
  EXPECT_EQ(outcome.summary.forms, forms.size());
  // The forms file: each form once, in the order met, as a collection with its count.
  const std::vector<std::string> form_lines = lines_of(read_file(options.forms));
  ASSERT_EQ(form_lines.size(), 11 * forms.size());
  for (std::size_t f = 0; f < forms.size(); ++f) {
    std::string rows;
    for (int r = 0; r < 10; ++r)
      for (int k = 0; k < 10; ++k) rows += form_lines[11 * f + r][2 * k];
    EXPECT_EQ(rows, forms[f]);
  }
}

TEST(RunSearch, TheSameBytesForOneAndTwoThreadsWithTheFilesOrNot) {
  ScratchFolder folder;
  std::string text;
  for (std::uint32_t seed = 1; seed <= 150; ++seed) {
    text += SquareToString(dlslab::test::random_dls(seed), false) + "\n";
    if (seed % 30 == 0) text += std::string(kSpecialSquares[seed / 30].digits) + "\n";
  }
  SearchUnit unit;
  unit.inputs = {folder.write_file("mixed.txt", text)};
  SearchOptions one;
  one.threads = 1;
  SearchOptions two = one;
  two.threads = 2;
  const Outcome reference = search(unit, one);
  EXPECT_EQ(reference.summary.hits, 5u);
  EXPECT_EQ(search(unit, two).out, reference.out);
  two.output = folder.file_path("out.tsv");
  std::vector<std::string> places;
  two.on_hit = [&places](const SearchHit& hit) { places.push_back(hit.place); };
  EXPECT_EQ(search(unit, two).summary.end, SearchSummary::End::kComplete);
  EXPECT_EQ(read_file(two.output), reference.out);
  EXPECT_EQ(places.size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(two.output + ".partial"));
  EXPECT_FALSE(std::filesystem::exists(two.output + ".checkpoint"));
}

TEST(RunSearch, EveryGeneratorWritesTheSameBytesOnOneAndTwoThreads) {
  // Two threads take the blocks of 256 seeds in any order: switch's runs of 1024 seeds are then
  // walked again from their start, or from an earlier block, by the thread that takes a block.
  struct Case {
    const char* generator;
    std::uint64_t first, count;
  };
  for (const Case& c : {Case{"rsv3", 3, 700}, Case{"brown", 5, 300}, Case{"switch", 900, 2400}}) {
    SCOPED_TRACE(c.generator);
    SearchUnit unit = seeds(c.first, c.count);
    unit.generator = c.generator;
    SearchOptions one;
    one.threads = 1;
    SearchOptions two = one;
    two.threads = 2;
    const Outcome reference = search(unit, one);
    ASSERT_EQ(reference.summary.end, SearchSummary::End::kComplete) << reference.messages;
    EXPECT_EQ(reference.summary.checked, c.count);
    for (int round = 0; round < 3; ++round) EXPECT_EQ(search(unit, two).out, reference.out);
  }
}

TEST(RunSearch, ResumesFromTheCheckpointAndRefusesAnotherUnitsPartialFile) {
  ScratchFolder folder;
  SearchOptions options;
  options.output = folder.file_path("unit.tsv");
  const Outcome whole = search(seeds(7, 500), options);
  const std::string reference = read_file(options.output);
  // A run killed after a checkpoint at square 256: the partial file may hold more than it says.
  const std::string header = search_header(seeds(7, 500));
  const std::string head = header + "\nseed\tsquare\tmates\tcf\tmate squares\n";
  folder.write_file("unit.tsv.partial", head + "garbage after the checkpoint");
  folder.write_file("unit.tsv.checkpoint",
                    header + "\nposition=256 bytes=" + std::to_string(head.size()) +
                        " hits=0 checked=256 skipped=0\n");
  options.resume = true;
  const Outcome resumed = search(seeds(7, 500), options);
  EXPECT_EQ(resumed.summary.end, SearchSummary::End::kComplete) << resumed.messages;
  EXPECT_EQ(resumed.summary.resumed, 256u);
  EXPECT_EQ(resumed.summary.checked, 500u);
  EXPECT_EQ(read_file(options.output), reference);
  // The partial file of another range is kept and refused.
  folder.write_file("unit.tsv.partial", head);
  folder.write_file("unit.tsv.checkpoint",
                    header + "\nposition=0 bytes=10 hits=0 checked=0 skipped=0\n");
  const Outcome other = search(seeds(8, 500), options);
  EXPECT_EQ(other.summary.end, SearchSummary::End::kFailed);
  EXPECT_NE(other.summary.error.find("another search"), std::string::npos) << other.summary.error;
  EXPECT_EQ(read_file(options.output + ".partial"), head);
}

TEST(RunSearch, ChunksOfAnInputMergeIntoTheWholeSearchUnderTheInputsName) {
  ScratchFolder folder;
  // Catalogue squares (most with mates) between random DLS, and an unreadable line.
  std::string text;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    text += SquareToString(dlslab::test::random_dls(seed), false) + "\n";
    if (seed % 2 == 0) text += std::string(kSpecialSquares[seed / 2 - 1].digits) + "\n";
    if (seed == 17) text += "not a square\n";
  }
  const std::string file = folder.write_file("physical-name", text);
  const auto run = [&](unsigned k, unsigned n, const std::string& output) {
    SearchUnit unit;
    unit.inputs = {file};
    unit.input_names = {"squares.txt"};
    unit.chunk = k;
    unit.chunks = n;
    SearchOptions options;
    options.output = folder.file_path(output);
    return search(unit, options).summary;
  };
  ASSERT_EQ(run(0, 0, "whole.tsv").end, SearchSummary::End::kComplete);
  const std::string whole = read_file(folder.file_path("whole.tsv"));
  EXPECT_TRUE(whole.starts_with("# dlslab search input=squares.txt\n")) << whole.substr(0, 60);
  EXPECT_NE(whole.find("\nsquares.txt:"), std::string::npos);
  EXPECT_EQ(whole.find("physical-name"), std::string::npos);
  std::uint64_t checked = 0;
  std::vector<std::string> parts;
  for (unsigned k : {3u, 1u, 4u, 2u}) {
    const SearchSummary summary = run(k, 4, "chunk" + std::to_string(k));
    ASSERT_EQ(summary.end, SearchSummary::End::kComplete) << summary.error;
    checked += summary.checked;
    parts.push_back(folder.file_path("chunk" + std::to_string(k)));
  }
  EXPECT_EQ(checked, 60u);
  EXPECT_TRUE(read_file(parts[0]).starts_with("# dlslab search input=squares.txt chunk=3/4\n"));
  const MergeSummary merged = merge_search_outputs(parts, folder.file_path("merged"), "");
  ASSERT_EQ(merged.error, "");
  EXPECT_EQ(read_file(folder.file_path("merged")), whole);
  // One chunk of one is the whole input.
  ASSERT_EQ(run(1, 1, "one.tsv").end, SearchSummary::End::kComplete);
  EXPECT_EQ(read_file(folder.file_path("one.tsv")), whole);

  const auto error = [&](std::vector<std::string> names) {
    return merge_search_outputs(names, folder.file_path("refused"), "").error;
  };
  EXPECT_EQ(error({parts[0], parts[1]}), "input=squares.txt: chunks 2, 4 of 4 are missing");
  EXPECT_EQ(error({parts[0], parts[1], parts[0], parts[2], parts[3]}),
            parts[0] + " and " + parts[0] + " are both chunk 3/4");
  ASSERT_EQ(run(1, 2, "half").end, SearchSummary::End::kComplete);
  EXPECT_EQ(error({parts[1], folder.file_path("half")}),
            folder.file_path("half") + " is chunk 1/2, " + parts[1] + " chunk 1/4");
  ASSERT_EQ(search(seeds(1, 3), {.output = folder.file_path("seeds")}).summary.end,
            SearchSummary::End::kComplete);
  EXPECT_EQ(error({parts[1], folder.file_path("seeds")}),
            folder.file_path("seeds") + " and " + parts[1] +
                " are not both searches of a generator or both of input files");
}

TEST(MergeSearchOutputs, FourUnitsInAnyOrderGiveOneRunsBytes) {
  ScratchFolder folder;
  SearchOptions options;
  options.output = folder.file_path("whole.tsv");
  search(seeds(100, 900), options);
  std::vector<std::string> parts;
  const std::uint64_t cuts[] = {100, 350, 351, 700, 1000};
  for (int k = 3; k >= 0; --k) {
    options.output = folder.file_path("part" + std::to_string(k) + ".tsv");
    search(seeds(cuts[k], cuts[k + 1] - cuts[k]), options);
    parts.push_back(options.output);
  }
  const MergeSummary merged = merge_search_outputs(parts, folder.file_path("merged.tsv"), "");
  ASSERT_EQ(merged.error, "");
  EXPECT_EQ(merged.checked, 900u);
  EXPECT_EQ(read_file(folder.file_path("merged.tsv")), read_file(folder.file_path("whole.tsv")));
}

TEST(MergeSearchOutputs, HitsAreOrderedBySeedAndTheirFormsCounted) {
  ScratchFolder folder;
  const std::string columns = "seed\tsquare\tmates\tcf\tmate squares\n";
  const std::string form_a(100, '1');
  const std::string form_b(100, '2');
  auto hit = [](int seed, const std::string& form) {
    return std::to_string(seed) + "\t" + std::string(100, '0') + "\t1\t" + form + "\t" +
           std::string(100, '3') + "\n";
  };
  const std::string late = folder.write_file(
      "late.tsv", "# dlslab search generator=rsv3 seeds=10:10\n" + columns + hit(12, form_b) +
                      hit(15, form_a) + "# end checked=10 hits=2\n");
  const std::string early =
      folder.write_file("early.tsv", "# dlslab search generator=rsv3 seeds=0:10\n" + columns +
                                         hit(3, form_a) + "# end checked=10 hits=1\n");
  ASSERT_EQ(
      merge_search_outputs({late, early}, folder.file_path("m.tsv"), folder.file_path("f.txt"))
          .error,
      "");
  EXPECT_EQ(read_file(folder.file_path("m.tsv")),
            "# dlslab search generator=rsv3 seeds=0:20\n" + columns + hit(3, form_a) +
                hit(12, form_b) + hit(15, form_a) + "# end checked=20 hits=3\n");
  const std::vector<std::string> forms = lines_of(read_file(folder.file_path("f.txt")));
  ASSERT_EQ(forms.size(), 22u);
  EXPECT_EQ(forms[0].substr(0, 3), "1 1");
  EXPECT_EQ(forms[10], "2");  // form a: the hits of seeds 3 and 15
  EXPECT_EQ(forms[11].substr(0, 3), "2 2");
  EXPECT_EQ(forms[21], "1");
}

TEST(MergeSearchOutputs, GapsOverlapsAndUnfinishedUnitsAreRefusedByName) {
  ScratchFolder folder;
  const std::string columns = "seed\tsquare\tmates\tcf\tmate squares\n";
  auto unit = [&](const std::string& name, int first, int count, bool ended = true) {
    return folder.write_file(
        name, "# dlslab search generator=rsv3 seeds=" + std::to_string(first) + ":" +
                  std::to_string(count) + "\n" + columns +
                  (ended ? "# end checked=" + std::to_string(count) + " hits=0\n" : ""));
  };
  const std::string a = unit("a.tsv", 0, 100);
  const std::string b = unit("b.tsv", 150, 50);
  const std::string c = unit("c.tsv", 90, 60);
  const std::string out = folder.file_path("out.tsv");
  EXPECT_EQ(merge_search_outputs({b, a}, out, "").error, "seeds 100 to 149 are missing between " +
                                                             a + " (seeds 0 to 99) and " + b +
                                                             " (seeds 150 to 199)");
  EXPECT_EQ(merge_search_outputs({a, c, b}, out, "").error,
            a + " (seeds 0 to 99) and " + c + " (seeds 90 to 149) overlap in seeds 90 to 99");
  const std::string cut = unit("cut.tsv", 100, 50, false);
  EXPECT_NE(merge_search_outputs({a, cut, b}, out, "").error.find("cut.tsv is not complete"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace dlslab::batch
