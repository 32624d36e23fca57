// The import of a square and of a pair on arbitrary text: the model keeps one consistent size.
#include <cstdlib>
#include <exception>
#include <string>

#include "cmd/context.h"
#include "cmd/model_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const bool pair : {false, true}) {
    dlslab::cmd::Context ctx;
    try {
      if (pair)
        dlslab::cmd::ImportPairMenuItemClick(ctx, text);
      else
        dlslab::cmd::ImportSquareMenuItemClick(ctx, text);
    } catch (const std::exception&) {
    }
    const int n = ctx.model.GetOrder();
    if (ctx.model.FirstSquare.order() != n || ctx.model.SecondSquare.order() != n) std::abort();
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        for (const int v : {ctx.model.FirstSquare[i][j], ctx.model.SecondSquare[i][j]})
          if (v < -1 || v >= n) std::abort();
  }
  return 0;
}
