// The square file reader on arbitrary bytes: it loads a valid square or fails with a message,
// and never changes the model on failure.
#include <cstdlib>
#include <exception>

#include "fuzz_input.h"
#include "model/latin_square_class.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  dlslab::TLatinSquareClass model;
  model.SetOrder(10);
  try {
    model.LoadFromFile(dlslab::fuzz::write_scratch_file(data, size));
  } catch (const std::exception&) {
    if (model.GetOrder() != 10) std::abort();
    return 0;
  }
  const int n = model.GetOrder();
  if (n < 1 || n > 30 || model.FirstSquare.order() != n) std::abort();
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (model.FirstSquare[i][j] < -1 || model.FirstSquare[i][j] >= n) std::abort();
  if (model.ViewMode == 1 && model.SecondSquare.order() != n) std::abort();
  return 0;
}
