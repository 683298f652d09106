#pragma once

#include <string>

namespace oracle {

// One net service entry of tnsnames.ora as the wizard edits it: the
// fields Name, ADDR_ADDR_PROT, ADDR_ADDR_HOST, ADDR_ADDR_PORT and CONN_SERV
// of the service-entry table.
struct ServiceEntry {
  std::string name;
  std::string protocol;
  std::string host;
  std::string port;
  std::string service;

  bool operator==(const ServiceEntry&) const = default;
};

}  // namespace oracle
