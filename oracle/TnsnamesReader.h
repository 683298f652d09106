#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace oracle {

class ServiceEntryTable;

// The lines of tnsnames.ora in the folder (which ends with a separator);
// none when the file does not exist. A file that cannot be read raises the
// platform's file error.
std::vector<std::string> ReadTnsnamesLines(const std::string& networkFolder);

// One line per entry, without blanks: each line is trimmed of characters
// of code 32 or less, empty ones are dropped, comments ("#") are kept as
// they are, and a line starting with "(" or ")" continues the line before.
std::vector<std::string> JoinTnsnamesLines(const std::vector<std::string>& lines);

// The text strictly inside the parenthesis group that opens at the 1-based
// position, nested groups included; empty when no "(" stands there, and
// running to the end when the group is not closed.
std::string ParenGroup(std::string_view text, size_t position);

// Empties the table and fills it from joined lines of the form
// NAME=(DESCRIPTION=...). Names are upper-cased; protocol, host and port
// come from the first address (of the first address list, or standing
// directly in the description), the service from SERVICE_NAME anywhere in
// the connect data; values not found keep the new-entry defaults. An entry
// without a host is passed over (it stays in the file untouched); a name
// that repeats replaces the entry read before under it.
void ParseServiceEntries(const std::vector<std::string>& joinedLines, ServiceEntryTable& table);

}  // namespace oracle
