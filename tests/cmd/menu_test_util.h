#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cmd/context.h"
#include "cmd/menu_table.h"
#include "model/types.h"

// Helpers of the command tests: squares written out row by row, and commands run through the
// menu table as the window and the CLI run them.
namespace dlslab::test {

/// A square from its rows separated by blanks, one digit per cell, "-" for an empty cell:
/// "012 120 201".
inline TLatinSquare square_from_rows(std::string_view text) {
  const int n =
      static_cast<int>(text.find(' ') == std::string_view::npos ? text.size() : text.find(' '));
  TLatinSquare square(n);
  int cell = 0;
  for (const char c : text) {
    if (c == ' ') continue;
    square.data()[cell++] = c == '-' ? kEmpty : c - '0';
  }
  EXPECT_EQ(cell, n * n) << text;
  return square;
}

/// The square in the form Rows reads.
inline std::string rows_of(const TLatinSquare& square) {
  std::string text;
  for (int i = 0; i < square.order(); ++i) {
    if (i > 0) text += ' ';
    for (int j = 0; j < square.order(); ++j)
      text += square[i][j] < 0 ? '-' : static_cast<char>('0' + square[i][j]);
  }
  return text;
}

/// Runs the menu command of that caption; fails the test when there is none.
inline void run_menu(cmd::Context& ctx, std::string_view caption, const std::string& arg = {}) {
  const cmd::MenuEntry* entry = cmd::find_command(caption);
  ASSERT_NE(entry, nullptr) << caption;
  ASSERT_NE(entry->handler, nullptr) << caption;
  entry->handler(ctx, arg);
}

}  // namespace dlslab::test
