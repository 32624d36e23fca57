#include "fill/heuristic_fill.h"

#include <array>
#include <bit>
#include <cstdint>

#include "model/bit_count.h"
#include "model/random.h"

// The randomised filling keeps, instead of rescanning the square for every candidate list,
// one bit mask of used values per row and column and one per diagonal (bit v = value v is
// placed there; orders up to 30 fit in 32 bits). Values are only ever added within an attempt,
// so a mask is exactly the set of values its line holds and the candidates of cell (r, c) are
// the values outside row[r] | col[c] | (diagonals through the cell). A filled cell's own value
// is in its row mask, so it never lists itself, as the plain candidate rule demands.
//
// Each row also keeps a mask of its empty columns so that propagation passes skip filled
// cells. Visit order, the propagation passes and the draws are those of the plain routine,
// which random_fill_v2_baseline keeps for comparison.

namespace dlslab {
namespace {

class MaskFiller {
 public:
  explicit MaskFiller(TLatinSquare& square) : sq_(square), n_(square.order()) {
    full_ = n_ == 32 ? ~0u : (1u << n_) - 1u;
    row_.fill(0);
    col_.fill(0);
    empty_.fill(0);
    for (int r = 0; r < n_; ++r) empty_[r] = full_;
  }

  [[nodiscard]] std::uint32_t candidates(int r, int c) const {
    std::uint32_t used = row_[r] | col_[c];
    if (r == c) used |= diag_;
    if (r == n_ - 1 - c) used |= anti_;
    return full_ & ~used;
  }

  void place(int r, int c, int v) {
    sq_[r][c] = v;
    const std::uint32_t bit = 1u << v;
    row_[r] |= bit;
    col_[c] |= bit;
    if (r == c) diag_ |= bit;
    if (r == n_ - 1 - c) anti_ |= bit;
    empty_[r] &= ~(1u << c);
  }

  bool PropagateSingles(int i) {
    bool changed = false;
    for (int r = i; r < n_; ++r) {
      // Cells set during this pass leave the row's empty mask; later cells see them.
      for (std::uint32_t m = empty_[r]; m != 0; m &= m - 1) {
        const int c = std::countr_zero(m);
        const std::uint32_t cand = candidates(r, c);
        if (cand != 0 && (cand & (cand - 1)) == 0) {
          place(r, c, std::countr_zero(cand));
          changed = true;
        }
      }
    }
    return changed;
  }

  void run() {
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < n_; ++j) {
        while (PropagateSingles(i)) {
        }
        std::uint32_t cand = candidates(i, j);
        std::uint32_t k = Random(static_cast<std::uint32_t>(bit_count(cand)));
        if (cand == 0) continue;
        while (k-- > 0) cand &= cand - 1;
        place(i, j, std::countr_zero(cand));
      }
    }
  }

 private:
  TLatinSquare& sq_;
  int n_;
  std::uint32_t full_ = 0;
  std::uint32_t diag_ = 0;
  std::uint32_t anti_ = 0;
  std::array<std::uint32_t, kMaxOrder> row_;
  std::array<std::uint32_t, kMaxOrder> col_;
  std::array<std::uint32_t, kMaxOrder> empty_;
};

}  // namespace

void GreedyFill(TLatinSquareClass& model) {
  model.ClearSquares();
  TLatinSquare& sq = model.FirstSquare;
  const int n = model.GetOrder();
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      const TElemsArr cand = TLatinSquareClass::GetCandidates(sq, r, c);
      if (!cand.empty()) sq[r][c] = cand.front();
    }
  }
}

void RandomFillV1(TLatinSquareClass& model) {
  const int n = model.GetOrder();
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c)
      model.FirstSquare[r][c] = static_cast<int>(Random(static_cast<std::uint32_t>(n)));
}

bool PropagateSingles(TLatinSquareClass& model, int i) {
  TLatinSquare& sq = model.FirstSquare;
  const int n = model.GetOrder();
  bool changed = false;
  for (int r = i; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      if (sq[r][c] >= 0) continue;
      const TElemsArr cand = TLatinSquareClass::GetCandidates(sq, r, c);
      if (cand.size() == 1) {
        sq[r][c] = cand.front();
        changed = true;
      }
    }
  }
  return changed;
}

void RandomFillV2(TLatinSquareClass& model) {
  model.ClearSquares();
  MaskFiller(model.FirstSquare).run();
}

void random_fill_v2_baseline(TLatinSquareClass& model) {
  model.ClearSquares();
  TLatinSquare& sq = model.FirstSquare;
  const int n = model.GetOrder();
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      while (PropagateSingles(model, i)) {
      }
      const TElemsArr cand = TLatinSquareClass::GetCandidates(sq, i, j);
      const auto k = Random(static_cast<std::uint32_t>(cand.size()));
      if (!cand.empty()) sq[i][j] = cand[k];
    }
  }
}

}  // namespace dlslab
