#pragma once

#include "app/servers/ServerKind.h"

namespace app {

// The section of the answers file the kind reads.
inline constexpr std::string_view kMssqlSection = "MSSQL";

namespace servers {

// Microsoft SQL Server: the ODBC data source and the aliases of the
// "SQL Native Client" driver, asked for on pages 1, 3 and 5.
class Mssql final : public Kind {
 public:
  std::span<const PageId> Pages() const override;
  std::string_view Section() const override { return kMssqlSection; }
  std::span<const AnswerKey> Keys() const override;
  void Resolve(const AnswersFile& file, const Sources& sources, Answers& answers) const override;
  std::vector<std::pair<std::string_view, std::string>> ProposedValues(const Sources& sources) const override;
  void Collect(const PageFields& fields, Answers& answers) const override;
  void CheckClient(platform::Registry&, const Answers&) const override {}
  void WriteClient(platform::Registry& registry, const Answers& answers, bde::StatusReport& report,
                   backup::ItemKeeper& backup) const override;
  bde::Database AliasTemplate() const override;
  void SetRunValues(const Answers& answers, bde::ParameterList& params) const override;
  void SetAliasValues(SuiteAlias alias, const Answers& answers, bde::ParameterList& params) const override;
  std::vector<bde::Check> MakeChecks(const CheckSources& sources, const Answers& answers) const override;

  // Page 1, first showing: the data source and the databases that the
  // aliases of an earlier run name, where they name one.
  static void ProposeFromAliases(const Sources& sources, PageFields& fields);
  // Page 3, first showing: the server and the login that the data source
  // named on page 1 holds.
  static void ProposeFromDataSource(platform::Registry& registry, PageFields& fields);
};

}  // namespace servers
}  // namespace app
