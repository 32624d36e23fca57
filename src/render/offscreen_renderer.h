#pragma once

#include <memory>
#include <string>

#include "collection/stats.h"
#include "model/latin_square_class.h"

class QGuiApplication;

// Qt-free front of the view painting for programs without a window (dlslab-cli): Qt starts,
// on the off-screen platform, only when a picture is first asked for.
namespace dlslab::render {

class OffscreenRenderer {
 public:
  OffscreenRenderer();
  ~OffscreenRenderer();
  OffscreenRenderer(const OffscreenRenderer&) = delete;
  OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

  /// "Save as bmp..." as the window does it at start-up, for a 310 x 310 paint box.
  void save_bitmap(TLatinSquareClass& model, const std::string& file_name);
  /// The statistics picture of "Draw statistical info".
  void save_statistical_info(const CellHistograms& histograms, const std::string& file_name);

 private:
  void ensure_gui();

  int argc_ = 3;
  char* argv_[4];
  std::unique_ptr<QGuiApplication> gui_;
};

}  // namespace dlslab::render
