#include "analysis/collection_forms.h"

#include <cstdio>

#include "canon/canonical_forms.h"
#include "model/diagnostics.h"
#include "model/progress.h"

namespace dlslab {

TSquaresCollection GetCanonicalForms(const TSquaresCollection& collection, bool verbose) {
  TSquaresCollection forms;
  CanonEngine engine;
  const int count = collection.Count();
  const Progress& progress = current_progress();
  for (int i = 0; i < count; ++i) {
    progress.poll();
    forms.AddSquare(engine.GetCanonicalForm(collection.get_square(i)), true, true);
    if (verbose && i % 100 == 0) {
      char percent[32];
      std::snprintf(percent, sizeof percent, "%2.2f", i / (count + 0.00001) * 100);
      diag() << "Square " << i << " from " << count << " (" << percent
             << "%), CFs: " << forms.Count() << '\n'
             << std::flush;
    }
  }
  return forms;
}

}  // namespace dlslab
