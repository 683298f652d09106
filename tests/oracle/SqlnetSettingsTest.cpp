#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "oracle/SqlnetSettings.h"

namespace oracle {
namespace {

using Lines = std::vector<std::string>;

TEST(SqlnetSettingsTest, AValueIsReadFromItsFirstLineWithTheLinesThatContinueIt) {
  struct Case {
    Lines lines;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {{"NAMES.DIRECTORY_PATH=(TNSNAMES)"}, "(TNSNAMES)"},
      {{"names.directory_path = ( TNSNAMES , EZCONNECT ) "}, "( TNSNAMES , EZCONNECT )"},
      {{"NAMES.DIRECTORY_PATH = (EZCONNECT,", "  TNSNAMES)", "SQLNET.EXPIRE_TIME=10"}, "(EZCONNECT,   TNSNAMES)"},
      {{"NAMES.DIRECTORY_PATH = (EZCONNECT,", "  # a remark", "\tTNSNAMES)"}, "(EZCONNECT, \tTNSNAMES)"},
      // Indented after a value that is complete, a line starts a parameter.
      {{"SQLNET.EXPIRE_TIME=10", " NAMES.DIRECTORY_PATH=(TNSNAMES)"}, "(TNSNAMES)"},
      // Not indented, a line of a value that is still open starts another.
      {{"NAMES.DIRECTORY_PATH=(EZCONNECT,", "TNSNAMES)"}, "(EZCONNECT,"},
      {{"#NAMES.DIRECTORY_PATH=(TNSNAMES)"}, std::nullopt},
      {{"NAMES.DIRECTORY_PATH=(LDAP)", "NAMES.DIRECTORY_PATH=(TNSNAMES)"}, "(LDAP)"},
      {{"NAMES.DIRECTORY_PATHS=(TNSNAMES)", "NAMES.DIRECTORY_PATH"}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SqlnetValue(c.lines, "NAMES.DIRECTORY_PATH"), c.value) << testing::PrintToString(c.lines);
  }
}

TEST(SqlnetSettingsTest, TheDefaultDomainIsAppendedToANameWithoutADot) {
  const Lines domain = {"NAMES.DEFAULT_DOMAIN = world"};
  EXPECT_EQ(QualifiedServiceName("NOVERA", domain), "NOVERA.world");
  EXPECT_EQ(QualifiedServiceName("NOVERA.firma.pl", domain), "NOVERA.firma.pl");
  EXPECT_EQ(QualifiedServiceName("NOVERA", {}), "NOVERA");
  EXPECT_EQ(QualifiedServiceName("NOVERA", {"NAMES.DEFAULT_DOMAIN="}), "NOVERA");
}

TEST(SqlnetSettingsTest, TnsnamesIsAllowedWhenListedOrWhenThePathIsNotSet) {
  const std::pair<Lines, bool> cases[] = {
      {{}, true},
      {{"SQLNET.AUTHENTICATION_SERVICES=(NTS)"}, true},
      {{"NAMES.DIRECTORY_PATH=(TNSNAMES, EZCONNECT)"}, true},
      {{"NAMES.DIRECTORY_PATH=tnsnames"}, true},
      {{"NAMES.DIRECTORY_PATH=(EZCONNECT,", "   TNSNAMES)"}, true},
      {{"NAMES.DIRECTORY_PATH=(EZCONNECT, LDAP)"}, false},
      {{"NAMES.DIRECTORY_PATH=(TNSNAMESX)"}, false},
      {{"NAMES.DIRECTORY_PATH=()"}, false},
  };
  for (const auto& [lines, allowed] : cases)
    EXPECT_EQ(TnsnamesAllowed(lines), allowed) << testing::PrintToString(lines);
}

}  // namespace
}  // namespace oracle
