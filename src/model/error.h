#pragma once

#include <stdexcept>
#include <string>

namespace dlslab {

/// A failed operation; the message is shown to the user as it stands.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace dlslab
