#include "batch/operations.h"

#include <charconv>

#include "analysis/odls_type.h"
#include "analysis/status_text.h"
#include "canon/canonical_forms.h"
#include "canon/grid.h"
#include "cover/odls.h"
#include "cover/transversals.h"
#include "fill/fillings.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"

namespace dlslab::batch {
namespace {

constexpr int kCells = kOrder * kOrder;

struct OperationInfo {
  Operation operation;
  std::string_view name;
  std::string_view header;
};

// clang-format off
constexpr OperationInfo kOperations[] = {
    {Operation::kCf,           "cf",           "index\tcf\tcount"},
    {Operation::kScf,          "scf",          "index\tscf\tcount"},
    {Operation::kOdls,         "odls",         "index\tsquare\tcount\tmates"},
    {Operation::kType,         "type",         "index\tsquare\ttype"},
    {Operation::kTransversals, "transversals", "index\tsquare\ttransversals\tdiagonal_transversals"},
    {Operation::kProperties,   "properties",   "index\tsquare\tstatus"},
    {Operation::kFillings,     "fillings",     "index\tsquare\tfillings"},
    {Operation::kValidate,     "validate",     "index\tsquare\tvalid\treason"},
};
// clang-format on

const OperationInfo& info(Operation operation) {
  for (const OperationInfo& info : kOperations)
    if (info.operation == operation) return info;
  return kOperations[0];
}

// The mate and type commands refuse what is not a complete Latin square with this text.
constexpr std::string_view kIncorrect = "Square is incorrect";

void append_number(std::string& out, std::uint64_t value) {
  char buf[24];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, end);
}

Digits square_to_digits(const TLatinSquare& square) {
  Digits digits{};
  for (int i = 0; i < kCells; ++i) {
    const int v = square.data()[i];
    digits[i] = v < 0 || v > 9 ? '-' : static_cast<char>('0' + v);
  }
  return digits;
}

// IsCorrectSquare on a digit string: every cell a digit, every row, column and main diagonal
// holding each value once.
bool is_complete_dls(const Digits& digits) {
  std::array<unsigned, kOrder> rows{};
  std::array<unsigned, kOrder> columns{};
  unsigned diagonal = 0;
  unsigned anti_diagonal = 0;
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) {
      const unsigned v = static_cast<unsigned char>(digits[r * kOrder + c]) - '0';
      if (v >= kOrder) return false;
      rows[r] |= 1u << v;
      columns[c] |= 1u << v;
      if (r == c) diagonal |= 1u << v;
      if (r + c == kOrder - 1) anti_diagonal |= 1u << v;
    }
  }
  constexpr unsigned kAll = (1u << kOrder) - 1;
  for (int k = 0; k < kOrder; ++k)
    if (rows[k] != kAll || columns[k] != kAll) return false;
  return diagonal == kAll && anti_diagonal == kAll;
}

bool is_complete(const Digits& digits) {
  for (const char c : digits)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::optional<Operation> operation_by_name(std::string_view name) {
  for (const OperationInfo& info : kOperations)
    if (info.name == name) return info.operation;
  return std::nullopt;
}

std::string_view operation_name(Operation operation) { return info(operation).name; }

bool is_deduplicating(Operation operation) {
  return operation == Operation::kCf || operation == Operation::kScf;
}

std::string_view tsv_header(Operation operation) { return info(operation).header; }

TLatinSquare digits_to_square(const Digits& digits) {
  TLatinSquare square(kOrder);
  for (int i = 0; i < kCells; ++i) {
    const char c = digits[i];
    square.data()[i] = c >= '0' && c <= '9' ? c - '0' : kEmpty;
  }
  return square;
}

std::string validation_problem(const TLatinSquare& square) {
  const auto cell = [](int r, int c) {
    return "(" + std::to_string(r) + ", " + std::to_string(c) + ")";
  };
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c)
      if (square[r][c] < 0 || square[r][c] >= kOrder) return "empty cell " + cell(r, c);
  // Each line is walked in order; the second cell holding a value names the repeat. A row or
  // column is named with its number k, a diagonal (k < 0) by its name alone.
  const auto repeat_in = [&](const char* name, int k, int r0, int c0, int dr,
                             int dc) -> std::string {
    unsigned seen = 0;
    for (int i = 0; i < kOrder; ++i) {
      const int r = r0 + i * dr;
      const int c = c0 + i * dc;
      const unsigned bit = 1u << square[r][c];
      if ((seen & bit) != 0)
        return "value " + std::to_string(square[r][c]) + " twice in " + name +
               (k < 0 ? "" : " " + std::to_string(k)) + ", again at " + cell(r, c);
      seen |= bit;
    }
    return "";
  };
  for (int k = 0; k < kOrder; ++k) {
    if (std::string why = repeat_in("row", k, k, 0, 0, 1); !why.empty()) return why;
    if (std::string why = repeat_in("column", k, 0, k, 1, 0); !why.empty()) return why;
  }
  if (std::string why = repeat_in("the main diagonal", -1, 0, 0, 1, 1); !why.empty()) return why;
  return repeat_in("the anti-diagonal", -1, 0, kOrder - 1, 1, -1);
}

