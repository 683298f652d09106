#include "app/ConnectionChecks.h"

#include <exception>
#include <utility>

#include "bde/AliasCheck.h"
#include "mssql/OdbcApi.h"

namespace app {
namespace {

bde::CheckResult FailedWith(const std::exception& error) { return {bde::CheckStatus::Failed, error.what()}; }

}  // namespace

servers::CheckSources SystemCheckSources(platform::Registry& registry,
                                         std::shared_ptr<platform::NetworkProbe> network) {
  return {registry, std::move(network), mssql::odbc::kDriverManagerLibrary, mssql::odbc::kDriverManagerReadsRegistry};
}

// A file that cannot be read, say, leaves one failed check in place of the
// kind's.
std::vector<bde::Check> MakeConnectionChecks(const servers::CheckSources& sources, const Answers& answers) {
  try {
    return servers::KindOf(answers.server).MakeChecks(sources, answers);
  } catch (const std::exception& error) {
    return {bde::Check::Known(FailedWith(error))};
  }
}

std::vector<bde::CheckResult> RunConnectionChecks(const std::vector<bde::Check>& checks) {
  try {
    return bde::RunChecks(checks, bde::CheckTimeouts{}.budget);
  } catch (const std::exception& error) {
    return {FailedWith(error)};
  }
}

std::vector<bde::CheckResult> FinishConnectionChecks(std::vector<bde::CheckResult> results, bde::AliasEngine& engine,
                                                     const std::vector<bde::Alias>& written,
                                                     bde::StatusReport& report) {
  try {
    for (bde::CheckResult& result : bde::CheckAliases(engine, written)) results.push_back(std::move(result));
  } catch (const std::exception& error) {
    results.push_back(FailedWith(error));
  }
  bde::ReportChecks(results, report);
  return results;
}

std::vector<bde::CheckResult> CheckConnections(const servers::CheckSources& sources, const Answers& answers,
                                               bde::AliasEngine& engine, const std::vector<bde::Alias>& written,
                                               bde::StatusReport& report) {
  return FinishConnectionChecks(RunConnectionChecks(MakeConnectionChecks(sources, answers)), engine, written, report);
}

}  // namespace app
