#include "app/Answers.h"

namespace app {

ServerKind ServerKindOfItem(int itemIndex) {
  return itemIndex == 0 ? ServerKind::MicrosoftSqlServer : ServerKind::Oracle;
}

SuiteVersion SuiteVersionOfItem(int itemIndex) {
  if (itemIndex == 0) return SuiteVersion::V9;
  return itemIndex == 2 ? SuiteVersion::V11 : SuiteVersion::V10;
}

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
