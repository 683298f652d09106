#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class ServerNetwork;
}

namespace mssql {

// The servers named in an ODBC browse answer such as
// "SERVER:Server={ALFA,BETA\SQLEXPRESS};UID:Login ID=?": the value of the
// first item called SERVER:Server (letter case aside), without its first
// "{" and first "}", split at commas. No such item gives no servers.
std::vector<std::string> ServersFromBrowseAnswer(std::string_view answer);

// The instance entry a service of the machine server stands for: server
// for MSSQLSERVER (any letter case), server\NAME for MSSQL$NAME with NAME
// as spelled; nothing for any other service.
std::optional<std::string> InstanceEntry(std::string_view server, std::string_view serviceName);

// Finds the SQL Server instances reachable from this machine, either by
// asking the ODBC driver to browse or by asking the network for SQL Server
// machines and each machine for its services. Nothing here raises: a
// missing library or a failed call leaves the list as it was.
class ServerDiscovery {
 public:
  // odbcLibrary: the driver manager's library, loaded at the first browse and
  // kept for the process, as the driver manager keeps state of its own.
  ServerDiscovery(std::string odbcLibrary, platform::ServerNetwork& network)
      : odbcLibrary_(std::move(odbcLibrary)), network_(network) {}

  void FillServerList(bool browse, std::vector<std::string>& list);
  // Replaces the list with the servers of the driver's browse answer.
  void ListServersByBrowse(std::vector<std::string>& list);
  // Replaces the list with the instances of every SQL Server machine found.
  void ListServersByNetwork(std::vector<std::string>& list);
  // Appends one entry per SQL Server service of the machine server.
  void AddServerInstances(const std::string& server, std::vector<std::string>& list);

 private:
  std::string odbcLibrary_;
  platform::ServerNetwork& network_;
};

}  // namespace mssql
