#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What the Windows network tells about SQL Server machines. Every failure
// answers "nothing known" rather than an error: discovery stays silent.
class ServerNetwork {
 public:
  virtual ~ServerNetwork() = default;

  // The machines of the primary domain that announce a SQL Server, in the
  // order the network lists them; empty when the network cannot be asked or
  // answers only in part.
  virtual std::optional<std::vector<std::string>> SqlServerMachines() = 0;

  // The service names (not the display names) of the machine's own- and
  // shared-process services, running or stopped, in the order listed;
  // empty when its service manager cannot be opened or enumerated.
  virtual std::optional<std::vector<std::string>> Services(const std::string& machine) = 0;
};

// The system's network: netapi32 and the service control manager on
// Windows; a system without them knows nothing.
std::unique_ptr<ServerNetwork> CreateSystemServerNetwork();

}  // namespace platform
