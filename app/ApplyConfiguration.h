#pragma once

#include <string>
#include <vector>

#include "app/Answers.h"
#include "bde/Alias.h"
#include "bde/Connection.h"

namespace platform {
class Registry;
}

namespace bde {
class AliasEngine;
class AliasWriter;
class StatusReport;
}  // namespace bde

namespace app::servers {
class Kind;
}

namespace app::backup {
class ItemKeeper;
class RunBackup;
}  // namespace app::backup

namespace app {

// The whole configuration in one run: the ODBC data source or the Oracle
// client files, one alias per suite module, and one save of the engine's
// configuration. Before its first write the run begins its backup (a
// backup that cannot be written stops it with nothing changed), and each
// step takes what it may change into it before writing; at the end the
// backup records what stands, so that /undo can put the run back.
//
// The step owns the parameter template of each server kind's aliases; what
// one run sets on them stays there for the next run of the same step.
class ApplyConfiguration {
 public:
  // Puts the engine into persistent mode, so that the run's save writes.
  // Each run's backup goes into a folder of its own under backupRoot.
  ApplyConfiguration(platform::Registry& registry, bde::AliasEngine& engine, std::string backupRoot);
  ApplyConfiguration(const ApplyConfiguration&) = delete;
  ApplyConfiguration& operator=(const ApplyConfiguration&) = delete;

  // "Wykonaj": the first error ends the run where it happened; what was
  // written stays, nothing is saved, and the error passes to the caller.
  // The report is cleared first and holds, at the end or at the error,
  // what the run did so far.
  void Run(const Answers& answers, bde::StatusReport& report);

  // The unattended run, all or nothing: after an error everything the run
  // wrote is put back from its backup, and the report ends with the error
  // and what was put back (or could not be). False after an error; an
  // error before the first write (the backup's) passes to the caller.
  [[nodiscard]] bool RunAllOrNothing(const Answers& answers, bde::StatusReport& report);

  // The run's writes without a backup, each writer telling places what it
  // may change before it writes there: the rehearsal a preview makes on a
  // registry, files and an engine whose writes stay in memory.
  void Rehearse(const Answers& answers, bde::StatusReport& report, backup::ItemKeeper& places);

  // The suite's aliases a first run with the answers would write, each with
  // its driver and the values of its write; nothing is written.
  static std::vector<bde::Alias> SuiteAliases(const Answers& answers);
  // The suite's aliases of the last run that saved, as it wrote them.
  const std::vector<bde::Alias>& WrittenAliases() const { return written_; }

 private:
  backup::RunBackup BeginBackup(bool unattended);
  void Write(const Answers& answers, bde::StatusReport& report, backup::ItemKeeper& backup);
  void RollBack(backup::RunBackup& backup, bde::StatusReport& report);

  platform::Registry& registry_;
  bde::AliasEngine& engine_;
  std::string backupRoot_;
  // By server kind: Database1 of the SQL Server aliases, DatabaseOracle of
  // the Oracle ones.
  std::vector<bde::Database> templates_;
  std::vector<bde::Alias> written_;
};

}  // namespace app
