// How soon a long command stops after a cancel request: the time from RequestCancel to the end
// of the job's Run, with the command well inside its work (it has run for kHeadStart). The
// window and the CLI promise about a tenth of a second.
//
//   BM_CancelLatency/command
//       0 "Get fillings count" on an empty square (never ends by itself)
//       1 "For all family" on "1:10 based"
//       2 "Get all ODLS family (unique CFs only)" on "1:10 based"
//       3 "Get isomorphism class" on the bachelor square
//       4 "Backward" on a fresh random DLS each time
//       5 "Random" on a fresh random DLS each time
//       6 "Draw statistical info" over 20000 random DLS
//   The counter finished_first counts the runs that ended before the request came (their
//   time says nothing about the latency).

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "cmd/command_job.h"
#include "cmd/model_commands.h"
#include "model/diagnostics.h"
#include "model/square_catalogue.h"
#include "random_squares.h"

namespace dlslab {
namespace {

constexpr auto kHeadStart = std::chrono::milliseconds(30);
constexpr int kOneToTenBased = 13;
constexpr const char* kBachelor =
    "0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982"
    "760431";

struct Case {
  const char* caption;
  void (*prepare)(cmd::Context& ctx, int run);
};

const Case kCases[] = {
    {"Get fillings count", [](cmd::Context& ctx, int) { ctx.model.ClearSquares(); }},
    {"For all family",
     [](cmd::Context& ctx, int) {
       cmd::LoadSpecialSquare(ctx, std::string(kSpecialSquares[kOneToTenBased].digits));
     }},
    {"Get all ODLS family (unique CFs only)",
     [](cmd::Context& ctx, int) {
       cmd::LoadSpecialSquare(ctx, std::string(kSpecialSquares[kOneToTenBased].digits));
     }},
    {"Get isomorphism class",
     [](cmd::Context& ctx, int) { cmd::ImportSquareMenuItemClick(ctx, kBachelor); }},
    {"Backward",
     [](cmd::Context& ctx, int run) {
       ctx.model.SetFirstSquare(bench::RandomDiagonalLatinSquare(static_cast<std::uint32_t>(run)));
     }},
    {"Random",
     [](cmd::Context& ctx, int run) {
       ctx.model.SetFirstSquare(bench::RandomDiagonalLatinSquare(static_cast<std::uint32_t>(run)));
     }},
    {"Draw statistical info",
     [](cmd::Context& ctx, int) {
       static const std::vector<TLatinSquare> squares = bench::RandomDiagonalLatinSquares(20000);
       if (ctx.collection.Count() == 0)
         for (const TLatinSquare& s : squares) ctx.collection.AddSquare(s, false, false);
       ctx.save_statistics_bitmap = [](const CellHistograms&, const std::string&) {};
     }},
};

void BM_CancelLatency(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  const cmd::MenuEntry* entry = cmd::find_command(c.caption);
  std::ostream& diagnostics = diag();
  set_diag_stream(nullptr);  // the commands' speed reports would drown the table
  cmd::Context ctx;
  int run = 0;
  int finished_first = 0;
  for (auto _ : state) {
    c.prepare(ctx, ++run);
    cmd::CommandJob job(*entry, {}, ctx);
    std::thread worker([&job] { job.run(); });
    std::this_thread::sleep_for(kHeadStart);
    if (job.outcome() != cmd::CommandJob::Outcome::kRunning) ++finished_first;
    const auto start = std::chrono::steady_clock::now();
    job.progress().request_cancel();
    worker.join();
    const auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
  set_diag_stream(&diagnostics);
  state.SetLabel(c.caption);
  state.counters["finished_first"] = finished_first;
}
// A fixed number of runs: the manual times are tiny, so the library would ask for thousands.
BENCHMARK(BM_CancelLatency)
    ->DenseRange(0, 6)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dlslab
