#include "cmd/cover_commands.h"

#include <string>

#include "cmd/model_commands.h"
#include "cover/odls.h"
#include "cover/transversals.h"
#include "model/ls_data_structs.h"

namespace dlslab::cmd {
namespace {

/// True when the first square is one the transversal routines are defined for; otherwise
/// says why in the log. A complete square that is not Latin is refused too: its transversals
/// can run into the millions (ten equal rows have 10! of them), and mates need a Latin square.
bool accepts_square(Context& ctx) {
  const TLatinSquare& square = ctx.model.FirstSquare;
  if (square.order() != kOrder) {
    ctx.log.Add("Not implemented for N<>10");
    return false;
  }
  if (!is_complete_latin(square)) {
    ctx.log.Add("Square is incorrect");
    return false;
  }
  return true;
}

std::string structure_line(const std::string& prefix, const TransversalsResult& result) {
  std::string line = prefix;
  for (const int count : result.Counts) line += std::to_string(count) + ' ';
  return line + "(total " + std::to_string(result.Starts[kOrder]) + ")";
}

std::string padded(int value, std::size_t width) {
  std::string text = std::to_string(value);
  return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

}  // namespace

void TransversalsStructureAnalysisMenuItemClick(Context& ctx) {
  if (!accepts_square(ctx)) return;
  const TLatinSquare& square = ctx.model.FirstSquare;
  ctx.log.Add(structure_line("Transversals structure: ", GetTransversals(square, false)));
  ctx.log.Add(structure_line("Diagonal transversals structure: ", GetTransversals(square, true)));
}

void GetTransversalsCoverageMapMenuItemClick(Context& ctx) {
  if (!accepts_square(ctx)) return;
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  TransversalSearch().GetTransversalsFast(ctx.model.FirstSquare, true, starts, counts, table);
  const TLatinSquare map = GetTransversalsCoverageMap(table);
  int sum = 0;
  for (int i = 0; i < map.size(); ++i) sum += map.data()[i];
  ctx.log.Add("Transversals coverage map (sum = " + std::to_string(sum) + "): ");
  for (int r = 0; r < kOrder; ++r) {
    std::string line;
    for (int c = 0; c < kOrder; ++c) line += padded(map[r][c], 3) + ' ';
    ctx.log.Add(line);
  }
}

void PrintAllTransversalsMenuItemClick(Context& ctx) {
  if (!accepts_square(ctx)) return;
  const TransversalsResult result = GetTransversals(ctx.model.FirstSquare, true);
  ctx.log.Add("Transversals set: ");
  for (std::size_t k = 0; k < result.Transversals.size(); ++k) {
    std::string line = "Transversal " + std::to_string(k + 1) + ":";
    for (const int c : result.Transversals[k]) line += ' ' + std::to_string(c);
    ctx.log.Add(line);
  }
}

void GetOdlsMenuItemClick(Context& ctx) {
  if (!accepts_square(ctx)) return;
  // Mates are defined for a DLS; a square with repeats can have millions of transversals.
  if (!IsDiagonalLatin(ctx.model.FirstSquare)) {
    ctx.log.Add("Square is incorrect");
    return;
  }
  OdlsSearch& search = ctx.odls;
  const TOrthogonalSquares mates = search.GetOdls(ctx.model.FirstSquare);
  ctx.log.Add("ODLS found: " + std::to_string(mates.Count()));
  if (mates.Count() > 0) {
    RadioItemClick(ctx, 1);
    TLatinSquare second = CreateSquare(ctx.model.GetOrder());
    CopySquare(second, mates.Squares[0]);
    ctx.model.SecondSquare = second;
  }
  for (int i = 1; i <= mates.Count(); ++i)
    ctx.log.Add("DLS " + std::to_string(i) + ": " + SquareToString(mates.Squares[i - 1], true));
  const OrthogonalityCharacteristic characteristic = GetOrthogonalityCharacteristic(mates);
  ctx.log.Add("Orthogonality characteristic = " + std::to_string(characteristic.value) + " (DLS " +
              std::to_string(characteristic.i) + ", DLS " + std::to_string(characteristic.j) + ")");
  ctx.UpdateView();
}

}  // namespace dlslab::cmd
