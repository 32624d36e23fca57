#include "analysis/collection_forms.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "canon/canonical_forms.h"
#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

TEST(GetCanonicalForms, CountsTheEntriesOfEachForm) {
  const TLatinSquare square = StringToSquare(test::kBachelor);
  TLatinSquare transposed(kOrder);
  Transpose(transposed, square);
  const TLatinSquare other = StringToSquare(kSpecialSquares[19].digits);

  TSquaresCollection c;
  c.AddSquare(square, true, true);
  c.AddSquare(other, true, true);
  c.AddSquare(transposed, true, true);
  ASSERT_EQ(c.Count(), 3);

  std::ostringstream progress;
  TSquaresCollection forms;
  {
    const ScopedDiagStream to(&progress);
    forms = GetCanonicalForms(c, true);
  }

  // The square and its transpose share a form; the other square is of another class.
  ASSERT_EQ(forms.Count(), 2);
  EXPECT_EQ(forms.get_square(0), GetCanonicalForm(square));
  EXPECT_EQ(forms.Counts(0), 2);
  EXPECT_EQ(forms.get_square(1), GetCanonicalForm(other));
  EXPECT_EQ(forms.Counts(1), 1);
  EXPECT_EQ(progress.str(), "Square 0 from 3 (0.00%), CFs: 1\n");
}

}  // namespace
}  // namespace dlslab
