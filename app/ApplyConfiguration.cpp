#include "app/ApplyConfiguration.h"

#include <exception>
#include <optional>
#include <utility>

#include "app/ErrorText.h"
#include "app/WizardSettings.h"
#include "app/backup/Restore.h"
#include "app/backup/RunBackup.h"
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

ApplyConfiguration::ApplyConfiguration(platform::Registry& registry, bde::AliasEngine& engine, std::string backupRoot)
    : registry_(registry), engine_(engine), backupRoot_(std::move(backupRoot)) {
  for (const servers::Kind* kind : servers::AllKinds()) templates_.push_back(kind->AliasTemplate());
  engine_.SetConfigurationMode(bde::ConfigurationMode::Persistent);
}

backup::RunBackup ApplyConfiguration::BeginBackup(bool unattended) {
  return backup::RunBackup::Begin(backupRoot_, backup::LocalTimeNow(),
                                  unattended ? backup::RunMode::Unattended : backup::RunMode::Window,
                                  {registry_, [this]() -> bde::AliasEngine& { return engine_; }});
}

// The backup of a failed run still records what stands after it, for a
// later /undo; that it cannot is no reason to hide the run's own error.
void ApplyConfiguration::Run(const Answers& answers, bde::StatusReport& report) {
  backup::RunBackup backup = BeginBackup(false);
  try {
    Write(answers, report, backup);
  } catch (const std::exception&) {
    try {
      backup.Finish(backup::RunState::Failed);
    } catch (const std::exception&) {
    }
    throw;
  }
  backup.Finish(backup::RunState::Finished);
}

// A backup that cannot record the run's end counts as a failure too: the
// workstation would hold a run that no /undo could check.
bool ApplyConfiguration::RunAllOrNothing(const Answers& answers, bde::StatusReport& report) {
  backup::RunBackup backup = BeginBackup(true);
  try {
    Write(answers, report, backup);
    backup.Finish(backup::RunState::Finished);
    return true;
  } catch (const std::exception& error) {
    report.Add(WithFinalStop(error.what()));
  }
  RollBack(backup, report);
  return false;
}

void ApplyConfiguration::Rehearse(const Answers& answers, bde::StatusReport& report, backup::ItemKeeper& places) {
  Write(answers, report, places);
}

void ApplyConfiguration::Write(const Answers& answers, bde::StatusReport& report, backup::ItemKeeper& backup) {
  report.Clear();
  report.Add("Konfiguracja została utworzona!");
  report.Add("");

  const servers::Kind& kind = servers::KindOf(answers.server);
  kind.CheckClient(registry_, answers);
  const std::vector<std::string> existing = engine_.ListAliases();
  bde::AliasWriter writer(engine_, report);
  backup.Keep(backup::Place::Alias(std::string(bde::kNetAliasName)));
  writer.EnsureNetAlias(existing);
  kind.WriteClient(registry_, answers, report, backup);
  report.Add(kConfigurationLine);
  std::vector<bde::Alias> aliases =
      PlanSuiteAliases(kind, answers, templates_[static_cast<size_t>(answers.server)]);
  for (const bde::Alias& alias : aliases) {
    backup.Keep(backup::Place::Alias(alias.name));
    writer.WriteAlias(alias.name, existing, bde::Database("", alias.driver, alias.params));
  }
  if (const std::optional<std::string> file = engine_.OwnConfigurationFile()) {
    backup.Keep(backup::Place::EngineFile(*file));
  }
  engine_.SaveConfiguration();
  written_ = std::move(aliases);
}

std::vector<bde::Alias> ApplyConfiguration::SuiteAliases(const Answers& answers) {
  const servers::Kind& kind = servers::KindOf(answers.server);
  bde::Database aliasTemplate = kind.AliasTemplate();
  return PlanSuiteAliases(kind, answers, aliasTemplate);
}

// What stands after the error is recorded first, so that what the rollback
// cannot put back, a later /undo still can.
void ApplyConfiguration::RollBack(backup::RunBackup& backup, bde::StatusReport& report) {
  try {
    backup.Finish(backup::RunState::Failed);
  } catch (const std::exception&) {
  }
  backup::Workstation workstation{registry_, [this]() -> bde::AliasEngine& { return engine_; }};
  const backup::RestoreResult result = backup::Restore(workstation, backup.Items(), backup::RestoreMode::Rollback);
  report.Add("");
  if (result.failed == 0) {
    report.Add(result.lines.empty() ? " Przebieg niczego nie zmienił." : " Wycofano zmiany przebiegu:");
  } else {
    report.Add(" Nie wszystkie zmiany przebiegu udało się wycofać:");
  }
  for (const std::string& line : result.lines) report.Add(line);
  report.Add(" Kopia zapasowa:");
  report.Add("     \"" + backup.Folder() + "\"");
  if (result.failed == 0) {
    try {
      backup.SetState(backup::RunState::RolledBack);
    } catch (const std::exception&) {
      // A later /undo of the run finds everything as before.
    }
  }
}

}  // namespace app
