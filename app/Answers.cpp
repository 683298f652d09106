#include "app/Answers.h"

namespace app {

int ItemOf(SuiteVersion version) {
  switch (version) {
    case SuiteVersion::V9:
      return 0;
    case SuiteVersion::V10:
      return 1;
    case SuiteVersion::V11:
      break;
  }
  return 2;
}

oracle::ServiceEntry ServiceEntryValues::Over(oracle::ServiceEntry entry) const {
  if (protocol) entry.protocol = *protocol;
  if (host) entry.host = *host;
  if (port) entry.port = *port;
  if (service) entry.service = *service;
  return entry;
}

}  // namespace app
