#pragma once

#include <string>
#include <vector>

#include "oracle/ServiceEntry.h"
#include "oracle/ServiceEntryTable.h"

namespace bde {
class StatusReport;
}

namespace oracle {

// The folder of a home's client files, tnsnames.ora and sqlnet.ora, ending
// with its separator so that the file names follow it directly.
std::string NetworkFolder(const std::string& homeFolder);

// The tnsnames.ora of one home as the wizard works with it: the lines as
// read, the service entries read from them, and the write of one entry.
class ServiceFile {
 public:
  // Reads the folder's tnsnames.ora, which may be missing (no lines, no
  // entries), and fills the table afresh. A file that cannot be read
  // raises the platform's file error.
  void Read(const std::string& networkFolder);

  const std::string& Folder() const { return folder_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  ServiceEntryTable& Table() { return table_; }
  const ServiceEntryTable& Table() const { return table_; }

  // The stored entry of that service name, found as the file's reader
  // stores names; nothing when the file has no such entry.
  const ServiceEntry* FindEntry(const std::string& serviceName) const;

  // The stored entry of that name, or else a new one with the new-entry
  // defaults: what an edit of that service starts from.
  ServiceEntry EntryOrNew(const std::string& serviceName) const;

  // Puts the entry under serviceName in place of the old one and writes
  // the file; the lines keep the change for a later write.
  void WriteEntry(const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report);

 private:
  std::string folder_;
  std::vector<std::string> lines_;
  ServiceEntryTable table_;
};

}  // namespace oracle