// Each engine is made the first time its operation needs it: building the ones an operation
// never uses would cost every thread (and every short run) for nothing.
struct OperationEngine::Engines {
  template <class T>
  static T& get(std::unique_ptr<T>& engine) {
    if (!engine) engine = std::make_unique<T>();
    return *engine;
  }
  CanonEngine& canon() { return get(canon_); }
  OdlsSearch& odls() { return get(odls_); }
  OdlsTypeEngine& type() { return get(type_); }
  TransversalSearch& transversals() { return get(transversals_); }

  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;

 private:
  std::unique_ptr<CanonEngine> canon_;
  std::unique_ptr<OdlsSearch> odls_;
  std::unique_ptr<OdlsTypeEngine> type_;
  std::unique_ptr<TransversalSearch> transversals_;
};

OperationEngine::OperationEngine(Operation operation)
    : operation_(operation), engines_(std::make_unique<Engines>()) {}

OperationEngine::~OperationEngine() = default;

Digits OperationEngine::form(const Digits& digits) {
  if (operation_ == Operation::kCf && is_complete(digits)) {
    // The engine's grid entry point: no detour through a full-size square.
    Grid grid{};
    for (int i = 0; i < kCells; ++i) grid[i] = static_cast<std::int8_t>(digits[i] - '0');
    const Grid& form = engines_->canon().canonical_form(grid);
    Digits out{};
    for (int i = 0; i < kCells; ++i) out[i] = static_cast<char>('0' + form[i]);
    return out;
  }
  // "Get canonical form (CF)" gives an incomplete square its strong canonical form.
  return square_to_digits(engines_->canon().GetStrongCanonicalForm(digits_to_square(digits)));
}

void OperationEngine::append_line(std::uint64_t index, const Digits& digits, std::string& out) {
  append_number(out, index);
  out += '\t';
  out.append(digits.data(), digits.size());
  out += '\t';
  const TLatinSquare square = digits_to_square(digits);
  switch (operation_) {
    case Operation::kOdls: {
      if (!is_complete_dls(digits)) {
        out.append(kIncorrect);
        out += '\t';
        break;
      }
      OdlsSearch& search = engines_->odls();
      const TOrthogonalSquares mates = search.GetOdls(square);
      append_number(out, static_cast<std::uint64_t>(mates.Count()));
      out += '\t';
      for (int i = 0; i < mates.Count(); ++i) {
        if (i > 0) out += ' ';
        const Digits mate = square_to_digits(mates.Squares[i]);
        out.append(mate.data(), mate.size());
      }
      break;
    }
    case Operation::kType:
      if (!is_complete_dls(digits)) {
        out.append(kIncorrect);
        break;
      }
      out.append(SpecialTypeNames[engines_->type().GetOdlsType(square) & 0x7F]);
      break;
    case Operation::kTransversals: {
      if (!is_complete_latin(square)) {
        out.append(kIncorrect);
        out += '\t';
        out.append(kIncorrect);
        break;
      }
      Engines& e = *engines_;
      e.transversals().GetTransversalsFast(square, false, e.starts, e.counts, e.table);
      append_number(out, static_cast<std::uint64_t>(e.starts[kOrder]));
      out += '\t';
      e.transversals().GetTransversalsFast(square, true, e.starts, e.counts, e.table);
      append_number(out, static_cast<std::uint64_t>(e.starts[kOrder]));
      break;
    }
    case Operation::kProperties:
      out += get_status_text(square, engines_->canon());
      break;
    case Operation::kFillings:
      // The count without the speed reports of the window's routine: the same number.
      append_number(out, count_fillings_up_to(square, UINT64_MAX));
      break;
    case Operation::kValidate: {
      const std::string problem = validation_problem(square);
      out += problem.empty() ? "yes\t" : "no\t";
      out += problem;
      break;
    }
    case Operation::kCf:
    case Operation::kScf: {
      const Digits canonical = form(digits);
      out.append(canonical.data(), canonical.size());
      break;
    }
  }
  out += '\n';
}

}  // namespace dlslab::batch
