#pragma once

#include <QPlainTextEdit>
#include <memory>
#include <ostream>

namespace dlslab::app {

/// A read-only pane showing everything the library writes to the diagnostics stream (speed
/// reports, progress lines, self-checks), so that nothing is lost when no terminal is
/// attached. While it lives it is the diagnostics stream: writes from any thread are passed
/// to the window's thread a line at a time and still echoed to the stream it replaced.
class DiagnosticsPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit DiagnosticsPane(QWidget* parent);
  ~DiagnosticsPane() override;
  DiagnosticsPane(const DiagnosticsPane&) = delete;
  DiagnosticsPane& operator=(const DiagnosticsPane&) = delete;

 private:
  class Forwarder;

  /// Appends text as written, line breaks included; on the window's thread.
  void append(const QString& text);

  std::unique_ptr<Forwarder> forwarder_;
  std::unique_ptr<std::ostream> stream_;
  std::ostream* previous_;
};

}  // namespace dlslab::app
