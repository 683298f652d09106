#pragma once

#include <optional>
#include <string>

#include "oracle/ServiceEntry.h"

namespace app {

enum class ServerKind { MicrosoftSqlServer, Oracle };

// The suite versions, in the order the first page offers them.
enum class SuiteVersion { V9, V10, V11 };

// The first page's radio items: any server item but the first is Oracle,
// and a version item other than the first and the last decides like 10.
ServerKind ServerKindOfItem(int itemIndex);
SuiteVersion SuiteVersionOfItem(int itemIndex);
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
// defaults are the window's values at start.
struct Answers {
  ServerKind server = ServerKind::MicrosoftSqlServer;
  SuiteVersion version = SuiteVersion::V11;
  bool testCopy = false;

  // Microsoft SQL Server.
  std::string dataSourceName = "MSSQL Novera LM";
  std::string sqlServer;
  bool windowsLogin = true;
  std::string database;
  std::string archiveDatabase;  // version 11 only
  std::string metersDatabase;

  // Oracle.
  std::string oracleHomeFolder;  // ORACLE_HOME of the chosen home
  std::string oracleHomeKey;     // its subkey of \SOFTWARE\ORACLE, which may set TNS_ADMIN
  std::string oracleService = "xe.serwer";
  ServiceEntryValues serviceEntry;
  std::string userOchrona = "NOVERA_OCHRONA";
  std::string userLM = "NOVERA_LM";
  std::string userLiczniki;
};

}  // namespace app
