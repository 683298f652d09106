#include "oracle/TnsnamesWriter.h"

#include <algorithm>
#include <map>

#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesReader.h"
#include "platform/Text.h"

namespace oracle {
namespace {

using platform::Blanks;
using platform::Trim;

constexpr ServiceField kValueFields[] = {ServiceField::Protocol, ServiceField::Host, ServiceField::Port,
                                         ServiceField::Service};

size_t FirstNotSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && platform::IsSpaceOrControl(text[i])) ++i;
  return i;
}

std::string_view ServiceKeyword(const ServiceEntry& entry) { return entry.sid ? "SID" : "SERVICE_NAME"; }

// The values as the table holds them: cut to their fields.
ServiceEntry CutToFields(ServiceEntry entry) {
  for (const ServiceFieldDefinition& definition : kServiceFields) {
    std::string& value = FieldOf(entry, definition.field);
    value = CutToCharacters(value, definition.size);
  }
  return entry;
}

// The entry the user saw under the name, as the reader found it.
struct Seen {
  const JoinedLine* joined = nullptr;
  EntryText text;
  ServiceEntry values;  // as the table held them
};

std::optional<Seen> FindSeen(const std::vector<JoinedLine>& joined, const std::string& key) {
  std::optional<Seen> seen;
  ServiceEntry start;
  ApplyNewEntryDefaults(start);
  for (const JoinedLine& line : joined) {
    auto text = ReadEntryText(line.text);
    if (!text || std::find(text->names.begin(), text->names.end(), key) == text->names.end()) continue;
    const auto values = ReadableEntry(*text, start);
    if (values) seen = Seen{&line, std::move(*text), CutToFields(*values)};
  }
  return seen;
}

// True when the entry holds nothing that the layout would lose: its text
// is the layout's, with or without the address list, perhaps lacking the
// port or the connect data, which the layout then adds with the values
// shown for them.
bool LayoutHoldsWhole(const Seen& seen) {
  const std::string& line = seen.joined->text;
  const std::string body = platform::AsciiUpper(std::string_view(line).substr(line.find('=') + 1));
  const ServiceEntry& v = seen.values;
  std::string address = "(ADDRESS=(PROTOCOL=" + v.protocol + ")(HOST=" + v.host + ")";
  if (seen.text.values[2].data()) address += "(PORT=" + v.port + ")";
  address += ")";
  std::string connect;
  if (seen.text.values[3].data()) connect = "(CONNECT_DATA=(" + std::string(ServiceKeyword(v)) + "=" + v.service + "))";
  for (const std::string& addresses : {"(ADDRESS_LIST=" + address + ")", address}) {
    if (body == platform::AsciiUpper("(DESCRIPTION=" + addresses + connect + ")")) return true;
  }
  return false;
}

struct Place {
  size_t line;    // index into the lines
  size_t column;  // byte in that line
};

// Where characters of a joined line stand in the file's lines, for offsets
// in ascending order.
std::vector<Place> PlacesOf(const std::vector<std::string>& lines, const JoinedLine& joined,
                            const std::vector<size_t>& offsets) {
  std::vector<Place> places;
  size_t offset = 0;
  for (size_t index : joined.lines) {
    const std::string_view line = lines[index];
    const size_t first = FirstNotSpace(line);
    const std::string_view trimmed = Trim(line, Blanks::SpaceAndControls);
    for (size_t k = 0; k < trimmed.size() && places.size() < offsets.size(); ++k) {
      if (trimmed[k] == ' ') continue;
      while (places.size() < offsets.size() && offsets[places.size()] == offset) places.push_back({index, first + k});
      ++offset;
    }
  }
  return places;
}

// Replaces, inside the entry's lines, each value the user changed; every
// other character stays. A value the text does not hold, or one broken
// across lines, is left: the check of the rewrite then refuses the file.
void EditValues(std::vector<std::string>& lines, const Seen& seen, const ServiceEntry& entry) {
  struct Change {
    size_t start;
    size_t end;  // last character
    std::string value;
  };
  std::vector<Change> changes;
  for (size_t i = 0; i < std::size(kValueFields); ++i) {
    const std::string& value = FieldOf(entry, kValueFields[i]);
    const std::string_view span = seen.text.values[i];
    if (value == FieldOf(seen.values, kValueFields[i]) || span.empty()) continue;
    const size_t start = static_cast<size_t>(span.data() - seen.joined->text.data());
    changes.push_back({start, start + span.size() - 1, value});
  }
  std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) { return a.start > b.start; });
  for (const Change& change : changes) {
    const std::vector<Place> places = PlacesOf(lines, *seen.joined, {change.start, change.end});
    if (places.size() != 2 || places[0].line != places[1].line) continue;
    lines[places[0].line].replace(places[0].column, places[1].column - places[0].column + 1, change.value);
  }
}

// Takes the name (upper-cased) out of a name line that gives several; the
// line keeps its indent, the other names and everything from "=" on.
void RemoveName(std::string& line, const std::string& key) {
  const size_t equals = line.find('=');
  std::vector<std::string> names;
  size_t from = 0;
  while (true) {
    const size_t comma = line.find(',', from);
    const size_t end = (comma == std::string::npos || comma > equals) ? equals : comma;
    names.push_back(line.substr(from, end - from));
    if (end == equals) break;
    from = comma + 1;
  }
  const auto gone = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
    return platform::AsciiUpper(Trim(name, Blanks::SpaceAndControls)) == key;
  });
  if (gone == names.end()) return;
  const std::string indent = names.front().substr(0, FirstNotSpace(names.front()));
  const std::string trailing =
      names.back().substr(Trim(names.back(), Blanks::SpaceAndControls).size() + FirstNotSpace(names.back()));
  names.erase(gone);
  std::string result;
  for (const std::string& name : names) {
    if (!result.empty()) result += ", ";
    result += Trim(name, Blanks::SpaceAndControls);
  }
  line = indent + result + trailing + line.substr(equals);
}

