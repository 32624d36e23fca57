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

}  // namespace

std::ostream& Diag() { return *current; }

void SetDiagStream(std::ostream* stream) { current = stream != nullptr ? stream : &null_stream; }

}  // namespace dlslab
