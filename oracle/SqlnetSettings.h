#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/IncludedFiles.h"

// sqlnet.ora as the Oracle client reads it, for the writer of the file and
// for the checks of what the client will do with it.
namespace oracle {

// One parameter of sqlnet.ora as the client reads it: a line that does not
// continue another one starts it, and while its value is still to come or
// its parentheses stay open the indented lines after it continue the value
// (the client takes a wrapped line that is not indented for a new
// parameter). Comment and empty lines between them belong to no parameter.
struct SqlnetParameter {
  // The text before the first "=" with the blanks around it trimmed, or
  // the whole trimmed line when it has no "=".
  std::string key;
  bool hasEquals = false;
  // After that "=", each continuation line joined with one blank.
  std::string value;
  std::vector<size_t> lines;
};

std::vector<SqlnetParameter> ReadSqlnetParameters(const std::vector<std::string>& lines);

// The first parameter that sets the key, without regard to letter case.
// Administrators often write "KEY = (...)"; a second parameter for the same
// key would leave the client reading only one of them.
const SqlnetParameter* FindSqlnetKey(const std::vector<SqlnetParameter>& parameters, std::string_view key);

// The items of the parameter's list value, "(A, B)" or "A"; none for a
// missing parameter.
std::vector<std::string> SqlnetItems(const SqlnetParameter* parameter);
bool HoldsSqlnetItem(const std::vector<std::string>& items, std::string_view item);

// Calls visit(file, parameter) for every parameter of sqlnet.ora and the
// files it includes, in the order the client reads them: the parameters of
// an included file in place of its IFILE line; a file that was not read
// has none. file is the index in the set.
void VisitSqlnetParameters(const IncludedFiles& files,
                           const std::function<void(size_t file, const SqlnetParameter&)>& visit);

struct SqlnetSetting {
  std::string value;  // trimmed, continuation lines joined
  std::string path;   // the file that sets it
};

// The first parameter that sets the key, in that order; nothing when none
// does. The first is the one the writer edits, so reading and writing agree
// on the line in force.
std::optional<SqlnetSetting> FindSqlnetSetting(const IncludedFiles& files, std::string_view key);

// The value of the parameter that sets the key, trimmed; nothing when no
// parameter sets it.
std::optional<std::string> SqlnetValue(const std::vector<std::string>& lines, std::string_view key);

// The name the client looks for in tnsnames.ora: a name without a dot gets
// NAMES.DEFAULT_DOMAIN appended after one, when that is set.
std::string QualifiedServiceName(const std::string& name, const std::vector<std::string>& sqlnetLines);

// Whether the client may resolve names through tnsnames.ora: the list of
// NAMES.DIRECTORY_PATH names TNSNAMES, or the parameter is not set, which
// leaves the client's default that does.
bool TnsnamesAllowed(const std::vector<std::string>& sqlnetLines);

}  // namespace oracle
