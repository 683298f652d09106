#pragma once

#include <optional>
#include <string>

#include "app/ControlTable.h"
#include "app/servers/Kinds.h"
#include "oracle/ServiceEntry.h"

namespace app {

// The suite versions, in the order the first page offers them.
enum class SuiteVersion { V9, V10, V11 };

// The version of a first-page item: an item other than the first and the
// last decides like 10.
constexpr SuiteVersion SuiteVersionOfItem(int itemIndex) {
  if (itemIndex == 0) return SuiteVersion::V9;
  return itemIndex == 2 ? SuiteVersion::V11 : SuiteVersion::V10;
}
int ItemOf(SuiteVersion version);

// Values of the service entry to be written to tnsnames.ora; a value not
// given is kept from the entry the file holds, or takes the new-entry
// default. With none given the file is left alone.
struct ServiceEntryValues {
  std::optional<std::string> protocol;
  std::optional<std::string> host;
  std::optional<std::string> port;
  std::optional<std::string> service;

  bool Any() const { return protocol || host || port || service; }

  // The entry with the given values put over its own.
  oracle::ServiceEntry Over(oracle::ServiceEntry entry) const;
};

// Everything one configuration run needs, as a plain value. Texts are used
// exactly as given: nothing is trimmed, and an empty text stays empty. The
// defaults are the window's values at start, as the control table gives
// them; each server kind reads and fills its own part.
struct Answers {
  ServerKind server = ServerKindOfItem(InitialChoice(ControlId::RadioGroupSerwer));
  SuiteVersion version = SuiteVersionOfItem(InitialChoice(ControlId::RadioGroupWersja));
  bool testCopy = InitiallyChecked(ControlId::CheckBoxKopia);

  // Microsoft SQL Server.
  std::string dataSourceName{InitialText(ControlId::ComboBoxNazwaZrodla)};
  std::string sqlServer{InitialText(ControlId::ComboBoxServer)};
  bool windowsLogin = InitiallyChecked(ControlId::CheckBoxWindows);
  std::string database{InitialText(ControlId::ComboBoxBaza)};
  std::string archiveDatabase{InitialText(ControlId::ComboBoxBazaArchiwum)};  // version 11 only
  std::string metersDatabase{InitialText(ControlId::ComboBoxBazaLiczniki)};

  // Oracle.
  std::string oracleHomeFolder{InitialText(ControlId::EditFolderHome)};  // ORACLE_HOME of the chosen home
  std::string oracleHomeKey;  // its subkey of \SOFTWARE\ORACLE, which may set TNS_ADMIN
  std::string oracleService{InitialText(ControlId::ComboBoxOracleServer)};
  ServiceEntryValues serviceEntry;
  std::string userOchrona{InitialText(ControlId::ComboBoxUserOchrona)};
  std::string userLM{InitialText(ControlId::ComboBoxUserLM)};
  std::string userLiczniki{InitialText(ControlId::ComboBoxUserLiczniki)};
};

}  // namespace app
