#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/ServiceEntry.h"

namespace oracle {

class ServiceEntryTable;

// The lines of tnsnames.ora in the folder (which ends with a separator);
// none when the file does not exist. A file that cannot be read raises the
// platform's file error.
std::vector<std::string> ReadTnsnamesLines(const std::string& networkFolder);

// One joined line and the file lines whose text went into it, in order.
// Comment and empty lines passed over inside an entry are not among them.
struct JoinedLine {
  std::string text;
  std::vector<size_t> lines;
};

// One line per entry, without blanks: each line is trimmed of characters
// of code 32 or less and loses its blanks. A line starting with "(" or ")"
// continues the line before; any other line starts a new one. While an
// entry is open (from its name line until its parentheses balance), empty
// and comment lines are passed over, so a comment inside an entry never
// cuts it. After it has closed, an empty line ends it, and a comment ("#")
// is a joined line of its own, kept as it is.
std::vector<JoinedLine> JoinTnsnamesLinesWithOrigin(const std::vector<std::string>& lines);
// The same, the texts only.
std::vector<std::string> JoinTnsnamesLines(const std::vector<std::string>& lines);

// The text strictly inside the parenthesis group that opens at the 1-based
// position, nested groups included; empty when no "(" stands there, and
// running to the end when the group is not closed.
std::string ParenGroup(std::string_view text, size_t position);

// What one joined line of the form NAMES=(DESCRIPTION=...) says. Keywords
// are compared without regard to ASCII case; values keep their case.
struct EntryText {
  // Each name of the line ("N2, N2.WORLD =" gives two), trimmed of
  // characters of code 32 or less and upper-cased; empty ones are left out.
  std::vector<std::string> names;
  // Where protocol, host and port of the first address (the first one in
  // the first address list, or one standing directly in the description,
  // whichever comes first) and the service
  // name stand in the line, in ServiceField order from Protocol; views
  // without data for values not found (a value found may be empty).
  std::string_view values[4];
  // The database is named by SID: the connect data has no SERVICE_NAME.
  bool sid = false;
};

// Nothing for a line that is no entry: empty, a comment, a continuation
// without a name line, no "=" or "=" first.
std::optional<EntryText> ReadEntryText(std::string_view joinedLine);

// The entry as the table takes it: start (a new record, with its defaults)
// with the values found; the name stays as it was. Nothing when the entry
// cannot be read: without a host, or with a value holding a parenthesis,
// which only a group left open gives.
std::optional<ServiceEntry> ReadableEntry(const EntryText& text, ServiceEntry start);

// Stores each name of the joined line's entry, when it is a readable one,
// with the entry's values (a name stored before gives way); the names as
// the table now holds them.
std::vector<std::string> LoadServiceEntry(std::string_view joinedLine, ServiceEntryTable& table);

// Empties the table and fills it from joined lines: each name of a
// readable entry is stored with the entry's values. An entry that cannot
// be read is passed over (it stays in the file untouched); a name that
// repeats replaces the entry read before under it, as the later entry is
// the one in force.
void ParseServiceEntries(const std::vector<std::string>& joinedLines, ServiceEntryTable& table);

}  // namespace oracle
