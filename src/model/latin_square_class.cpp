#include "model/latin_square_class.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "model/error.h"
#include "model/file_output.h"
#include "model/parse_number.h"
#include "model/random.h"

namespace dlslab {

void TLatinSquareClass::SetOrder(int n) {
  FirstSquare.resize(n, 0);
  SecondSquare.resize(n, 0);
  ResetColors();
  RedCells.resize(n);
  PairRepeats.resize(n);
  FixedCells.resize(n);
}

void TLatinSquareClass::ResetColors() {
  RandSeed = 0;
  const int n = GetOrder();
  ValueColors.assign(n, kClBlack);
  for (int v = 0; v < n; ++v) {
    const int r = static_cast<int>(Random(256));
    const int g = static_cast<int>(Random(256));
    const int b = static_cast<int>(Random(256));
    ValueColors[v] = rgb(r, g, b);
  }
}

void TLatinSquareClass::ClearSquares() {
  ClearSquare(FirstSquare, false);
  // The second square follows the first one's order, as the two always agree after SetOrder.
  ClearSquare(SecondSquare, false);
}

void TLatinSquareClass::FillFirstRowAscending() {
  for (int j = 0; j < GetOrder(); ++j) FirstSquare[0][j] = j;
}

void TLatinSquareClass::NormalizeSquare() {
  const int n = GetOrder();
  std::vector<int> map(n, 0);
  for (int j = 0; j < n; ++j) {
    const int v = FirstSquare[0][j];
    if (v >= 0 && v < n) map[v] = j;
  }
  for (int i = 0; i < FirstSquare.size(); ++i) {
    int& v = FirstSquare.data()[i];
    // A value outside 0..N-1 has no entry in the map; it is left as it is.
    if (v >= 0 && v < n) v = map[v];
  }
}

void TLatinSquareClass::SwapSquares() {
  const int n = GetOrder();
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) std::swap(FirstSquare[i][j], SecondSquare[i][j]);
}

void TLatinSquareClass::MarkFixedCells() {
  const int n = std::min(GetOrder(), FixedCells.order());
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) FixedCells[i][j] = FirstSquare[i][j] >= 0;
}

TElemsArr TLatinSquareClass::GetCandidates(const TLatinSquare& square, int row, int col) {
  const int n = square.order();
  TElemsArr result;
  for (int v = 0; v < n; ++v) {
    bool taken = false;
    for (int k = 0; k < n && !taken; ++k) {
      taken = square[row][k] == v || square[k][col] == v || (row == col && square[k][k] == v) ||
              (row == n - 1 - col && square[k][n - 1 - k] == v);
    }
    if (!taken) result.push_back(v);
  }
  return result;
}

namespace {

void append_values(std::string& out, const TLatinSquare& square) {
  for (int i = 0; i < square.size(); ++i) {
    out += ' ';
    out += std::to_string(square.data()[i]);
  }
}

/// Reads whitespace-separated decimal integers from a file's bytes.
class IntReader {
 public:
  IntReader(const std::string& text, std::size_t pos, const std::string& file_name)
      : text_(text), pos_(pos), file_name_(file_name) {}

  int next(int lo, int hi) {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) fail("the file ends too early");
    std::size_t end = pos_;
    while (end < text_.size() && !is_blank(text_[end])) ++end;
    const std::optional<long> value =
        parse_number<long>(std::string_view(text_).substr(pos_, end - pos_));
    if (!value) fail("a number is expected at byte " + std::to_string(pos_ + 1));
    if (*value < lo || *value > hi)
      fail("the value " + std::to_string(*value) + " is outside " + std::to_string(lo) + ".." +
           std::to_string(hi));
    pos_ = end;
    return static_cast<int>(*value);
  }

  void skip_line() {
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    if (pos_ < text_.size()) ++pos_;
  }

 private:
  static bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  [[noreturn]] void fail(const std::string& why) const {
    throw Error("Cannot load \"" + file_name_ + "\": " + why + ".");
  }

  const std::string& text_;
  std::size_t pos_;
  const std::string& file_name_;
};

}  // namespace

void TLatinSquareClass::SaveToFile(const std::string& file_name) const {
  std::string out = ViewMode == 1 ? "ODLS" : "DLS";
  out += "\r\n" + std::to_string(GetOrder()) + "\r\n";
  append_values(out, FirstSquare);
  if (ViewMode == 1) {
    out += "\r\n";
    append_values(out, SecondSquare);
  }
  write_file_atomically(file_name, out);
}

void TLatinSquareClass::LoadFromFile(const std::string& file_name) {
  std::ifstream file(file_name, std::ios::binary);
  if (!file) throw Error("Cannot open \"" + file_name + "\".");
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

  std::size_t eol = text.find('\n');
  std::string header = text.substr(0, eol);
  if (!header.empty() && header.back() == '\r') header.pop_back();
  std::uint8_t view_mode = ViewMode;
  if (header == "DLS") view_mode = 0;
  if (header == "ODLS") view_mode = 1;

  IntReader reader(text, eol == std::string::npos ? text.size() : eol + 1, file_name);
  const int n = reader.next(1, kMaxOrder);
  TLatinSquare first(n);
  for (int i = 0; i < first.size(); ++i) first.data()[i] = reader.next(-1, n - 1);
  TLatinSquare second;
  if (view_mode == 1) {
    reader.skip_line();
    second = TLatinSquare(n);
    for (int i = 0; i < second.size(); ++i) second.data()[i] = reader.next(-1, n - 1);
  }

  // The whole file is read: only now does the model change.
  ViewMode = view_mode;
  SetOrder(n);
  FirstSquare = first;
  if (view_mode == 1) SecondSquare = second;
}

}  // namespace dlslab
