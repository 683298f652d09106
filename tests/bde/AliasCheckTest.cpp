#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "bde/AliasCheck.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/Templates.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace bde {
namespace {

class AliasCheckTest : public ::testing::Test {
 protected:
  AliasCheckTest() {
    engine_.SetConfigurationMode(ConfigurationMode::Persistent);
    ParameterList mssql = Database1Parameters();
    mssql.Set("ODBC DSN", "Kadry");
    mssql.Set("DATABASE NAME", "Księgowość");
    // The template of a login carries a password, which no alias stores.
    mssql.Set("PASSWORD", "tajne");
    written_ = {{"Novera- FK", std::string(kSqlNativeClientDriver), mssql},
                {"Novera- Net", std::string(kStandardDriver), ParameterList({"PATH=C:\\Novera", "ENABLE BCD=FALSE"})}};
    for (const Alias& alias : written_) engine_.CreateAlias(alias.name, alias.driver, alias.params);
    engine_.SaveConfiguration();
  }

  testing_support::TempFolder temp_;
  std::string path_ = (temp_.Path() / "bde.cfg").string();
  platform::MemoryRegistry registry_;
  Engine engine_{registry_, path_};
  std::vector<Alias> written_;
};

TEST_F(AliasCheckTest, AliasesThatReadBackAsWrittenAreOk) {
  const std::vector<CheckResult> expected = {
      {CheckStatus::Ok,
       "Alias BDE \"Novera- FK\": odczytany z konfiguracji BDE, sterownik \"SQL Native Client\", wartości zgodne z "
       "zapisanymi"},
      {CheckStatus::Ok,
       "Alias BDE \"Novera- Net\": odczytany z konfiguracji BDE, sterownik \"STANDARD\", wartości zgodne z "
       "zapisanymi"},
  };
  Engine reader(registry_, path_);
  EXPECT_EQ(CheckAliases(reader, written_), expected);
}

TEST_F(AliasCheckTest, AMissingAliasADriverOrAValueThatDiffersFails) {
  std::vector<Alias> expected = written_;
  expected[0].params.Set("DATABASE NAME", "Kadry");
  expected[0].params.Set("BATCH COUNT", "100");
  expected[1].driver = "PARADOX";
  expected.push_back({"Novera- KP", std::string(kOracleDriver), {}});
  const std::vector<CheckResult> results = CheckAliases(engine_, expected);
  const std::vector<CheckResult> wanted = {
      {CheckStatus::Failed,
       "Alias BDE \"Novera- FK\": wartości inne niż zapisane: DATABASE NAME \"Księgowość\" zamiast \"Kadry\", "
       "BATCH COUNT \"200\" zamiast \"100\""},
      {CheckStatus::Failed, "Alias BDE \"Novera- Net\": sterownik \"STANDARD\" zamiast \"PARADOX\""},
      {CheckStatus::Failed, "Alias BDE \"Novera- KP\": brak w konfiguracji BDE"},
  };
  EXPECT_EQ(results, wanted);
}

// An engine that cannot read its configuration fails every alias with its
// own message.
TEST_F(AliasCheckTest, AnEngineThatCannotReadFailsEveryAliasWithItsMessage) {
  std::ofstream(path_, std::ios::trunc) << "not a configuration of ours\r\n";
  Engine reader(registry_, path_);
  const std::vector<CheckResult> results = CheckAliases(reader, written_);
  ASSERT_EQ(results.size(), 2u);
  for (size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i].status, CheckStatus::Failed);
    EXPECT_EQ(results[i].detail, "Alias BDE \"" + written_[i].name + "\": Plik \"" + path_ +
                                     "\" nie jest plikiem konfiguracji BDE programu KonfigNovera");
  }
}

}  // namespace
}  // namespace bde
