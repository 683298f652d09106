#include "app/ExportAnswers.h"

#include "app/AnswersFile.h"
#include "app/WizardSettings.h"
#include "app/servers/Kinds.h"
#include "app/servers/ServerKind.h"
#include "bde/AliasEngine.h"
#include "bde/Connection.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace app {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The answers file drops the blanks around a value and ends it at ";".
std::string Line(std::string_view key, const std::string& value) {
  const bool trimmed = platform::Trim(value, platform::Blanks::SpaceAndTab).size() == value.size();
  if (!trimmed || value.find_first_of(";\r\n") != std::string::npos) {
    throw platform::Error(platform::Format(kUnwritableValueMessage, {std::string(key), value}));
  }
  return std::string(key) + "=" + value;
}

// The first page's choices of the aliases an earlier run left: the
// version and test copy whose main alias the engine holds (the newest
// version first, the production copy before the test copy; version 11's
// Archiwum alias tells it from 10), and the server
// kind whose aliases are of that alias's driver. A choice the settings key
// stores stays as it is; with no such alias, all stay.
void ProposeFromMainAlias(platform::Registry& registry, const EngineStart& engine, Answers& choices) {
  const std::optional<StoredChoices> stored = PeekStoredChoices(registry);
  const bool serverStored = stored && stored->server;
  const bool versionStored = stored && stored->version;
  const std::vector<std::string> aliases = engine().ListAliases();
  for (const SuiteVersion version : {SuiteVersion::V11, SuiteVersion::V10, SuiteVersion::V9}) {
    if (versionStored && version != choices.version) continue;
    for (const bool testCopy : {false, true}) {
      const std::string mainAlias = AliasPrefixFor(ItemOf(version), testCopy) + "Novera- LM";
      if (platform::IndexOfNoCase(aliases, mainAlias) < 0) continue;
      // Versions 10 and 11 name their aliases alike; only 11 has Archiwum.
      if (version == SuiteVersion::V11 && !versionStored &&
          platform::IndexOfNoCase(aliases, mainAlias + "- Archiwum") < 0) {
        continue;
      }
      choices.version = version;
      choices.testCopy = testCopy;
      if (serverStored) return;
      const std::string driver = engine().AliasDriver(mainAlias);
      for (size_t i = 0; i < servers::AllKinds().size(); ++i) {
        if (servers::AllKinds()[i]->AliasTemplate().DriverName() == driver) {
          choices.server = ServerKindOfItem(static_cast<int>(i));
        }
      }
      return;
    }
  }
}

}  // namespace

std::vector<std::string> DescribeWorkstation(platform::Registry& registry, const EngineStart& engine,
                                             const std::string& computer, const std::string& time) {
  Answers choices = ProposedChoices(registry);
  ProposeFromMainAlias(registry, engine, choices);
  const servers::Kind& kind = servers::KindOf(choices.server);
  const servers::Sources sources{registry, engine, AliasPrefixFor(ItemOf(choices.version), choices.testCopy)};
  std::vector<std::string> lines = {
      std::string(kUtf8Bom) + "; Stacja robocza " + computer + " opisana " + time + " (KonfigNovera.exe /export)",
      "[" + std::string(kMainSection) + "]",
      Line(kServerKey, std::string(kind.Section())),
      Line(kVersionKey, std::string(VersionAnswer(choices.version))),
      Line(kTestCopyKey, choices.testCopy ? "1" : "0"),
      "",
      "[" + std::string(kind.Section()) + "]",
  };
  for (const auto& [key, value] : kind.ProposedValues(sources)) lines.push_back(Line(key, value));
  return lines;
}

}  // namespace app
