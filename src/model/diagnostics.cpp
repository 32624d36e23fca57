#include "model/diagnostics.h"

#include <atomic>
#include <iostream>
#include <streambuf>

namespace dlslab {
namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

NullBuffer null_buffer;
std::ostream null_stream(&null_buffer);
// Read by every thread, set by the shells: an atomic pointer, so a switch is never torn.
std::atomic<std::ostream*> current{&std::cout};
thread_local std::ostream* thread_stream = nullptr;  // a DiagScope's stream, if any

}  // namespace

std::ostream& diag() { return thread_stream != nullptr ? *thread_stream : *current.load(); }

void set_diag_stream(std::ostream* stream) {
  current.store(stream != nullptr ? stream : &null_stream);
}

ScopedDiagStream::ScopedDiagStream(std::ostream* stream)
    : previous_(current.exchange(stream != nullptr ? stream : &null_stream)) {}

ScopedDiagStream::~ScopedDiagStream() { current.store(previous_); }

DiagScope::DiagScope(std::ostream* stream) : previous_(thread_stream) {
  thread_stream = stream != nullptr ? stream : &null_stream;
}

DiagScope::~DiagScope() { thread_stream = previous_; }

}  // namespace dlslab
