#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/ScopedVariable.h"
#include "platform/MemoryRegistry.h"

namespace platform {
namespace {

using testing_support::ScopedVariable;

constexpr char kName[] = "KONFIGNOVERA_TEST_VARIABLE";
constexpr char kOther[] = "KONFIGNOVERA_TEST_OTHER";

MemoryRegistry::Value Text(std::string text) { return {MemoryRegistry::ValueType::String, std::move(text), 0}; }
MemoryRegistry::Value Expandable(std::string text) {
  return {MemoryRegistry::ValueType::ExpandString, std::move(text), 0};
}

std::string Shown(const std::optional<Variable>& variable) {
  if (!variable) return "(none)";
  const char* scopes[] = {"process", "user", "machine"};
  return std::string(scopes[static_cast<int>(variable->scope)]) + ":" + variable->value;
}

// Each case is a workstation: what the process was started with, and what
// the user's and the machine's environment in the registry say.
TEST(EnvironmentTest, TheProcessThenTheUserThenTheMachine) {
  struct Case {
    const char* what;
    std::optional<std::string> process;
    std::optional<MemoryRegistry::Value> user;
    std::optional<MemoryRegistry::Value> machine;
    std::optional<std::string> other;  // kOther in the process
    const char* expected;
  };
  const Case cases[] = {
      {"set nowhere", std::nullopt, std::nullopt, std::nullopt, std::nullopt, "(none)"},
      {"the process only", "C:\\p", std::nullopt, std::nullopt, std::nullopt, "process:C:\\p"},
      {"set by a policy after the process started", std::nullopt, std::nullopt, Text("\\\\srv\\tns"),
       std::nullopt, "machine:\\\\srv\\tns"},
      {"the user's own wins over the machine's", std::nullopt, Text("C:\\u"), Text("C:\\m"), std::nullopt,
       "user:C:\\u"},
      {"the process wins over both", "C:\\p", Text("C:\\u"), Text("C:\\m"), std::nullopt, "process:C:\\p"},
      {"an empty value is set", "", std::nullopt, Text("C:\\m"), std::nullopt, "process:"},
      {"references are expanded from the same places", std::nullopt, std::nullopt,
       Expandable(std::string("%") + kOther + "%\\net\\%NOT_SET_ANYWHERE%\\100%%"), "D:\\base",
       "machine:D:\\base\\net\\%NOT_SET_ANYWHERE%\\100%%"},
      {"a process value is taken as it is", "%" + std::string(kOther) + "%", std::nullopt, std::nullopt, "x",
       "process:%KONFIGNOVERA_TEST_OTHER%"},
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    if (c.user) registry.SetValue(RegistryRoot::CurrentUser, kUserEnvironmentKey, kName, *c.user);
    if (c.machine) registry.SetValue(RegistryRoot::LocalMachine, kMachineEnvironmentKey, kName, *c.machine);
    const ScopedVariable process(kName, c.process);
    const ScopedVariable other(kOther, c.other);
    EXPECT_EQ(Shown(InheritedEnvironment(registry).Find(kName)), c.expected) << c.what;
  }
}

TEST(EnvironmentTest, AValueOfAnotherTypeIsTheRegistrysTypeError) {
  MemoryRegistry registry;
  registry.SetValue(RegistryRoot::LocalMachine, kMachineEnvironmentKey, kName,
                    {MemoryRegistry::ValueType::Integer, {}, 7});
  const ScopedVariable process(kName, std::nullopt);
  try {
    InheritedEnvironment(registry).Find(kName);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_EQ(std::string(error.what()), std::string("Niepoprawny typ danych : ") + kName);
  }
}

}  // namespace
}  // namespace platform
