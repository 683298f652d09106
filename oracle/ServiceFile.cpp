#include "oracle/ServiceFile.h"

#include "oracle/OracleFilesWriter.h"
#include "oracle/TnsnamesReader.h"
#include "platform/Text.h"

namespace oracle {

std::string NetworkFolder(const std::string& homeFolder) { return homeFolder + "\\NETWORK\\ADMIN\\"; }

void ServiceFile::Read(const std::string& networkFolder) {
  folder_ = networkFolder;
  lines_.clear();
  lines_ = ReadTnsnamesLines(folder_);
  ParseServiceEntries(JoinTnsnamesLines(lines_), table_);
}

const ServiceEntry* ServiceFile::FindEntry(const std::string& serviceName) const {
  const size_t nameSize = kServiceFields[0].size;
  return table_.Find(CutToCharacters(platform::AsciiUpper(serviceName), nameSize));
}

ServiceEntry ServiceFile::EntryOrNew(const std::string& serviceName) const {
  if (const ServiceEntry* stored = FindEntry(serviceName)) return *stored;
  return table_.NewRecord();
}

void ServiceFile::WriteEntry(const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report) {
  WriteTnsnamesEntry(folder_, lines_, serviceName, entry, report);
}

}  // namespace oracle
