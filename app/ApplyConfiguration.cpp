#include "app/ApplyConfiguration.h"

#include "app/WizardSettings.h"
#include "app/servers/Kinds.h"
#include "app/servers/ServerKind.h"
#include "bde/AliasEngine.h"
#include "bde/AliasWriter.h"
#include "bde/StatusReport.h"

namespace app {
namespace {

constexpr char kConfigurationLine[] = " Zmodyfikowano konfigurację BDE.";

struct SuiteAliasName {
  servers::SuiteAlias alias;
  const char* module;  // what follows AliasPrefix + "Novera- "
};

// The aliases of every server kind, in the order they are written.
constexpr SuiteAliasName kSuiteAliases[] = {
    {servers::SuiteAlias::Ochrona, "Ochrona"},         {servers::SuiteAlias::LM, "LM"},
    {servers::SuiteAlias::Faktury, "LM- Faktury"},     {servers::SuiteAlias::Magistr, "LM- Magistr"},
    {servers::SuiteAlias::Odbiorcy, "LM- Odbiorcy"},   {servers::SuiteAlias::Odczyty, "LM- Odczyty"},
    {servers::SuiteAlias::Archiwum, "LM- Archiwum"},   {servers::SuiteAlias::Liczniki, "LM- Liczniki"},
};

}  // namespace

ApplyConfiguration::ApplyConfiguration(platform::Registry& registry, bde::AliasEngine& engine)
    : registry_(registry), engine_(engine) {
  for (const servers::Kind* kind : servers::AllKinds()) templates_.push_back(kind->AliasTemplate());
  engine_.SetConfigurationMode(bde::ConfigurationMode::Persistent);
}

void ApplyConfiguration::Run(const Answers& answers, bde::StatusReport& report) {
  report.Clear();
  report.Add("Konfiguracja została utworzona!");
  report.Add("");

  const servers::Kind& kind = servers::KindOf(answers.server);
  kind.CheckClient(registry_, answers);
  const std::vector<std::string> existing = engine_.ListAliases();
  bde::AliasWriter writer(engine_, report);
  writer.EnsureNetAlias(existing);
  kind.WriteClient(registry_, answers, report);
  report.Add(kConfigurationLine);
  WriteSuiteAliases(kind, answers, existing, writer);
  engine_.SaveConfiguration();
}

// The kind sets its values on its template before each alias; what it set
// stays in force for the aliases after it.
void ApplyConfiguration::WriteSuiteAliases(const servers::Kind& kind, const Answers& answers,
                                           const std::vector<std::string>& existing, bde::AliasWriter& writer) {
  bde::Database& aliasTemplate = templates_[static_cast<size_t>(answers.server)];
  kind.SetRunValues(answers, aliasTemplate.Params());
  const std::string stem = AliasPrefixFor(ItemOf(answers.version), answers.testCopy) + "Novera- ";
  for (const auto& [alias, module] : kSuiteAliases) {
    if (alias == servers::SuiteAlias::Archiwum && answers.version != SuiteVersion::V11) continue;
    kind.SetAliasValues(alias, answers, aliasTemplate.Params());
    writer.WriteAlias(stem + module, existing, aliasTemplate);
  }
}

}  // namespace app
