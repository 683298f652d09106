#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "oracle/IncludedFiles.h"
#include "oracle/NetworkFolder.h"
#include "oracle/ServiceEntry.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesWriter.h"

namespace bde {
class StatusReport;
}

namespace platform {
class Registry;
}

namespace oracle {

// %s: the name looked up, the default domain, the sqlnet.ora that sets it,
// the tnsnames.ora read, then the name to use.
inline constexpr std::string_view kUnqualifiedNameProblem =
    "przy domyślnej domenie \"%s\" (NAMES.DEFAULT_DOMAIN w pliku \"%s\") klient Oracle szuka wpisu \"%s\", "
    "którego nie ma w pliku \"%s\" ani w plikach, które on włącza; należy użyć nazwy \"%s\"";
// The same when no entry holds the service: the entry is to be given, and
// is then written under the name the client looks for.
inline constexpr std::string_view kUnqualifiedNewNameProblem =
    "przy domyślnej domenie \"%s\" (NAMES.DEFAULT_DOMAIN w pliku \"%s\") klient Oracle szuka wpisu \"%s\", "
    "którego nie ma w pliku \"%s\" ani w plikach, które on włącza; należy podać adres serwera, a wpis zostanie "
    "zapisany pod nazwą \"%s\"";
// %s: the service name, then one of the two problems.
inline constexpr std::string_view kUnresolvedServiceMessage = "Klient Oracle nie odnajdzie serwisu \"%s\": %s";

// The entry the client takes for a service name.
struct ResolvedService {
  std::string lookupName;  // the name looked up, the default domain after a name without a dot
  ServiceEntry entry;      // as the table stores it
  std::string file;        // the file it stands in: tnsnames.ora or one it includes
};

// The service entries that the client of one home reads, as it reads them:
// tnsnames.ora of the network folder in force with every file its IFILE
// lines include, each in place of its line, the last readable entry of a
// name in force; and the name the client looks a service up by, which
// NAMES.DEFAULT_DOMAIN of sqlnet.ora (and the files it includes) completes.
class ServiceFile {
 public:
  // Reads the folder's files, which may be missing (no lines, no entries),
  // and fills the table afresh. tnsnames.ora or sqlnet.ora that cannot be
  // read raises the platform's file error; an included file that cannot be
  // read, or that loops, offers nothing.
  void Read(const NetworkFolder& folder);

  const NetworkFolder& Folder() const { return folder_; }
  const IncludedFiles& Tnsnames() const { return tnsnames_; }
  const IncludedFiles& Sqlnet() const { return sqlnet_; }
  ServiceEntryTable& Table() { return table_; }
  const ServiceEntryTable& Table() const { return table_; }
  // NAMES.DEFAULT_DOMAIN, trimmed and without leading dots; empty when unset.
  const std::string& DefaultDomain() const { return domain_; }

  // The name the client looks a service up by: a name without a dot gets
  // the default domain after one, upper-cased as the table keeps names.
  std::string LookupName(const std::string& serviceName) const;
  // The names the client can find, in table order: with a default domain
  // only those with a dot, for it never looks up a name without one.
  std::vector<std::string> OfferedNames() const;

  // The stored entry the client takes for that service name, found as the
  // client looks it up and as the reader stores names; nothing when no file
  // in force holds it.
  const ServiceEntry* FindEntry(const std::string& serviceName) const;
  // The stored entry of that name, or else a new one with the new-entry
  // defaults: what an edit of that service starts from.
  ServiceEntry EntryOrNew(const std::string& serviceName) const;
  // The file that holds the entry in force for the service, or tnsnames.ora
  // itself, where a new entry goes.
  const std::string& FileOf(const std::string& serviceName) const;
  // The entry and file the client takes for the name; nothing when no file
  // in force holds it.
  std::optional<ResolvedService> Resolve(const std::string& serviceName) const;

  // What the client would make of the name given as the server name of the
  // aliases: nothing when it finds it, else the problem in the words of
  // kUnqualifiedNameProblem. Only a name that the default domain completes
  // is judged; any other one may be found by a naming method other than
  // tnsnames.ora.
  std::optional<std::string> UnresolvedProblem(const std::string& serviceName) const;
  // Raises kUnresolvedServiceMessage when there is a problem.
  void CheckResolves(const std::string& serviceName) const;

  // The rewrite of the file of the service that WriteEntry would make, under
  // the name the client looks for, and what its check finds
  // (RewriteTnsnamesEntry). Nothing is written.
  TnsnamesRewrite PlanEntry(const std::string& serviceName, const ServiceEntry& entry) const;
  // Writes that rewrite and reports the file written; raises the message
  // of the fault instead (RaiseRewriteFault), with nothing written.
  void WriteEntry(const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report);

 private:
  size_t FileIndexOf(const std::string& serviceName) const;

  NetworkFolder folder_;
  IncludedFiles tnsnames_;
  IncludedFiles sqlnet_;
  std::string domain_;
  std::string domainFile_;
  ServiceEntryTable table_;
  // The file of each stored entry, by its stored name.
  std::unordered_map<std::string, size_t> files_;
};

// Whether the client of the home (its subkey of \SOFTWARE\ORACLE and its
// ORACLE_HOME) finds the service name through tnsnames.ora, and which entry
// of which file it takes. The files are read afresh; one that cannot be
// read raises the platform's file error.
std::optional<ResolvedService> ResolveServiceName(platform::Registry& registry, const std::string& homeSubkey,
                                                  const std::string& homeFolder, const std::string& serviceName);

}  // namespace oracle
