#include "app/diagnostics_pane.h"

#include <QMetaObject>
#include <QScrollBar>
#include <QTextCursor>
#include <mutex>
#include <streambuf>
#include <string>

#include "model/diagnostics.h"

namespace dlslab::app {
namespace {

constexpr int kMaxLines = 20000;  // older lines scroll away; the echo keeps them all

}  // namespace

// Collects what is written until a line ends or the writer flushes, then queues the text to
// the pane's thread. One mutex covers the text and the echo, so lines of two writers do not
// mix inside a line.
class DiagnosticsPane::Forwarder : public std::streambuf {
 public:
  Forwarder(DiagnosticsPane* pane, std::ostream* echo) : pane_(pane), echo_(echo) {}

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    const std::lock_guard lock(mutex_);
    pending_ += ch;
    if (ch == '\n') send();
    return c;
  }

  std::streamsize xsputn(const char* s, std::streamsize n) override {
    const std::lock_guard lock(mutex_);
    pending_.append(s, static_cast<std::size_t>(n));
    if (pending_.find('\n') != std::string::npos) send();
    return n;
  }

  int sync() override {
    const std::lock_guard lock(mutex_);
    send();
    if (echo_ != nullptr) echo_->flush();
    return 0;
  }

 private:
  void send() {
    if (pending_.empty()) return;
    if (echo_ != nullptr) echo_->write(pending_.data(), std::ssize(pending_));
    const QString text = QString::fromUtf8(pending_.data(), std::ssize(pending_));
    pending_.clear();
    // Queued even from the pane's own thread, so that the order of the text never depends on
    // which thread wrote it; a pane gone by then drops it.
    QMetaObject::invokeMethod(
        pane_, [pane = pane_, text] { pane->append(text); }, Qt::QueuedConnection);
  }

  DiagnosticsPane* pane_;
  std::ostream* echo_;
  std::mutex mutex_;
  std::string pending_;
};

DiagnosticsPane::DiagnosticsPane(QWidget* parent) : QPlainTextEdit(parent), previous_(&diag()) {
  setReadOnly(true);
  setMaximumBlockCount(kMaxLines);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  forwarder_ = std::make_unique<Forwarder>(this, previous_);
  stream_ = std::make_unique<std::ostream>(forwarder_.get());
  set_diag_stream(stream_.get());
}

DiagnosticsPane::~DiagnosticsPane() {
  stream_->flush();
  set_diag_stream(previous_);
}

void DiagnosticsPane::append(const QString& text) {
  QScrollBar* bar = verticalScrollBar();
  const bool at_end = bar->value() == bar->maximum();
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
  if (at_end) bar->setValue(bar->maximum());
}

}  // namespace dlslab::app
