#pragma once

#include <memory>
#include <vector>

#include "cover/dlx.h"
#include "cover/transversals.h"
#include "model/types.h"

namespace dlslab {

/// The orthogonal diagonal mates a search found, 10 x 10 squares (the log's "DLS i" is
/// Squares[i - 1]).
struct TOrthogonalSquares {
  std::vector<TLatinSquare> Squares;

  [[nodiscard]] int Count() const { return static_cast<int>(Squares.size()); }
};

/// The largest number of distinct value pairs two mates show together, and which two (1-based
/// mate numbers; -1, -1 with fewer than two mates).
struct OrthogonalityCharacteristic {
  int value = 0;
  int i = -1;
  int j = -1;
};

/// The 100 x 32 matrix whose exact covers are the diagonal transversals: row 10r + c is cell
/// (r, c), with columns r, 10 + c, 20 + value, 30 on the main and 31 on the anti-diagonal.
[[nodiscard]] TDlxCoverageMatrix BuildTransversalCoverMatrix(const TLatinSquare& square);
/// Covers of the transversal matrix as transversals, in cover order.
[[nodiscard]] TTransversalsTable CoversToTransversals(const TDlxCoversArr& covers);
/// The Count x 100 matrix whose exact covers are ten transversals partitioning the cells.
[[nodiscard]] TDlxCoverageMatrix BuildMateCoverMatrix(const TTransversalsTable& table);
/// Value p goes to the cells of the p-th transversal of cover; square must be 10 x 10 or more.
void CoverToMateSquare(const TDlxCover& cover, const TTransversalsTable& table,
                       TLatinSquare& square);
/// Every choice of disjoint transversals, value d taking one through cell (0, d), as a mate
/// (first row 0..9), in lexicographic order of the chosen list indices.
[[nodiscard]] TOrthogonalSquares FindMates(const TTransversalStarts& starts,
                                           const TTransversalsTable& table);
[[nodiscard]] OrthogonalityCharacteristic GetOrthogonalityCharacteristic(
    const TOrthogonalSquares& mates);

/// The mate searches and their scratch: the transversal list and the scratch of the
/// enumerators. One per thread; the window keeps one.
class OdlsSearch {
 public:
  /// Runs its transversal enumeration on the given instruction-set path.
  OdlsSearch();  ///< on default_isa_path()
  explicit OdlsSearch(IsaPath path);
  ~OdlsSearch();
  OdlsSearch(OdlsSearch&&) noexcept;
  OdlsSearch& operator=(OdlsSearch&&) noexcept;

  /// All mates of square, normalized (first row 0..9). A failure is reported on the
  /// diagnostics stream and gives no mates.
  [[nodiscard]] TOrthogonalSquares GetOdls(const TLatinSquare& square);
  /// FindMates on this search's scratch (no allocation once it has grown).
  [[nodiscard]] TOrthogonalSquares FindMates(const TTransversalStarts& starts,
                                             const TTransversalsTable& table);
  /// All mates of square by two exact covers (over its diagonal transversals in exact-cover
  /// order); value p of a mate marks the transversal chosen at depth p.
  [[nodiscard]] TOrthogonalSquares GetOdlsByDlx(const TLatinSquare& square);
  /// The diagonal transversals of square in exact-cover order.
  [[nodiscard]] TTransversalsTable GetDiagonalTransversalsByDlx(const TLatinSquare& square);

 private:
  TransversalSearch transversals_;
  BitCoverSolver dlx_;
  TTransversalsTable table_;
  std::unique_ptr<struct MateScratch> mate_scratch_;
};

/// With a one-off engine.
[[nodiscard]] TTransversalsTable GetDiagonalTransversalsByDlx(const TLatinSquare& square);

}  // namespace dlslab
