#include <cstdlib>
#include <string>

#include "platform/Environment.h"

namespace platform {

std::optional<std::string> ProcessVariable(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace platform
