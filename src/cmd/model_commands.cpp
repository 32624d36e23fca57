#include "cmd/model_commands.h"

#include "model/error.h"
#include "model/ls_data_structs.h"

namespace dlslab::cmd {
namespace {

/// The import dialog's memo lines joined without separators, blanks removed.
std::string join_imported_text(const std::string& text) {
  std::string joined;
  for (const char c : text)
    if (c != '\n' && c != '\r') joined += c;
  RemoveSpaces(joined);
  return joined;
}

/// Squares read from text are of order 10; the model follows, so that its masks, colours and
/// both squares keep one size.
void ensure_order_10(TLatinSquareClass& model) {
  if (model.GetOrder() != kOrder) model.SetOrder(kOrder);
}

}  // namespace

void LoadMenuItemClick(Context& ctx, const std::string& file_name) {
  ctx.model.LoadFromFile(file_name);
  ctx.UpdateView();
}

std::string with_default_extension(const std::string& file_name, const std::string& extension) {
  const std::size_t dir = file_name.find_last_of("/\\:");
  const std::size_t dot = file_name.find_last_of('.');
  const bool has_extension = dot != std::string::npos && (dir == std::string::npos || dot > dir) &&
                             dot + 1 < file_name.size();
  return has_extension ? file_name : file_name + extension;
}

void SaveMenuItemClick(Context& ctx, const std::string& file_name) {
  const std::string name = with_default_extension(file_name, ".txt");
  ctx.model.SaveToFile(name);
  ctx.notify("Save to file: " + name + " written");
}

void ImportSquareMenuItemClick(Context& ctx, const std::string& text) {
  ensure_order_10(ctx.model);
  ctx.model.SetFirstSquare(StringToSquare(join_imported_text(text)));
  ctx.model.ViewMode = 0;
  ctx.UpdateView();
}

void ImportPairMenuItemClick(Context& ctx, const std::string& text) {
  const std::string joined = join_imported_text(text);
  std::string first, second;
  for (std::size_t p = 0; p + 1 < joined.size(); p += 2) {
    first += joined[p];
    second += joined[p + 1];
  }
  ensure_order_10(ctx.model);
  ctx.model.SetFirstSquare(StringToSquare(first));
  ctx.model.SecondSquare = StringToSquare(second);
  ctx.model.ViewMode = 1;
  ctx.UpdateView();
}

void LoadSpecialSquare(Context& ctx, const std::string& digits) {
  ctx.model.SetOrder(kOrder);
  ctx.model.SetFirstSquare(StringToSquare(digits));
  ctx.UpdateView();
}

void load_special_type(Context& ctx, const SpecialSquare& square) {
  LoadSpecialSquare(ctx, std::string(square.digits));
  std::string text = "Special square " + std::string(square.caption) + " loaded";
  if (!square.type_name.empty()) text += ", type " + std::string(square.type_name);
  ctx.notify(text);
}

void RadioItemClick(Context& ctx, int index) {
  ctx.model.ViewMode = index == 0 ? 0 : 1;
  ctx.UpdateView();
}

void SetOrderMenuItemClick(Context& ctx, int order) {
  if (order < 1 || order > kMaxOrder)
    throw Error("The order must be between 1 and " + std::to_string(kMaxOrder) + ".");
  ctx.model.SetOrder(order);
  ctx.model.ClearSquares();
  ctx.UpdateView();
}

void FillFirstStrNormalizedMenuItemClick(Context& ctx) {
  ctx.model.FillFirstRowAscending();
  ctx.UpdateView();
}

void ClearMenuItemClick(Context& ctx) {
  ctx.model.ClearSquares();
  ctx.UpdateView();
}

void SwapSquaresMenuItemClick(Context& ctx) {
  ctx.model.SwapSquares();
  ctx.UpdateView();
}

void ClearLogMenuItemClick(Context& ctx) { ctx.log.Clear(); }

void NormalizeSquareMenuItemClick(Context& ctx) {
  ctx.model.NormalizeSquare();
  ctx.UpdateView();
}

void PrintSquareToLogAsSquaresClick(Context& ctx) {
  auto print = [&ctx](const TLatinSquare& square) {
    for (int i = 0; i < square.order(); ++i) {
      std::string line;
      for (int j = 0; j < square.order(); ++j) line += std::to_string(square[i][j]) + ' ';
      ctx.log.Add(line);
    }
  };
  print(ctx.model.FirstSquare);
  if (ctx.model.ViewMode == 1) {
    ctx.log.Add("");
    print(ctx.model.SecondSquare);
  }
}

void PrintSquareToLogAsSolidStringClick(Context& ctx) {
  ctx.log.Add("DLS: " + SquareToString(ctx.model.FirstSquare, false));
  if (ctx.model.ViewMode == 1)
    ctx.log.Add("DLS2: " + SquareToString(ctx.model.SecondSquare, false));
}

void PrintSquareToLogAsStringWithSpacesClick(Context& ctx) {
  ctx.log.Add("DLS: " + SquareToString(ctx.model.FirstSquare, true));
  if (ctx.model.ViewMode == 1) ctx.log.Add("DLS2: " + SquareToString(ctx.model.SecondSquare, true));
}

void PrintPairMenuItemClick(Context& ctx) {
  if (ctx.model.ViewMode != 1) return;
  const TLatinSquare& a = ctx.model.FirstSquare;
  const TLatinSquare& b = ctx.model.SecondSquare;
  const int n = ctx.model.GetOrder();
  ctx.log.Add("");
  for (int r = 0; r < n; ++r) {
    std::string line;
    for (int k = 0; k < n; ++k) {
      bool repeated = false;
      for (int cell = 0; cell < r * n + k && !repeated; ++cell)
        repeated = a.data()[cell] == a[r][k] && b.data()[cell] == b[r][k];
      line += repeated ? "-- " : std::to_string(a[r][k]) + std::to_string(b[r][k]) + ' ';
    }
    ctx.log.Add(line);
  }
}

}  // namespace dlslab::cmd
