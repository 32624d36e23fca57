#include "render/offscreen_renderer.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include "render/stats_renderer.h"
#include "render/view_renderer.h"

namespace dlslab::render {
namespace {

// The paint box's size before the window is first resized.
constexpr int kDesignPaintBoxSize = 310;

char kProgram[] = "dlslab-cli";
char kPlatformOption[] = "-platform";
char kOffscreen[] = "offscreen";

}  // namespace

OffscreenRenderer::OffscreenRenderer() : argv_{kProgram, kPlatformOption, kOffscreen, nullptr} {}

OffscreenRenderer::~OffscreenRenderer() = default;

void OffscreenRenderer::ensure_gui() {
  if (QCoreApplication::instance() == nullptr)
    gui_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

void OffscreenRenderer::save_bitmap(TLatinSquareClass& model, const std::string& file_name) {
  ensure_gui();
  save_view_bitmap(model, kDesignPaintBoxSize, kDesignPaintBoxSize, file_name);
}

void OffscreenRenderer::save_statistical_info(const CellHistograms& histograms,
                                            const std::string& file_name) {
  ensure_gui();
  save_statistical_info_bitmap(histograms, file_name);
}

}  // namespace dlslab::render
