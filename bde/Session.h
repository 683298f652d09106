#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bde/Connection.h"

namespace bde {

// %s: the database name.
inline constexpr std::string_view kDuplicateDatabaseMessage =
    "Baza danych BDE \"%s\" jest już zarejestrowana";

// The connections of the engine's default session: drivers by BDE driver
// name, databases by database name, both found without regard to letter
// case. The aliases are the alias engine's business, not the session's.
class Session {
 public:
  Session() = default;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // A driver registered again replaces the earlier one.
  void RegisterDriver(const std::string& driverName, std::unique_ptr<ConnectionDriver> driver);
  ConnectionDriver* FindDriver(const std::string& driverName) const;
  // A database stays registered for the session's life, so it must live at
  // least as long; a second database of the same name raises
  // kDuplicateDatabaseMessage.
  void RegisterDatabase(Database& database);
  // Its owner calls this before the database goes.
  void UnregisterDatabase(const Database& database);
  Database* FindDatabase(const std::string& databaseName) const;

 private:
  std::vector<std::pair<std::string, std::unique_ptr<ConnectionDriver>>> drivers_;
  std::vector<Database*> databases_;
};

}  // namespace bde
