#include "mssql/DataSourceWriter.h"

#include <memory>

#include "bde/StatusReport.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace mssql {
namespace {

using platform::RegistryKey;
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
std::unique_ptr<RegistryKey> Open(platform::Registry& registry, std::string_view path, uint32_t access) {
  return registry.OpenKey(RegistryRoot::LocalMachine, path, access, true);
}

// A key that cannot be opened ends the operation, so nothing meant for it
// is written anywhere else.
std::unique_ptr<RegistryKey> OpenOrRaise(platform::Registry& registry, std::string_view path, uint32_t access) {
  std::unique_ptr<RegistryKey> key = Open(registry, path, access);
  if (!key) {
    throw platform::Error(platform::Format(kKeyNotOpenedMessage, {"HKEY_LOCAL_MACHINE" + std::string(path)}));
  }
  return key;
}

bool Installed(RegistryKey& drivers) { return platform::AsciiUpper(drivers.ReadString(kDriverName)) == kInstalled; }

const char* LoginValue(bool windowsLogin) { return windowsLogin ? "Yes" : "No"; }

}  // namespace

char ForbiddenDataSourceNameChar(std::string_view name) {
  constexpr std::string_view kForbidden = "[]{}(),;?*=!@\\";
  const size_t at = name.find_first_of(kForbidden);
  return at == std::string_view::npos ? 0 : name[at];
}

bool DriverRegistered(platform::Registry& registry) {
  const auto open = [&](std::string_view path) -> std::unique_ptr<RegistryKey> {
    if (!registry.KeyExists(RegistryRoot::LocalMachine, path)) return nullptr;
    return registry.OpenKey(RegistryRoot::LocalMachine, path, platform::kKeyRead, false);
  };
  const std::unique_ptr<RegistryKey> drivers = open(kDriverListKey);
  if (!drivers || !drivers->ValueExists(kDriverName) || !Installed(*drivers)) return false;
  const std::unique_ptr<RegistryKey> driver = open(DriverKeyPath());
  return driver && driver->ValueExists("Driver");
}

void DataSourceWriter::ConfigureDataSource(const std::string& name, const std::string& server, bool windowsLogin,
                                           bde::StatusReport& report) {
  CheckName(name);
  std::unique_ptr<RegistryKey> drivers = Open(registry_, kDriverListKey, platform::kKeyAllAccess);
  if (!drivers || !drivers->ValueExists(kDriverName)) throw platform::Error(std::string(kNoDriverMessage));
  if (!Installed(*drivers)) throw platform::Error(std::string(kDriverNotInstalledMessage));

  std::unique_ptr<RegistryKey> driver = OpenOrRaise(registry_, DriverKeyPath(), platform::kKeyAllAccess);
  if (!driver->ValueExists("Driver")) throw platform::Error(std::string(kNoDriverPathMessage));
  const std::string driverPath = driver->ReadString("Driver");

  std::unique_ptr<RegistryKey> list = OpenOrRaise(registry_, kDataSourceListKey, platform::kKeyAllAccess);
  std::string_view verb = "Utworzono";
  if (list->ValueExists(name)) {
    verb = "Zmodyfikowano";
    if (platform::AsciiUpper(list->ReadString(name)) != platform::AsciiUpper(kDriverName)) {
      throw platform::Error(platform::Format(kOtherDriverMessage, {name}));
    }
  }

  // The list entry goes last: a data source is listed only once its key
  // holds everything, so a failed write never leaves one listed half-made.
  std::unique_ptr<RegistryKey> source = OpenOrRaise(registry_, DataSourceKeyPath(name), platform::kKeyAllAccess);
  source->WriteString("Driver", driverPath);
  source->WriteString("MARS_Connection", "Yes");
  source->WriteString("Server", server);
  source->WriteString("Trusted_Connection", LoginValue(windowsLogin));
  list->WriteString(name, kDriverName);

  report.Add(std::string(" ").append(verb).append(" źródło danych ODBC \"").append(name).append("\"."));
  report.Add("  Instancja serwera MSSQL: \"" + server + "\".");
  report.Add(std::string("  Logowanie poprzez użytkownika ") + (windowsLogin ? "Windows" : "serwera MSSQL") + ".");
  report.Add("");
}

bool DataSourceWriter::CreateDataSource(const std::string& name, const std::string& server, bool windowsLogin) {
  if (!ValidName(name)) return false;
  std::unique_ptr<RegistryKey> drivers = Open(registry_, kDriverListKey, platform::kKeyCreateDataSource);
  if (!drivers || !drivers->ValueExists(kDriverName) || !Installed(*drivers)) return false;
  std::unique_ptr<RegistryKey> driver = Open(registry_, DriverKeyPath(), platform::kKeyCreateDataSource);
  if (!driver || !driver->ValueExists("Driver")) return false;
  const std::string driverPath = driver->ReadString("Driver");

  std::unique_ptr<RegistryKey> list = OpenOrRaise(registry_, kDataSourceListKey, platform::kKeyCreateDataSource);
  std::unique_ptr<RegistryKey> source =
      OpenOrRaise(registry_, DataSourceKeyPath(name), platform::kKeyCreateDataSource);
  source->WriteString("Driver", driverPath);
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
  if (std::unique_ptr<RegistryKey> list = Open(registry_, kDataSourceListKey, platform::kKeyAllAccess)) {
    list->DeleteValue(name);
  }
  registry_.DeleteKey(RegistryRoot::LocalMachine, DataSourceKeyPath(name));
}

}  // namespace mssql
