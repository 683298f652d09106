#pragma once

#include <string_view>

#include "bde/ParameterList.h"

// The wizard's three parameter templates, as they stand at start. The
// window builds its connections from them once and only ever sets
// parameters afterwards, so values set by one use survive to the next.
namespace bde {

inline constexpr std::string_view kTmpDatabaseName = "_TmpDatabase";
inline constexpr std::string_view kOracleDatabaseName = "_Oracle";

// Every SQL Server alias.
ParameterList Database1Parameters();
// The connection to a server's "master" database for the database list.
ParameterList Database2Parameters();
// Every Oracle alias, and the connection of the schema user list.
ParameterList DatabaseOracleParameters();

}  // namespace bde
