// A tree for check_names's own test: one own function with a PascalCase name (CountClues), the
// rest names the check lets pass.
#pragma once

#define BOARD_SIZE(n) ((n) * (n))

class Board {
 public:
  Board();
  explicit Board(int order);
  ~Board();
  [[nodiscard]] int clue_count() const;
  static int CountClues(const Board& board);
  void GetOdls(int limit);  // one of the system's routines

 private:
  int order_ = 0;
};

inline Board::Board() : order_(10) {}
inline bool is_square(int order) {
  return order > 0 &&
         BOARD_SIZE(order) > 0;
}
