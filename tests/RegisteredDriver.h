#pragma once

namespace testing_support {

// The SQL Server ODBC driver as its installer registers it, in .reg syntax
// for MemoryRegistry::LoadRegText.
inline constexpr char kRegisteredDriver[] = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBCINST.INI\ODBC Drivers]
"SQL Native Client"="Installed"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBCINST.INI\SQL Native Client]
"Driver"="C:\\Windows\\system32\\sqlncli.dll"
)";

}  // namespace testing_support
