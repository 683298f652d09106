#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "tests/ScopedVariable.h"
#include "tests/platform/MemoryRegistry.h"

namespace platform {
namespace {

using testing_support::ScopedVariable;

constexpr char kName[] = "KONFIGNOVERA_TEST_VARIABLE";
constexpr char kOther[] = "KONFIGNOVERA_TEST_OTHER";

std::string Shown(const std::optional<Variable>& variable) {
  if (!variable) return "(none)";
  const char* scopes[] = {"process", "user", "machine"};
  return std::string(scopes[static_cast<int>(variable->scope)]) + ":" + variable->value;
}

// Each case is a workstation: what the process was started with, and what
// the user's and the machine's environment in the registry say (values
// that Windows expands at logon, as REG_EXPAND_SZ).
TEST(EnvironmentTest, TheProcessThenTheUserThenTheMachine) {
  struct Case {
    const char* what;
    std::optional<std::string> process, user, machine;
    const char* expected;
  };
  const std::string reference = std::string("%") + kOther + "%";
  const Case cases[] = {
      {"set nowhere", {}, {}, {}, "(none)"},
      {"set by a policy after the process started", {}, {}, "\\\\srv\\tns", "machine:\\\\srv\\tns"},
      {"the user's own wins over the machine's", {}, "C:\\u", "C:\\m", "user:C:\\u"},
      {"the process wins over both, even when empty", "", "C:\\u", "C:\\m", "process:"},
      {"references are expanded from the same places", {}, {}, reference + "\\net\\%NOT_SET%\\100%%",
       "machine:D:\\base\\net\\%NOT_SET%\\100%%"},
      {"a process value is taken as it is", reference, {}, {}, "process:%KONFIGNOVERA_TEST_OTHER%"},
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    for (const auto& [root, path, value] : {std::tuple{RegistryRoot::CurrentUser, kUserEnvironmentKey, c.user},
                                            std::tuple{RegistryRoot::LocalMachine, kMachineEnvironmentKey, c.machine}}) {
      if (value) registry.SetValue(root, path, kName, {MemoryRegistry::ValueType::ExpandString, *value, 0});
    }
    const ScopedVariable process(kName, c.process);
    const ScopedVariable other(kOther, "D:\\base");
    EXPECT_EQ(Shown(InheritedEnvironment(registry).Find(kName)), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace platform
