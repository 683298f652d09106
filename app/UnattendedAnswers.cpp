#include "app/UnattendedAnswers.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "app/AnswersFile.h"
#include "app/AnswersSection.h"
#include "app/WizardSettings.h"
#include "app/servers/Kinds.h"
#include "app/servers/ServerKind.h"

namespace app {
namespace {

// The first page's choices as the window starts with them: the stored ones
// over its defaults. A stored version past the last item marks the last
// one, as on the first page; a stored server past the last item is Oracle
// anyway.
void ProposeStoredChoices(platform::Registry& registry, Answers& answers) {
  const std::optional<StoredChoices> stored = PeekStoredChoices(registry);
  if (!stored) return;
  if (stored->server) answers.server = ServerKindOfItem(*stored->server);
  if (stored->version) {
    answers.version = SuiteVersionOfItem(std::clamp(*stored->version, -1, ItemOf(SuiteVersion::V11)));
  }
}

// "Serwer" names a kind by the section it reads.
std::vector<std::string_view> ServerChoices() {
  std::vector<std::string_view> choices;
  for (const servers::Kind* kind : servers::AllKinds()) choices.push_back(kind->Section());
  return choices;
}

constexpr std::string_view kVersionAnswers[] = {"9", "10", "11"};

}  // namespace

Answers ProposedChoices(platform::Registry& registry) {
  Answers answers;
  ProposeStoredChoices(registry, answers);
  return answers;
}

std::string_view VersionAnswer(SuiteVersion version) { return kVersionAnswers[ItemOf(version)]; }

Answers ResolveAnswers(const AnswersFile& file, platform::Registry& registry, const EngineStart& engine) {
  Answers answers;
  const AnswersSection main(file, kMainSection);
  const std::optional<size_t> server = main.Choice(kServerKey, ServerChoices());
  const std::optional<size_t> version =
      main.Choice(kVersionKey, {std::begin(kVersionAnswers), std::end(kVersionAnswers)});
  if (const std::optional<bool> testCopy = main.Flag(kTestCopyKey)) answers.testCopy = *testCopy;
  if (!server || !version) ProposeStoredChoices(registry, answers);
  if (server) answers.server = ServerKindOfItem(static_cast<int>(*server));
  if (version) answers.version = SuiteVersionOfItem(static_cast<int>(*version));
  const servers::Sources sources{registry, engine, AliasPrefixFor(ItemOf(answers.version), answers.testCopy)};
  servers::KindOf(answers.server).Resolve(file, sources, answers);
  return answers;
}

}  // namespace app
