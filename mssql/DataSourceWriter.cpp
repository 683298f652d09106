#include "mssql/DataSourceWriter.h"

#include <optional>

#include "bde/StatusReport.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace mssql {
namespace {

using platform::OpenedKey;
using platform::RegistryRoot;

constexpr std::string_view kInstalled = "INSTALLED";

std::string DriverKeyPath() { return std::string(kDriverKeyParent) + std::string(kDriverName); }

std::string DataSourceKeyPath(std::string_view name) {
  return std::string(kDataSourceKeyParent) + std::string(name);
}

bool ValidName(std::string_view name) { return !name.empty() && ForbiddenDataSourceNameChar(name) == 0; }

void CheckName(const std::string& name) {
  if (name.empty()) throw platform::Error(std::string(kEmptyNameMessage));
  if (const char c = ForbiddenDataSourceNameChar(name)) {
    throw platform::Error(platform::Format(kInvalidNameMessage, {name, std::string(1, c)}));
  }
}

// Every key is opened with creation allowed, as the driver manager's own
// tools do.
OpenedKey Open(platform::Registry& registry, std::string_view path, uint32_t access) {
  return registry.OpenKey(RegistryRoot::LocalMachine, path, access, true);
}

// A key that cannot be opened ends the operation, so nothing meant for it
// is written anywhere else.
OpenedKey OpenOrRaise(platform::Registry& registry, std::string_view path, uint32_t access) {
  OpenedKey key = Open(registry, path, access);
  if (!key) {
    throw platform::Error(platform::Format(kKeyNotOpenedMessage, {"HKEY_LOCAL_MACHINE" + std::string(path)}));
  }
  return key;
}

// The driver's registration in the driver list, when the list has one.
std::optional<std::string> Registration(const OpenedKey& drivers) {
  return drivers ? drivers->TryReadString(kDriverName) : std::nullopt;
}

bool Installed(const std::string& registration) { return platform::AsciiUpper(registration) == kInstalled; }

const char* LoginValue(bool windowsLogin) { return windowsLogin ? "Yes" : "No"; }

}  // namespace

char ForbiddenDataSourceNameChar(std::string_view name) {
  constexpr std::string_view kForbidden = "[]{}(),;?*=!@\\";
  const size_t at = name.find_first_of(kForbidden);
  return at == std::string_view::npos ? 0 : name[at];
}

bool DriverRegistered(platform::Registry& registry) {
  const auto open = [&](std::string_view path) {
    if (!registry.KeyExists(RegistryRoot::LocalMachine, path)) return OpenedKey(platform::KeyStatus::Missing);
    return registry.OpenKey(RegistryRoot::LocalMachine, path, platform::kKeyRead, false);
  };
  const std::optional<std::string> registration = Registration(open(kDriverListKey));
  if (!registration || !Installed(*registration)) return false;
  const OpenedKey driver = open(DriverKeyPath());
  return driver && driver->ValueExists("Driver");
}

void DataSourceWriter::ConfigureDataSource(const std::string& name, const std::string& server, bool windowsLogin,
                                           bde::StatusReport& report) {
  CheckName(name);
  const std::optional<std::string> registration =
      Registration(Open(registry_, kDriverListKey, platform::kKeyAllAccess));
  if (!registration) throw platform::Error(std::string(kNoDriverMessage));
  if (!Installed(*registration)) throw platform::Error(std::string(kDriverNotInstalledMessage));

  const std::optional<std::string> driverPath =
      OpenOrRaise(registry_, DriverKeyPath(), platform::kKeyAllAccess)->TryReadString("Driver");
  if (!driverPath) throw platform::Error(std::string(kNoDriverPathMessage));

  OpenedKey list = OpenOrRaise(registry_, kDataSourceListKey, platform::kKeyAllAccess);
  std::string_view verb = "Utworzono";
  if (const std::optional<std::string> listed = list->TryReadString(name)) {
    verb = "Zmodyfikowano";
    if (platform::AsciiUpper(*listed) != platform::AsciiUpper(kDriverName)) {
      throw platform::Error(platform::Format(kOtherDriverMessage, {name}));
    }
  }

  // The list entry goes last: a data source is listed only once its key
  // holds everything, so a failed write never leaves one listed half-made.
  OpenedKey source = OpenOrRaise(registry_, DataSourceKeyPath(name), platform::kKeyAllAccess);
  source->WriteString("Driver", *driverPath);
  source->WriteString("MARS_Connection", "Yes");
  source->WriteString("Server", server);
  source->WriteString("Trusted_Connection", LoginValue(windowsLogin));
  list->WriteString(name, kDriverName);

  report.Add(std::string(" ").append(verb).append(" źródło danych ODBC \"").append(name).append("\"."));
  report.Add("  Instancja serwera MSSQL: \"" + server + "\".");
  report.Add(std::string("  Logowanie poprzez użytkownika ") + (windowsLogin ? "Windows" : "serwera MSSQL") + ".");
  report.Add("");
  report.Changed({bde::Change::Item::DataSource, name, verb == "Utworzono"});
}

bool DataSourceWriter::CreateDataSource(const std::string& name, const std::string& server, bool windowsLogin) {
  if (!ValidName(name)) return false;
  const std::optional<std::string> registration =
      Registration(Open(registry_, kDriverListKey, platform::kKeyCreateDataSource));
  if (!registration || !Installed(*registration)) return false;
  const OpenedKey driver = Open(registry_, DriverKeyPath(), platform::kKeyCreateDataSource);
  const std::optional<std::string> driverPath = driver ? driver->TryReadString("Driver") : std::nullopt;
  if (!driverPath) return false;

  OpenedKey list = OpenOrRaise(registry_, kDataSourceListKey, platform::kKeyCreateDataSource);
  OpenedKey source = OpenOrRaise(registry_, DataSourceKeyPath(name), platform::kKeyCreateDataSource);
  source->WriteString("Driver", *driverPath);
  source->WriteString("Server", server);
  source->WriteString("Trusted_Connection", LoginValue(windowsLogin));
  list->WriteString(name, kDriverName);
  return true;
}

// An empty name would delete the list's default value and the whole
// ODBC.INI key, a backslash a key of another data source: such names are
// never written, so there is nothing of theirs to delete.
void DataSourceWriter::DeleteDataSource(const std::string& name) {
  if (!ValidName(name)) return;
  if (const OpenedKey list = Open(registry_, kDataSourceListKey, platform::kKeyAllAccess)) {
    list->DeleteValue(name);
  }
  registry_.DeleteKey(RegistryRoot::LocalMachine, DataSourceKeyPath(name));
}

}  // namespace mssql
