#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/IncludedFiles.h"
#include "oracle/ServiceEntry.h"
#include "oracle/TnsnamesWriter.h"

namespace bde {
class StatusReport;
}

// The Oracle client's files in the network folder of the chosen home. The
// folder text ends with its separator; the file names follow it directly.
// A file that cannot be read or written raises the platform's file error.
namespace oracle {

// %s: the file's path, then the key (and for the first message the item
// the key must hold).
inline constexpr std::string_view kSqlnetEnsuredKeyFaultMessage =
    "Nie zapisano pliku \"%s\": po zapisie ustawienie \"%s\" nie zawierałoby pozycji \"%s\" lub swoich "
    "dotychczasowych";
inline constexpr std::string_view kSqlnetOtherKeyFaultMessage =
    "Nie zapisano pliku \"%s\": zapis naruszyłby ustawienie \"%s\"";

// Makes sqlnet.ora allow Windows authentication and name resolution through
// tnsnames.ora (EnsureSqlnetItems). Writes and reports the file only when it
// had to change. When the edited file would not read back as it should
// (FindSqlnetRewriteFault), it raises one of the two messages above and the
// file stays as it was.
void UpdateSqlnetOra(const std::string& networkFolder, bde::StatusReport& report);
// The same over sqlnet.ora and the files it includes: a setting that a
// file included sets first is made in that file, one that no file sets in
// sqlnet.ora itself. No file is written before every one is checked; a
// file that could not be read is never written.
void UpdateSqlnetOra(const IncludedFiles& files, bde::StatusReport& report);

// The status lines of a file written: "Zmodyfikowano plik" when it existed,
// else "Utworzono plik", then its quoted path and an empty line.
void ReportFile(bde::StatusReport& report, bool existed, const std::string& path);


// %s: the file's path, then the entry's name.
inline constexpr std::string_view kOtherEntryFaultMessage =
    "Nie zapisano pliku \"%s\": zapis zmieniłby wpis \"%s\", którego nie edytowano";
inline constexpr std::string_view kEditedEntryFaultMessage =
    "Nie zapisano pliku \"%s\": wpisu \"%s\" nie można w nim zapisać z podanymi wartościami";
// The name as the file would read it, as when "XE SERWER" reads as XESERWER.
inline constexpr std::string_view kNewEntryFaultMessage =
    "Nie zapisano pliku \"%s\": zapis dodałby do niego wpis \"%s\" o nazwie innej niż podana";

// Raises the message of the fault for the file at path.
[[noreturn]] void RaiseRewriteFault(const std::string& path, const RewriteFault& fault);

// Puts the entry under serviceName into tnsnamesLines (ReplaceTnsnamesEntry),
// writes the lines to tnsnames.ora and reports it. The edited lines stay in
// tnsnamesLines. When the edited file would not read back as it should
// (FindRewriteFault), it raises one of the three messages above and
// neither the file nor tnsnamesLines changes.
void WriteTnsnamesEntry(const std::string& networkFolder, std::vector<std::string>& tnsnamesLines,
                        const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report);

// The sqlnet.ora step without the file, for its callers' tests: true when
// the lines changed. A key's value runs on over the indented lines after it
// while its parentheses are open; a value that lacks its item is rewritten
// whole on its first line, with its items and the missing one.
bool EnsureSqlnetItems(std::vector<std::string>& lines);

struct SqlnetFault {
  std::string key;
  std::string item;  // the item the key must hold; empty for another key
};

// What goes wrong when before becomes after, as sqlnet.ora is read: one of
// the two keys that lacks its item or an item it had, or another key that
// reads otherwise, was lost or appeared. Nothing when all is well.
std::optional<SqlnetFault> FindSqlnetRewriteFault(const std::vector<std::string>& before,
                                                  const std::vector<std::string>& after);

}  // namespace oracle
