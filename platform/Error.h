#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Every failure the user may see travels as an Error carrying its final
// message text; only the window's top-level handler shows it.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace platform
