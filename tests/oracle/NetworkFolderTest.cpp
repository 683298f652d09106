#include "oracle/NetworkFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/ErrorOf.h"
#include "tests/ScopedVariable.h"
#include "tests/TempFolder.h"
#include "platform/Environment.h"
#include "tests/platform/MemoryRegistry.h"
#include "platform/Text.h"

namespace oracle {
namespace {

using platform::MemoryRegistry;
using platform::RegistryRoot;

constexpr char kHomeKey[] = "\\SOFTWARE\\ORACLE\\KEY_Ora";

MemoryRegistry::Value Text(std::string text) { return {MemoryRegistry::ValueType::String, std::move(text), 0}; }

// Each case is a workstation: where its administrator set TNS_ADMIN. "@"
// stands for a folder that is there, "!" for one that is not.
TEST(NetworkFolderTest, TheEnvironmentThenTheHomesKeyThenTheHome) {
  struct Case {
    const char* what;
    std::optional<std::string> process, user, machine, homeKey;
    std::string path;
    NetworkFolderSource source;
    std::string error;  // of CheckNetworkFolder
  };
  using S = NetworkFolderSource;
  const std::string inKey = "wartość klucza rejestru HKEY_LOCAL_MACHINE" + std::string(kHomeKey);
  const Case cases[] = {
      {"set nowhere", {}, {}, {}, {}, "!\\NETWORK\\ADMIN\\", S::Home, ""},
      {"a logon script sets it", "@", {}, {}, {}, "@\\", S::ProcessEnvironment, ""},
      {"set for the user", {}, "@", {}, {}, "@\\", S::UserEnvironment, ""},
      {"set for the machine, with its separator", {}, {}, "@/", {}, "@/", S::MachineEnvironment, ""},
      {"set in the home's key", {}, {}, {}, " @\t", "@\\", S::HomeKey, ""},
      {"both set: the environment wins", {}, {}, "@", "X:\\key", "@\\", S::MachineEnvironment, ""},
      {"a blank value counts as not set", "  ", {}, {}, "@", "@\\", S::HomeKey, ""},
      {"the environment names a missing folder", "!", {}, {}, {}, "!\\", S::ProcessEnvironment,
       platform::Format(kMissingNetworkFolderMessage, {"!", "zmienna środowiskowa"})},
      {"the home's key names a missing folder", {}, {}, {}, "!", "!\\", S::HomeKey,
       platform::Format(kMissingNetworkFolderMessage, {"!", inKey})},
  };
  testing_support::TempFolder temp;
  const std::string there = temp.Path().string();
  const std::string missing = there + "/brak";
  const auto place = [&](std::string text) {
    for (auto [mark, path] : {std::pair{'@', there}, std::pair{'!', missing}}) {
      for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 1, path);
    }
    return text;
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_Other", "TNS_ADMIN", Text("X:\\other"));
    if (c.user) registry.SetValue(RegistryRoot::CurrentUser, platform::kUserEnvironmentKey, "TNS_ADMIN", Text(place(*c.user)));
    if (c.machine) {
      registry.SetValue(RegistryRoot::LocalMachine, platform::kMachineEnvironmentKey, "TNS_ADMIN", Text(place(*c.machine)));
    }
    if (c.homeKey) registry.SetValue(RegistryRoot::LocalMachine, kHomeKey, "TNS_ADMIN", Text(place(*c.homeKey)));
    const testing_support::ScopedVariable process("TNS_ADMIN", c.process ? std::optional(place(*c.process)) : std::nullopt);
    const NetworkFolder folder = FindNetworkFolder(registry, "KEY_Ora", missing);
    EXPECT_EQ(folder.path + "|" + std::to_string(static_cast<int>(folder.source)),
              place(c.path) + "|" + std::to_string(static_cast<int>(c.source))) << c.what;
    const std::string error = testing_support::ErrorOf([&] { CheckNetworkFolder(folder); });
    EXPECT_EQ(error, c.error.empty() ? "(no error)" : place(c.error)) << c.what;
  }
  // Without a chosen home no key is read.
  MemoryRegistry registry;
  registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE", "TNS_ADMIN", Text("X:\\root"));
  EXPECT_EQ(FindNetworkFolder(registry, "", "").path, "\\NETWORK\\ADMIN\\");
}

}  // namespace
}  // namespace oracle
