#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class Registry;

// This process's own environment: the value of the variable, or nothing
// when it is not set. Names ignore letter case on Windows.
std::optional<std::string> ProcessVariable(std::string_view name);

// Where Windows keeps the environment that a new logon starts with: the
// machine's for every user, and each user's own, which wins for a name that
// both set.
inline constexpr std::string_view kMachineEnvironmentKey =
    "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
inline constexpr std::string_view kUserEnvironmentKey = "\\Environment";

enum class VariableScope { Process, User, Machine };

struct Variable {
  std::string value;
  VariableScope scope;
};

// The environment that a program started now on this machine inherits.
// A variable is taken from this process's own environment first: that is
// what the programs it starts, and those started beside it from the same
// place, see. A variable set since (by an installer, a policy, the system
// settings) is not there yet, so the user's and then the machine's
// environment in the registry follow; their %NAME% references are
// expanded as Windows expands them at logon, from the same three places.
// A value of another type than text raises the registry's type error.
class InheritedEnvironment {
 public:
  explicit InheritedEnvironment(Registry& registry) : registry_(registry) {}

  std::optional<Variable> Find(std::string_view name) const;

 private:
  std::optional<Variable> FindUnexpanded(std::string_view name) const;
  std::string Expand(const std::string& text) const;

  Registry& registry_;
};

}  // namespace platform
