#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace testing_support {

// Every key and value of both roots, byte for byte, one line each and in
// sorted order: two dumps are equal exactly when the registries are.
inline std::string DumpRegistry(platform::Registry& registry) {
  std::vector<std::string> lines;
  const auto walk = [&](const auto& self, platform::RegistryRoot root, const std::string& path) -> void {
    const platform::OpenedKey key = registry.OpenKey(root, path, platform::kKeyRead, false);
    if (!key) return;
    const std::string prefix = (root == platform::RegistryRoot::LocalMachine ? "HKLM" : "HKCU") + path;
    lines.push_back("[" + prefix + "]");
    for (const std::string& name : key->ValueNames()) {
      const std::optional<platform::RegistryValue> value = key->TryReadValue(name);
      if (value) lines.push_back(prefix + " \"" + name + "\" " + std::to_string(value->type) + " " + value->data);
    }
    for (const std::string& subkey : key->SubkeyNames()) self(self, root, path + "\\" + subkey);
  };
  walk(walk, platform::RegistryRoot::LocalMachine, "");
  walk(walk, platform::RegistryRoot::CurrentUser, "");
  std::sort(lines.begin(), lines.end());
  std::string dump;
  for (const std::string& line : lines) dump += line + "\n";
  return dump;
}

}  // namespace testing_support
