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
  const Progress& progress = CurrentProgress();
  for (int i = 0; i < count; ++i) {
    progress.Poll();
    forms.AddSquare(engine.GetCanonicalForm(collection.GetSquare(i)), true, true);
    if (verbose && i % 100 == 0) {
      char percent[32];
      std::snprintf(percent, sizeof percent, "%2.2f", i / (count + 0.00001) * 100);
      Diag() << "Square " << i << " from " << count << " (" << percent
             << "%), CFs: " << forms.Count() << '\n'
             << std::flush;
    }
  }
  return forms;
}

}  // namespace dlslab
