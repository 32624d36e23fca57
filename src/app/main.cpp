#include <QApplication>
#include <QIcon>
#include <QSize>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/main_form.h"

namespace {

constexpr const char* kNoDisplay =
    "dlslab: no display to open the window on; start it in a desktop session, or as "
    "\"xvfb-run build/src/app/dlslab\" (the command-line workbench build/src/dlslab-cli needs "
    "no display).";

bool is_set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

/// True when the toolkit would have to find a desktop it cannot reach: on X11 or Wayland
/// without their display variables it aborts the process rather than fail.
bool display_missing() {
#if defined(__linux__) || defined(__unix__)
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') {
    const std::string_view name(platform);
    if (name.substr(0, 3) == "xcb") return !is_set("DISPLAY");
    if (name.substr(0, 7) == "wayland") return !is_set("WAYLAND_DISPLAY");
    return false;  // offscreen, vnc, ...: no desktop needed
  }
  return !is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY");
#else
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (display_missing()) {
    std::fprintf(stderr, "%s\n", kNoDisplay);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationVersion(DLSLAB_VERSION);
  // The desktop entry's name, which Wayland compositors match the window with, and the icon
  // it installs; the built-in copy where the icon theme lacks it.
  QGuiApplication::setDesktopFileName(DLSLAB_APP_ID);
  QIcon built_in;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
    built_in.addFile(QString(":/icons/dlslab-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(QIcon::fromTheme(DLSLAB_APP_ID, built_in));
  dlslab::app::TMainForm form;
  form.show();
  return QApplication::exec();
}
