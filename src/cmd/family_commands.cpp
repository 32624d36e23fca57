#include "cmd/family_commands.h"

#include "analysis/canonize_ls_by_dls.h"
#include "analysis/collection_forms.h"
#include "analysis/family_operations.h"
#include "analysis/odls_type.h"
#include "model/ls_data_structs.h"
#include "model/orthogonality.h"
#include "model/progress.h"
#include "model/square_catalogue.h"
#include "transform/transformations.h"

namespace dlslab::cmd {
namespace {

enum class Need { kDiagonalLatin, kLatin };

/// True when every row and column of the complete order-10 square holds each value once.
bool is_latin(const TLatinSquare& square) {
  for (int i = 0; i < kOrder; ++i) {
    unsigned row = 0;
    unsigned column = 0;
    for (int j = 0; j < kOrder; ++j) {
      row |= 1u << square[i][j];
      column |= 1u << square[j][i];
    }
    if (row != 0x3FF || column != 0x3FF) return false;
  }
  return true;
}

bool square_is_correct(const TLatinSquare& square, Need need) {
  for (int i = 0; i < square.size(); ++i)
    if (square.data()[i] < 0 || square.data()[i] >= kOrder) return false;
  return need == Need::kLatin ? is_latin(square) : IsDiagonalLatin(square);
}

/// True when the commands are defined for the model's square(s); otherwise says why.
bool accepts(Context& ctx, Need need, bool with_second = false) {
  if (ctx.model.GetOrder() != kOrder) {
    ctx.log.Add("Not implemented for N<>10");
    return false;
  }
  if (!square_is_correct(ctx.model.FirstSquare, need) ||
      (with_second && !square_is_correct(ctx.model.SecondSquare, need))) {
    ctx.log.Add("Square is incorrect");
    return false;
  }
  return true;
}

void add_lines(Context& ctx, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) ctx.log.Add(line);
}

/// The family of the square normalized by its first row, with degrees.
TSquaresCollection build_family(const TLatinSquare& square, Route route) {
  TLatinSquare start = CreateSquare(square.order());
  CopySquare(start, square);
  NormalizeByFirstRow(start);
  OdlsSearch search;
  if (route == Route::kLiteral) {
    TSquaresCollection family(TSquaresCollection::Lookup::kLinear);
    family.AddSquare(start, true, true);
    BuildOdlsFamily(family, false, true, search);
    return family;
  }
  TSquaresCollection family;
  family.AddSquare(start, true, true);
  build_odls_family_fast(family, false, true, search);
  return family;
}

std::vector<std::string> numbered_entries(const TSquaresCollection& collection,
                                          const std::string& prefix, int first_number) {
  std::vector<std::string> lines;
  lines.reserve(collection.Count());
  for (int i = 0; i < collection.Count(); ++i)
    lines.push_back(prefix + std::to_string(i + first_number) + ": " +
                    collection.GetSquareString(i));
  return lines;
}

}  // namespace

std::vector<std::string> odls_family_lines(const TLatinSquare& square, Route route) {
  TSquaresCollection family = build_family(square, route);
  std::vector<std::string> lines = numbered_entries(family, "DLS ", 0);
  lines.emplace_back();
  lines.emplace_back("Adjacency matrix:");
  const int count = family.Count();
  std::vector<TLatinSquare> members;
  members.reserve(count);
  for (int i = 0; i < count; ++i) members.push_back(family.get_square(i));
  for (int i = 0; i < count; ++i) {
    current_progress().poll();
    std::string row(static_cast<std::size_t>(count), '0');
    for (int j = 0; j < count; ++j)
      if (OrthogonalityDefect(members[i], members[j]) == 0) row[j] = '1';
    lines.push_back(std::move(row));
  }
  SortDegrees(family);
  lines.emplace_back();
  std::string powers = "Vertexes powers:";
  for (const int degree : family.Degrees()) powers += ' ' + std::to_string(degree);
  lines.push_back(std::move(powers));
  return lines;
}

