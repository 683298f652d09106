#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "oracle/ServiceEntry.h"
#include "oracle/TnsnamesWriter.h"

namespace bde {
class StatusReport;
}

// The Oracle client's files in the network folder of the chosen home. The
// folder text ends with its separator; the file names follow it directly.
// A file that cannot be read or written raises the platform's file error.
namespace oracle {

// Makes sqlnet.ora allow Windows authentication and name resolution through
// tnsnames.ora. Writes and reports the file only when it had to change.
void UpdateSqlnetOra(const std::string& networkFolder, bde::StatusReport& report);

// %s: the file's path, then the entry's name.
inline constexpr std::string_view kOtherEntryFaultMessage =
    "Nie zapisano pliku \"%s\": zapis zmieniłby wpis \"%s\", którego nie edytowano";
inline constexpr std::string_view kEditedEntryFaultMessage =
    "Nie zapisano pliku \"%s\": wpisu \"%s\" nie można w nim zapisać z podanymi wartościami";

// Puts the entry under serviceName into tnsnamesLines (ReplaceTnsnamesEntry),
// writes the lines to tnsnames.ora and reports it. The edited lines stay in
// tnsnamesLines. When the edited file would not read back as it should
// (FindRewriteFault), it raises one of the two messages above and neither
// the file nor tnsnamesLines changes.
void WriteTnsnamesEntry(const std::string& networkFolder, std::vector<std::string>& tnsnamesLines,
                        const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report);

// The sqlnet.ora step without the file, for its callers' tests: true when
// the lines changed.
bool EnsureSqlnetItems(std::vector<std::string>& lines);

}  // namespace oracle
