#pragma once

#include <memory>
#include <vector>

#include "app/Answers.h"
#include "app/servers/ServerKind.h"
#include "bde/Alias.h"
#include "bde/ConnectionCheck.h"

namespace platform {
class Registry;
}

namespace bde {
class AliasEngine;
class StatusReport;
}  // namespace bde

namespace app {

// The system's ODBC driver manager, as the suite's programs use it, and the
// network given.
servers::CheckSources SystemCheckSources(platform::Registry& registry, std::shared_ptr<platform::NetworkProbe> network);

// The checks of a configuration come in three steps, each on the thread it
// needs: the server kind's checks are made on the caller's thread, run on
// any thread, and the aliases are read back on the engine's thread, which
// also adds the section of the report. A step's error becomes a failed
// result, so the steps never throw.
std::vector<bde::Check> MakeConnectionChecks(const servers::CheckSources& sources, const Answers& answers);
std::vector<bde::CheckResult> RunConnectionChecks(const std::vector<bde::Check>& checks);
// The results with the aliases' after them, reported, and handed back so
// that the caller can tell whether any failed and keep them.
std::vector<bde::CheckResult> FinishConnectionChecks(std::vector<bde::CheckResult> results, bde::AliasEngine& engine,
                                                     const std::vector<bde::Alias>& written, bde::StatusReport& report);

// The three steps at once, on the caller's thread, for a run without a
// window.
std::vector<bde::CheckResult> CheckConnections(const servers::CheckSources& sources, const Answers& answers,
                                               bde::AliasEngine& engine, const std::vector<bde::Alias>& written,
                                               bde::StatusReport& report);

}  // namespace app
