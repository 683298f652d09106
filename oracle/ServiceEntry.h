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
  // The file names the database by SID rather than by SERVICE_NAME; the
  // keyword is written back as it was read.
  bool sid = false;

  bool operator==(const ServiceEntry&) const = default;
};

}  // namespace oracle
