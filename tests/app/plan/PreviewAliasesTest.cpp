#include "app/plan/PreviewAliases.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bde/Engine.h"
#include "platform/TextFile.h"
#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app::plan {
namespace {

using Lines = std::vector<std::string>;
using testing_support::ErrorOf;

// Every alias with its driver and parameters, as a reader sees them.
std::string Aliases(bde::AliasEngine& engine) {
  std::string text;
  for (const std::string& name : engine.ListAliases()) {
    text += name + " (" + engine.AliasDriver(name) + ")\n";
    const bde::ParameterList params = engine.ReadAliasParameters(name);
    for (const std::string& line : params.Lines()) text += "  " + line + "\n";
  }
  return text;
}

// The same changes made through a preview and, for comparison, on our
// engine itself in session mode, over a file with two aliases of its own.
class PreviewAliasesTest : public ::testing::Test {
 protected:
  PreviewAliasesTest() {
    bde::Engine engine(registry_, Config());
    engine.SetConfigurationMode(bde::ConfigurationMode::Persistent);
    engine.CreateAlias("Stary", "SQL Native Client", bde::ParameterList(Lines{"DATABASE NAME=A", "ODBC DSN=B"}));
    engine.CreateStandardAlias("Novera- LM", "C:\\Novera", "");
    engine.SaveConfiguration();
  }
  std::string Config() const { return (folder_.Path() / "bde.cfg").string(); }

  platform::MemoryRegistry registry_;
  testing_support::TempFolder folder_;
};

TEST_F(PreviewAliasesTest, ChangesShowAsTheEngineWouldMakeThemAndReachNothingBeneath) {
  const std::vector<std::pair<const char*, std::function<void(bde::AliasEngine&)>>> changes = {
      {"create", [](bde::AliasEngine& e) {
         e.CreateAlias("Nowy", "ORACLE", bde::ParameterList(Lines{"SERVER NAME=XE", "USER NAME=U", "NIEZNANY=x"}));
       }},
      {"standard", [](bde::AliasEngine& e) { e.CreateStandardAlias("Novera- Net", "C:\\Net", "DBASE"); }},
      {"update", [](bde::AliasEngine& e) {
         e.UpdateAlias("stary", bde::ParameterList(Lines{"DATABASE NAME=C", "USER NAME=nie ma"}));
       }},
      {"delete", [](bde::AliasEngine& e) { e.DeleteAlias("Novera- LM"); }},
      {"delete and create again", [](bde::AliasEngine& e) {
         e.DeleteAlias("Stary");
         e.CreateAlias("STARY", "ORACLE", bde::ParameterList(Lines{"SERVER NAME=Y"}));
       }},
  };
  const std::string file = platform::ReadFileContent(Config());
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    bde::Engine beneath(registry_, Config());
    const std::string before = Aliases(beneath);
    PreviewAliases preview(beneath);
    preview.SetConfigurationMode(bde::ConfigurationMode::Persistent);
    change(preview);
    preview.SaveConfiguration();

    bde::Engine session(registry_, Config());
    change(session);
    EXPECT_EQ(Aliases(preview), Aliases(session));
    EXPECT_EQ(Aliases(beneath), before);
    EXPECT_EQ(platform::ReadFileContent(Config()), file);
  }
}

TEST_F(PreviewAliasesTest, RefusesWhatTheEngineRefuses) {
  bde::Engine beneath(registry_, Config());
  PreviewAliases preview(beneath);
  preview.DeleteAlias("Stary");
  EXPECT_EQ(ErrorOf([&] { preview.AliasDriver("Stary"); }), "Alias BDE \"Stary\" nie istnieje");
  EXPECT_EQ(ErrorOf([&] { preview.DeleteAlias("Stary"); }), "Alias BDE \"Stary\" nie istnieje");
  EXPECT_EQ(ErrorOf([&] { preview.CreateStandardAlias("novera- lm", "C:\\", ""); }),
            "Alias BDE \"novera- lm\" już istnieje");
}

}  // namespace
}  // namespace app::plan
