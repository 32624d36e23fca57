// The collection file reader on arbitrary bytes: every entry it keeps is a 100-symbol string,
// whatever the file holds; a broken file is an error, not a crash.
#include <cstdlib>
#include <exception>

#include "collection/squares_collection.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& name = dlslab::fuzz::write_scratch_file(data, size);
  for (const bool normalize : {false, true}) {
    dlslab::TSquaresCollection collection;
    try {
      collection.LoadFromFile_VelmoraFormat(name, true, normalize);
    } catch (const std::exception&) {
    }
    for (int i = 0; i < collection.Count(); ++i)
      if (collection.Items(i).size() != 100) std::abort();
  }
  return 0;
}
