#include "bde/Session.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/Text.h"

namespace bde {

void Session::RegisterDriver(const std::string& driverName, std::unique_ptr<ConnectionDriver> driver) {
  for (auto& [name, registered] : drivers_) {
    if (platform::EqualsNoCase(name, driverName)) {
      registered = std::move(driver);
      return;
    }
  }
  drivers_.emplace_back(driverName, std::move(driver));
}

ConnectionDriver* Session::FindDriver(const std::string& driverName) const {
  for (const auto& [name, driver] : drivers_) {
    if (platform::EqualsNoCase(name, driverName)) return driver.get();
  }
  return nullptr;
}

void Session::RegisterDatabase(Database& database) {
  Database* registered = FindDatabase(database.DatabaseName());
  if (registered == &database) return;
  if (registered) {
    throw platform::Error(platform::Format(kDuplicateDatabaseMessage, {database.DatabaseName()}));
  }
  databases_.push_back(&database);
}

void Session::UnregisterDatabase(const Database& database) { std::erase(databases_, &database); }

Database* Session::FindDatabase(const std::string& databaseName) const {
  for (Database* database : databases_) {
    if (platform::EqualsNoCase(database->DatabaseName(), databaseName)) return database;
  }
  return nullptr;
}

}  // namespace bde
