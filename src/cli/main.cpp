#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#ifdef DLSLAB_HAVE_RENDERER
#include "render/offscreen_renderer.h"
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef DLSLAB_HAVE_RENDERER
  dlslab::render::OffscreenRenderer renderer;
  return dlslab::cli::run(
      args, std::cout, std::cerr,
      [&renderer](dlslab::TLatinSquareClass& model, const std::string& file) {
        renderer.save_bitmap(model, file);
      },
      [&renderer](const dlslab::CellHistograms& histograms, const std::string& file) {
        renderer.save_statistical_info(histograms, file);
      });
#else
  return dlslab::cli::run(args, std::cout, std::cerr);
#endif
}
