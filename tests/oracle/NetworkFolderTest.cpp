#include "oracle/NetworkFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/ErrorOf.h"
#include "tests/ScopedVariable.h"
#include "tests/TempFolder.h"
#include "platform/Environment.h"
#include "platform/MemoryRegistry.h"
#include "platform/Text.h"

namespace oracle {
namespace {

using platform::MemoryRegistry;
using platform::RegistryRoot;
using testing_support::ScopedVariable;

MemoryRegistry::Value Text(std::string text) { return {MemoryRegistry::ValueType::String, std::move(text), 0}; }

// Each case is a workstation: where its administrator set TNS_ADMIN.
TEST(NetworkFolderTest, TheEnvironmentThenTheHomesKeyThenTheHome) {
  struct Case {
    const char* what;
    std::optional<std::string> process;
    std::optional<std::string> user;
    std::optional<std::string> machine;
    std::optional<std::string> homeKey;  // TNS_ADMIN of the chosen home's key
    const char* path;
    NetworkFolderSource source;
  };
  const Case cases[] = {
      {"set nowhere", {}, {}, {}, {}, "C:\\ora\\NETWORK\\ADMIN\\", NetworkFolderSource::Home},
      {"a logon script sets it", "\\\\srv\\tns", {}, {}, {}, "\\\\srv\\tns\\", NetworkFolderSource::ProcessEnvironment},
      {"set for the user", {}, "C:\\u", {}, {}, "C:\\u\\", NetworkFolderSource::UserEnvironment},
      {"set for the machine, with its separator", {}, {}, "C:\\m\\", {}, "C:\\m\\",
       NetworkFolderSource::MachineEnvironment},
      {"set in the home's key", {}, {}, {}, " D:\\tns\t", "D:\\tns\\", NetworkFolderSource::HomeKey},
      {"both set: the environment wins", {}, {}, "C:\\m", "D:\\tns", "C:\\m\\",
       NetworkFolderSource::MachineEnvironment},
      {"a blank environment value counts as not set", "  ", {}, {}, "D:\\tns", "D:\\tns\\",
       NetworkFolderSource::HomeKey},
      {"an empty key value counts as not set", {}, {}, {}, "", "C:\\ora\\NETWORK\\ADMIN\\", NetworkFolderSource::Home},
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_Other", "TNS_ADMIN", Text("X:\\other"));
    if (c.user) registry.SetValue(RegistryRoot::CurrentUser, platform::kUserEnvironmentKey, "TNS_ADMIN", Text(*c.user));
    if (c.machine) {
      registry.SetValue(RegistryRoot::LocalMachine, platform::kMachineEnvironmentKey, "TNS_ADMIN", Text(*c.machine));
    }
    if (c.homeKey) registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_Ora", "TNS_ADMIN", Text(*c.homeKey));
    const ScopedVariable process("TNS_ADMIN", c.process);
    const NetworkFolder folder = FindNetworkFolder(registry, "KEY_Ora", "C:\\ora");
    EXPECT_EQ(folder.path, c.path) << c.what;
    EXPECT_EQ(folder.source, c.source) << c.what;
    EXPECT_EQ(folder.FilePath("sqlnet.ora"), std::string(c.path) + "sqlnet.ora") << c.what;
  }
  // Without a chosen home no key is read.
  MemoryRegistry registry;
  registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE", "TNS_ADMIN", Text("X:\\root"));
  EXPECT_EQ(FindNetworkFolder(registry, "", "").path, "\\NETWORK\\ADMIN\\");
}

// A folder that TNS_ADMIN names must be there before anything is written:
// the client would read nothing else.
TEST(NetworkFolderTest, AMissingFolderThatTnsAdminNamesIsSaidWithWhereItIsSet) {
  testing_support::TempFolder temp;
  const std::string there = temp.Path().string();
  const std::string missing = there + "/brak";
  struct Case {
    const char* what;
    std::optional<std::string> process;
    std::optional<std::string> homeKey;
    std::string expected;
  };
  const Case cases[] = {
      {"the environment names a folder that is there", there, {}, "(no error)"},
      {"the environment names a missing one", missing, {},
       platform::Format(kMissingNetworkFolderMessage, {missing, "zmienna środowiskowa"})},
      {"the home's key names a missing one", {}, missing,
       platform::Format(kMissingNetworkFolderMessage,
                        {missing, "wartość klucza rejestru HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE\\KEY_Ora"})},
      {"the home's own folder is left to the file errors", {}, {}, "(no error)"},
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    if (c.homeKey) registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_Ora", "TNS_ADMIN", Text(*c.homeKey));
    const ScopedVariable process("TNS_ADMIN", c.process);
    const NetworkFolder folder = FindNetworkFolder(registry, "KEY_Ora", missing);
    EXPECT_EQ(testing_support::ErrorOf([&] { CheckNetworkFolder(folder); }), c.expected) << c.what;
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace oracle
