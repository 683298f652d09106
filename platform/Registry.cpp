#include "platform/Registry.h"

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {

void RaiseRegistryError(std::string_view pattern, std::string_view name) {
  throw Error(Format(pattern, {std::string(name)}));
}

std::string RegistryKey::ReadString(std::string_view name) {
  std::optional<std::string> value = TryReadString(name);
  if (!value) RaiseRegistryError(kGetDataFailedMessage, name);
  return std::move(*value);
}

int32_t RegistryKey::ReadInteger(std::string_view name) {
  const std::optional<int32_t> value = TryReadInteger(name);
  if (!value) RaiseRegistryError(kGetDataFailedMessage, name);
  return *value;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace platform