// The texts of the entries by name, and under the empty name the fragments
// that belong to no entry: continuation lines before any entry or after an
// ended one, which the client would stumble over.
std::map<std::string, std::vector<std::string>> BodiesByName(const std::vector<std::string>& lines) {
  std::map<std::string, std::vector<std::string>> bodies;
  for (const JoinedLine& line : JoinTnsnamesLinesWithOrigin(lines)) {
    if (const auto text = ReadEntryText(line.text)) {
      for (const std::string& name : text->names) bodies[name].push_back(line.text.substr(line.text.find('=')));
      continue;
    }
    const size_t comment =
        line.text.starts_with('#') ? Trim(lines[line.lines.front()], Blanks::SpaceAndControls).size() : 0;
    if (comment < line.text.size()) bodies[""].push_back(line.text.substr(comment));
  }
  return bodies;
}

}  // namespace

std::vector<std::string> EntryLayout(std::string_view name, const ServiceEntry& entry) {
  return {std::string(name) + " =",
          "  (DESCRIPTION =",
          "    (ADDRESS_LIST =",
          "      (ADDRESS = (PROTOCOL = " + entry.protocol + ")(HOST = " + entry.host + ")(PORT = " + entry.port + "))",
          "    )",
          "    (CONNECT_DATA =",
          "      (" + std::string(ServiceKeyword(entry)) + " = " + entry.service + ")",
          "    )",
          "  )"};
}

void ReplaceTnsnamesEntry(std::vector<std::string>& lines, std::string_view serviceName, const ServiceEntry& entry) {
  const std::string key = platform::AsciiUpper(serviceName);
  const std::vector<JoinedLine> joined = JoinTnsnamesLinesWithOrigin(lines);
  const std::optional<Seen> seen = FindSeen(joined, key);
  const std::vector<std::string> layout = EntryLayout(serviceName, entry);
  if (!seen) {
    lines.insert(lines.end(), layout.begin(), layout.end());
    return;
  }
  const std::vector<size_t>& own = seen->joined->lines;
  const bool whole = LayoutHoldsWhole(*seen);
  if (seen->text.names.size() == 1) {
    if (!whole) {
      EditValues(lines, *seen, entry);
      return;
    }
    for (auto at = own.rbegin(); at != own.rend(); ++at) lines.erase(lines.begin() + static_cast<long>(*at));
    lines.insert(lines.end(), layout.begin(), layout.end());
    return;
  }
  // One of several names: the others keep the old entry. A name line whose
  // "=" stands on a later line cannot be parted; the entry is then only
  // appended, and the check of the rewrite decides.
  if (lines[own.front()].find('=') == std::string::npos) {
    lines.insert(lines.end(), layout.begin(), layout.end());
    return;
  }
  std::vector<std::string> copy;
  if (!whole) {
    std::vector<std::string> edited = lines;
    EditValues(edited, *seen, entry);
    for (size_t index : own) copy.push_back(edited[index]);
    std::string& nameLine = copy.front();
    nameLine = nameLine.substr(0, FirstNotSpace(nameLine)) + std::string(serviceName) + " " +
               nameLine.substr(nameLine.find('='));
  }
  RemoveName(lines[own.front()], key);
  if (whole) {
    lines.insert(lines.end(), layout.begin(), layout.end());
  } else {
    lines.insert(lines.begin() + static_cast<long>(own.back()) + 1, copy.begin(), copy.end());
  }
}

std::optional<RewriteFault> FindRewriteFault(const std::vector<std::string>& before,
                                             const std::vector<std::string>& after, std::string_view serviceName,
                                             const ServiceEntry& entry) {
  const std::string key = platform::AsciiUpper(serviceName);
  auto old = BodiesByName(before);
  auto now = BodiesByName(after);
  old.erase(key);
  now.erase(key);
  for (auto o = old.begin(), n = now.begin(); o != old.end() || n != now.end();) {
    std::string name;
    const bool added = o == old.end() || (n != now.end() && n->first < o->first);
    if (added) {
      name = n->first;
    } else if (n == now.end() || o->first < n->first || o->second != n->second) {
      name = o->first;
    } else {
      ++o, ++n;
      continue;
    }
    // A fragment left over belongs to the edited entry's old text.
    if (name.empty()) return RewriteFault{std::string(serviceName), true};
    return RewriteFault{name, false, added};
  }
  ServiceEntryTable table;
  ParseServiceEntries(JoinTnsnamesLines(after), table);
  ServiceEntry expected = CutToFields(entry);
  expected.name = CutToCharacters(key, kServiceFields[0].size);
  const ServiceEntry* back = table.Find(expected.name);
  if (!back || *back != expected) return RewriteFault{std::string(serviceName), true};
  return std::nullopt;
}

TnsnamesRewrite RewriteTnsnamesEntry(const std::vector<std::string>& lines, std::string_view serviceName,
                                     const ServiceEntry& entry) {
  TnsnamesRewrite rewrite{lines, std::nullopt};
  ReplaceTnsnamesEntry(rewrite.lines, serviceName, entry);
  rewrite.fault = FindRewriteFault(lines, rewrite.lines, serviceName, entry);
  return rewrite;
}

}  // namespace oracle
