#include "platform/Registry.h"

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/Utf16.h"

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

RegistryValue TextValue(std::string_view text, uint32_t type) {
  return {type, ToUtf16Le(text) + std::string(2, '\0')};
}

RegistryValue NumberValue(uint32_t number) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(number >> shift & 0xFF);
  return {kRegDword, bytes};
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
