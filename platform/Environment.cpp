#include "platform/Environment.h"

#include "platform/Registry.h"

namespace platform {
namespace {

std::optional<std::string> RegistryVariable(Registry& registry, RegistryRoot root, std::string_view path,
                                            std::string_view name) {
  const auto key = registry.OpenKey(root, path, kKeyRead, false);
  if (!key) return std::nullopt;
  return key->TryReadString(name);
}

}  // namespace

std::optional<Variable> InheritedEnvironment::FindUnexpanded(std::string_view name) const {
  if (auto value = ProcessVariable(name)) return Variable{std::move(*value), VariableScope::Process};
  if (auto value = RegistryVariable(registry_, RegistryRoot::CurrentUser, kUserEnvironmentKey, name)) {
    return Variable{std::move(*value), VariableScope::User};
  }
  if (auto value = RegistryVariable(registry_, RegistryRoot::LocalMachine, kMachineEnvironmentKey, name)) {
    return Variable{std::move(*value), VariableScope::Machine};
  }
  return std::nullopt;
}

std::optional<Variable> InheritedEnvironment::Find(std::string_view name) const {
  std::optional<Variable> variable = FindUnexpanded(name);
  // The process's own values were expanded when it started.
  if (variable && variable->scope != VariableScope::Process) variable->value = Expand(variable->value);
  return variable;
}

// One level, as at logon: a reference whose variable is not set stays as
// it is written, and "%%" or a lone "%" are kept.
std::string InheritedEnvironment::Expand(const std::string& text) const {
  std::string expanded;
  size_t from = 0;
  while (true) {
    const size_t open = text.find('%', from);
    const size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) break;
    expanded.append(text, from, open - from);
    const std::string_view name = std::string_view(text).substr(open + 1, close - open - 1);
    const std::optional<Variable> variable = name.empty() ? std::nullopt : FindUnexpanded(name);
    if (variable) {
      expanded += variable->value;
      from = close + 1;
    } else {
      expanded += '%';
      from = open + 1;
    }
  }
  return expanded.append(text, from);
}

}  // namespace platform
