#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dlslab {

/// A square as its 100-character digit string with two numbers attached.
struct TSmartLatinSquare {
  std::string square;
  std::int32_t first = 0;
  std::int32_t second = 0;
};

using TSmartSquaresArr = std::vector<TSmartLatinSquare>;

/// A plain list of smart squares; only the debug button uses it.
class TSmartSquareCollection {
 public:
  /// Appends a copy of the record at the end.
  void Add(const TSmartLatinSquare& square) { squares_.push_back(square); }
  [[nodiscard]] const TSmartSquaresArr& squares() const { return squares_; }

 private:
  TSmartSquaresArr squares_;
};

}  // namespace dlslab
