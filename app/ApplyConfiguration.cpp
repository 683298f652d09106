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

// The kind sets its values on its template before each alias; what it set
// stays in force for the aliases after it.
std::vector<bde::Alias> PlanSuiteAliases(const servers::Kind& kind, const Answers& answers,
                                         bde::Database& aliasTemplate) {
  kind.SetRunValues(answers, aliasTemplate.Params());
  const std::string stem = AliasPrefixFor(ItemOf(answers.version), answers.testCopy) + "Novera- ";
  std::vector<bde::Alias> aliases;
  for (const auto& [alias, module] : kSuiteAliases) {
    if (alias == servers::SuiteAlias::Archiwum && answers.version != SuiteVersion::V11) continue;
    kind.SetAliasValues(alias, answers, aliasTemplate.Params());
    aliases.push_back({stem + module, aliasTemplate.DriverName(), aliasTemplate.Params()});
  }
  return aliases;
}

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
  std::vector<bde::Alias> aliases =
      PlanSuiteAliases(kind, answers, templates_[static_cast<size_t>(answers.server)]);
  for (const bde::Alias& alias : aliases) {
    writer.WriteAlias(alias.name, existing, bde::Database("", alias.driver, alias.params));
  }
  engine_.SaveConfiguration();
  written_ = std::move(aliases);
}

std::vector<bde::Alias> ApplyConfiguration::SuiteAliases(const Answers& answers) {
  const servers::Kind& kind = servers::KindOf(answers.server);
  bde::Database aliasTemplate = kind.AliasTemplate();
  return PlanSuiteAliases(kind, answers, aliasTemplate);
}

}  // namespace app
