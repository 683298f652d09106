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

namespace app {

// The whole configuration in one run: the ODBC data source or the Oracle
// client files, one alias per suite module, and one save of the engine's
// configuration. The first error ends the run where it happened: what was
// written stays, nothing is saved, and the error passes to the caller.
//
// The step owns the parameter template of each server kind's aliases; what
// one run sets on them stays there for the next run of the same step.
class ApplyConfiguration {
 public:
  // Puts the engine into persistent mode, so that the run's save writes.
  ApplyConfiguration(platform::Registry& registry, bde::AliasEngine& engine);
  ApplyConfiguration(const ApplyConfiguration&) = delete;
  ApplyConfiguration& operator=(const ApplyConfiguration&) = delete;

  // The report is cleared first and holds, at the end or at the error,
  // what the run did so far.
  void Run(const Answers& answers, bde::StatusReport& report);

  // The suite's aliases a first run with the answers would write, each with
  // its driver and the values of its write; nothing is written.
  static std::vector<bde::Alias> SuiteAliases(const Answers& answers);
  // The suite's aliases of the last run that saved, as it wrote them.
  const std::vector<bde::Alias>& WrittenAliases() const { return written_; }

 private:

  platform::Registry& registry_;
  bde::AliasEngine& engine_;
  // By server kind: Database1 of the SQL Server aliases, DatabaseOracle of
  // the Oracle ones.
  std::vector<bde::Database> templates_;
  std::vector<bde::Alias> written_;
};

}  // namespace app
