#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the Oracle client takes from sqlnet.ora when it looks a net service
// name up. The file's rules: a parameter starts in the first column of its
// line, a line that starts with a blank continues the one before, "#"
// starts a comment line, and keywords ignore letter case.
namespace oracle {

// The value of the first line that sets the parameter, with its
// continuation lines, trimmed; nothing when no line sets it.
std::optional<std::string> SqlnetValue(const std::vector<std::string>& lines, std::string_view key);

// The name the client looks for in tnsnames.ora: a name without a dot gets
// NAMES.DEFAULT_DOMAIN appended after one, when that is set.
std::string QualifiedServiceName(const std::string& name, const std::vector<std::string>& sqlnetLines);

// Whether the client may resolve names through tnsnames.ora: the list of
// NAMES.DIRECTORY_PATH names TNSNAMES, or the parameter is not set, which
// leaves the client's default that does.
bool TnsnamesAllowed(const std::vector<std::string>& sqlnetLines);

}  // namespace oracle
