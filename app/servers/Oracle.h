#pragma once

#include <string>

#include "app/servers/ServerKind.h"

namespace oracle {
class ServiceFile;
}

namespace app {

// The section of the answers file the kind reads.
inline constexpr std::string_view kOracleSection = "Oracle";

namespace servers {

// Oracle: the client files of the chosen Oracle home and the aliases of the
// "ORACLE" driver, asked for on pages 2, 4 and 6.
class Oracle final : public Kind {
 public:
  std::span<const PageId> Pages() const override;
  std::string_view Section() const override { return kOracleSection; }
  std::span<const AnswerKey> Keys() const override;
  void Resolve(const AnswersFile& file, const Sources& sources, Answers& answers) const override;
  std::vector<std::pair<std::string_view, std::string>> ProposedValues(const Sources& sources) const override;
  void Collect(const PageFields& fields, Answers& answers) const override;
  void CheckClient(platform::Registry& registry, const Answers& answers) const override;
  void WriteClient(platform::Registry& registry, const Answers& answers, bde::StatusReport& report,
                   backup::ItemKeeper& backup) const override;
  bde::Database AliasTemplate() const override;
  void SetRunValues(const Answers& answers, bde::ParameterList& params) const override;
  void SetAliasValues(SuiteAlias alias, const Answers& answers, bde::ParameterList& params) const override;
  std::vector<bde::Check> MakeChecks(const CheckSources& sources, const Answers& answers) const override;

  // Page 2, every showing: the homes the registry lists, the first one
  // chosen with what its key holds. Whether a home was chosen.
  static bool ProposeHome(platform::Registry& registry, PageFields& fields);
  // What the key of the home chosen holds, in place of the texts shown;
  // a value the key lacks leaves its text.
  static void ProposeHomeDetails(platform::Registry& registry, const std::string& subkey, PageFields& fields);
  // Page 2, first showing: the schema users the aliases of an earlier run
  // name, where they name one.
  static void ProposeUsers(const Sources& sources, PageFields& fields);
  // Page 4, every showing: the files that the client of the home chosen
  // reads, read afresh.
  static void ReadServiceFile(platform::Registry& registry, const PageFields& fields, oracle::ServiceFile& file);
  // Page 4, every showing: the service names the client finds, the first
  // proposed.
  static void ProposeService(const oracle::ServiceFile& file, PageFields& fields);
  // Page 4, first showing: the service the main alias of an earlier run
  // names, where it names one.
  static void ProposeAliasService(const Sources& sources, PageFields& fields);
};

}  // namespace servers
}  // namespace app
