#include "model/diagnostics.h"

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
std::ostream* current = &std::cout;
thread_local std::ostream* thread_stream = nullptr;  // a DiagScope's stream, if any

}  // namespace

std::ostream& Diag() { return thread_stream != nullptr ? *thread_stream : *current; }

void SetDiagStream(std::ostream* stream) { current = stream != nullptr ? stream : &null_stream; }

DiagScope::DiagScope(std::ostream* stream) : previous_(thread_stream) {
  thread_stream = stream != nullptr ? stream : &null_stream;
}

DiagScope::~DiagScope() { thread_stream = previous_; }

}  // namespace dlslab
