#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "oracle/ServiceEntry.h"

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

// Replaces the first entry named serviceName (ignoring ASCII case and blanks)
// in tnsnamesLines by the entry's nine lines at the end, writes the lines
// to tnsnames.ora and reports it. The edited lines stay in tnsnamesLines.
void WriteTnsnamesEntry(const std::string& networkFolder, std::vector<std::string>& tnsnamesLines,
                        const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report);

// The two steps without the files, for their callers' tests: true when
// sqlnet.ora's lines changed.
bool EnsureSqlnetItems(std::vector<std::string>& lines);
void ReplaceTnsnamesEntry(std::vector<std::string>& lines, std::string_view serviceName, const ServiceEntry& entry);

}  // namespace oracle