std::vector<std::string> odls_family_forms_lines(const TLatinSquare& square, Route route) {
  const TSquaresCollection family = build_family(square, route);
  const TSquaresCollection forms = GetCanonicalForms(family, true);
  std::vector<std::string> lines = numbered_entries(forms, "DLS ", 0);
  lines.insert(lines.begin(), "Unique CFs for combinatorial structure:");
  return lines;
}

std::vector<std::string> canonize_one_lines(const TLatinSquare& square, Route route) {
  LsByDlsCanonizer canonizer;
  const TSquaresCollection found = route == Route::kFast
                                       ? canonizer.CanonizeLsByDls(square, false, true)
                                       : canonizer.canonize_ls_by_dls_literal(square, false, true);
  return numbered_entries(found, "DLS", 1);
}

std::vector<std::string> canonize_family_lines(const TLatinSquare& square, Route route) {
  LsByDlsCanonizer canonizer;
  TSquaresCollection family(route == Route::kFast ? TSquaresCollection::Lookup::kHashed
                                                  : TSquaresCollection::Lookup::kLinear);
  family.AddSquare(square, true, true);
  if (route == Route::kFast)
    canonizer.CanonizeAllByDls(family, false, false);
  else
    canonizer.canonize_all_by_dls_literal(family, false, false);
  return numbered_entries(family, "DLS", 1);
}

std::vector<std::string> common_transversals_lines(const TLatinSquare& first,
                                                   const TLatinSquare& second, Route route) {
  OdlsSearch search;
  const TTransversalsTable a = search.GetDiagonalTransversalsByDlx(first);
  const TTransversalsTable b = search.GetDiagonalTransversalsByDlx(second);
  const TTransversalsTable common =
      route == Route::kFast ? get_common_transversals_fast(a, b) : GetCommonTransversals(a, b);
  std::vector<std::string> lines;
  lines.push_back("Common transversals count: " + std::to_string(common.Count()));
  for (int k = 0; k < common.Count(); ++k) {
    std::string line = "Transversal " + std::to_string(k + 1) + ":";
    for (const int column : common.Items[k]) line += ' ' + std::to_string(column);
    lines.push_back(std::move(line));
  }
  return lines;
}

void GetOdlsTypeMenuItemClick(Context& ctx) {
  if (!accepts(ctx, Need::kDiagonalLatin)) return;
  const int code = OdlsTypeEngine().GetOdlsType(ctx.model.FirstSquare) & 0x7F;
  ctx.log.Add(std::string(SpecialTypeNames[code]));
}

void GetCommonTransversalsMenuItemClick(Context& ctx) {
  if (ctx.model.ViewMode != 1) return;
  if (!accepts(ctx, Need::kLatin, true)) return;
  add_lines(ctx,
            common_transversals_lines(ctx.model.FirstSquare, ctx.model.SecondSquare, Route::kFast));
}

void GetAllODLSFamilyMenuItemClick(Context& ctx) {
  if (!accepts(ctx, Need::kDiagonalLatin)) return;
  current_progress().begin("Get all ODLS family");
  add_lines(ctx, odls_family_lines(ctx.model.FirstSquare, Route::kFast));
}

void GetAllODLSFamilyCFsOnlyMenuItemClick(Context& ctx) {
  if (!accepts(ctx, Need::kDiagonalLatin)) return;
  current_progress().begin("Get all ODLS family (unique CFs only)");
  add_lines(ctx, odls_family_forms_lines(ctx.model.FirstSquare, Route::kFast));
}

void CanonizeLSbyDLSMenuItemClick(Context& ctx) {
  if (!accepts(ctx, Need::kLatin)) return;
  current_progress().begin("Canonize LS by DLS");
  add_lines(ctx, canonize_one_lines(ctx.model.FirstSquare, Route::kFast));
}

void CanonizeLsDlsForallfamilyMenuItemClick(Context& ctx) {
  if (!accepts(ctx, Need::kLatin)) return;
  add_lines(ctx, canonize_family_lines(ctx.model.FirstSquare, Route::kFast));
}

}  // namespace dlslab::cmd
