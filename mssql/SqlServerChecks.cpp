#include "mssql/SqlServerChecks.h"

#include <optional>
#include <utility>

#include "mssql/DataSourceWriter.h"
#include "mssql/OdbcConnectionDriver.h"
#include "mssql/SqlServerAddress.h"
#include "platform/Error.h"
#include "platform/NetworkProbe.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

namespace mssql {
namespace {

using bde::CheckResult;
using bde::CheckStatus;
using platform::Format;
using platform::ProbeStatus;
using platform::RegistryRoot;

constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

CheckResult Failed(std::string detail) { return {CheckStatus::Failed, std::move(detail)}; }

platform::OpenedKey OpenForReading(platform::Registry& registry, std::string_view path) {
  return registry.OpenKey(RegistryRoot::LocalMachine, path, platform::kKeyRead, false);
}

// The value as text, or nothing when the key or the value is missing.
std::optional<std::string> ReadValue(const platform::OpenedKey& key, std::string_view name) {
  return key ? key->TryReadString(name) : std::nullopt;
}

const char* LoginName(bool windowsLogin) { return windowsLogin ? "Windows" : "użytkownik serwera MSSQL"; }

// The server step by step; each network step waits its own limit or what
// is left of the set's time.
CheckResult ProbeServer(const std::string& server, const ServerAddress& address, platform::NetworkProbe& network,
                        std::chrono::milliseconds limit, bde::CheckDeadline deadline) {
  uint16_t port = address.port.value_or(kDefaultInstancePort);
  const bool askBrowser = !address.instance.empty() && !address.port;
  if (askBrowser) {
    const std::chrono::milliseconds timeout = bde::StepTimeout(deadline, limit);
    const platform::ProbeResult asked =
        network.ExchangeDatagram(address.host, kBrowserPort, BrowserRequest(address.instance), timeout);
    if (asked.status == ProbeStatus::TimedOut) {
      return Failed(Format(kBrowserSilentDetail, {server, platform::DescribeSeconds(timeout), address.instance}));
    }
    if (asked.status == ProbeStatus::Refused) return Failed(Format(kBrowserClosedDetail, {server}));
    if (!asked.Ok()) return Failed(Format(kServerFailedDetail, {server, asked.reason}));
    const std::optional<BrowserAnswer> answer = ReadBrowserAnswer(asked.answer);
    if (!answer) return Failed(Format(kBrowserOtherDetail, {server}));
    if (!answer->tcpPort) return Failed(Format(kBrowserNoTcpDetail, {server, address.instance}));
    port = *answer->tcpPort;
  }
  const platform::ProbeResult connected = network.Connect(address.host, port, bde::StepTimeout(deadline, limit));
  if (!connected.Ok()) return Failed(Format(kServerFailedDetail, {server, connected.reason}));
  return {CheckStatus::Ok, Format(askBrowser ? kServerBrowserOkDetail : kServerOkDetail,
                                  {server, std::to_string(port), connected.address})};
}

// One login through the driver manager; every handle is freed before it
// returns, on every path.
CheckResult Login(const odbc::Api& api, const std::string& connectionText, std::chrono::seconds loginTimeout,
                  const std::string& database, const std::string& dataSource) {
  using namespace odbc;
  const auto failed = [&](SmallInt type, Handle handle, std::string_view call) {
    const Diagnostic diagnostic = FirstDiagnostic(api, type, handle);
    std::string reason =
        diagnostic.message.empty() ? Format(kOdbcFailedMessage, {std::string(call)}) : diagnostic.message;
    if (!diagnostic.state.empty()) reason += " (SQLSTATE " + diagnostic.state + ")";
    return Failed(Format(kLoginFailedDetail, {database, reason}));
  };
  UniqueSqlHandle env;
  if (!Succeeded(AllocateHandle(api, kHandleEnv, nullptr, env))) return failed(kHandleEnv, nullptr, "SQLAllocHandle");
  if (!Succeeded(api.SQLSetEnvAttr(env.Get(), kAttrOdbcVersion, reinterpret_cast<void*>(kOdbcVersion3), 0))) {
    return failed(kHandleEnv, env.Get(), "SQLSetEnvAttr");
  }
  UniqueSqlHandle dbc;
  if (!Succeeded(AllocateHandle(api, kHandleDbc, env.Get(), dbc))) {
    return failed(kHandleEnv, env.Get(), "SQLAllocHandle");
  }
  // Set before connecting, or it is not applied.
  api.SQLSetConnectAttrW(dbc.Get(), kAttrLoginTimeout,
                         reinterpret_cast<void*>(static_cast<uintptr_t>(loginTimeout.count())), 0);
  const std::u16string text = platform::ToUtf16(connectionText);
  if (!Succeeded(api.SQLDriverConnectW(dbc.Get(), nullptr, text.c_str(), kNts, nullptr, 0, nullptr, kDriverNoPrompt))) {
    return failed(kHandleDbc, dbc.Get(), "SQLDriverConnectW");
  }
  api.SQLDisconnect(dbc.Get());
  return {CheckStatus::Ok, Format(kLoginOkDetail, {database, dataSource})};
}

}  // namespace

std::vector<bde::Check> SqlServerChecks::Make(const SqlServerSetup& setup) {
  std::vector<bde::Check> checks;
  checks.push_back(bde::Check::Known(CheckDataSource(setup)));
  checks.push_back(ServerCheck(setup.server));
  std::vector<std::string> databases;
  for (const std::string& database : setup.databases) {
    if (!database.empty() && platform::IndexOfNoCase(databases, database) < 0) databases.push_back(database);
  }
  std::shared_ptr<const odbc::Api> api;
  std::string problem;
  if (setup.windowsLogin && !databases.empty()) {
    try {
      api = LoadApi(driverManagerLibrary_);
    } catch (const platform::Error& error) {
      problem = error.what();
    }
  }
  for (const std::string& database : databases) {
    checks.push_back(api || !setup.windowsLogin
                         ? LoginCheck(setup, database, api)
                         : bde::Check::Known(Failed(Format(kLoginNoDriverManagerDetail, {database, problem}))));
  }
  return checks;
}

CheckResult SqlServerChecks::CheckDataSource(const SqlServerSetup& setup) {
  const std::string& name = setup.dataSource;
  try {
    if (name.empty()) return Failed(Format(kDataSourceErrorDetail, {name, std::string(kEmptyNameMessage)}));
    if (const char c = ForbiddenDataSourceNameChar(name); c != 0) {
      return Failed(Format(kDataSourceNameDetail, {name, std::string(1, c)}));
    }
    const std::string keyPath = std::string(kDataSourceKeyParent) + name;
    const platform::OpenedKey source = OpenForReading(registry_, keyPath);
    if (!source) return Failed(Format(kDataSourceNoKeyDetail, {name, std::string(kLocalMachine) + keyPath}));
    const std::optional<std::string> listed = ReadValue(OpenForReading(registry_, kDataSourceListKey), name);
    if (!listed) return Failed(Format(kDataSourceNotListedDetail, {name}));
    if (!platform::EqualsAsciiNoCase(*listed, kDriverName)) {
      return Failed(Format(kDataSourceListedDriverDetail, {name, *listed}));
    }
    const std::optional<std::string> installed = ReadValue(OpenForReading(registry_, kDriverListKey), kDriverName);
    if (!installed || !platform::EqualsAsciiNoCase(*installed, "Installed")) {
      return Failed(Format(kDataSourceNoDriverDetail, {name}));
    }
    const std::optional<std::string> driverFile =
        ReadValue(OpenForReading(registry_, std::string(kDriverKeyParent) + std::string(kDriverName)), "Driver");
    if (!driverFile || driverFile->empty()) return Failed(Format(kDataSourceNoDriverFileValueDetail, {name}));
    if (!platform::FileExists(*driverFile)) return Failed(Format(kDataSourceNoDriverFileDetail, {name, *driverFile}));
    const std::string server = ReadValue(source, "Server").value_or("");
    if (!platform::EqualsNoCase(server, setup.server)) {
      return Failed(Format(kDataSourceServerDetail, {name, server, setup.server}));
    }
    const std::string login = ReadValue(source, "Trusted_Connection").value_or("");
    if (platform::EqualsAsciiNoCase(login, "Yes") != setup.windowsLogin) {
      return Failed(Format(kDataSourceLoginDetail, {name, login, LoginName(setup.windowsLogin)}));
    }
    return {CheckStatus::Ok, Format(kDataSourceOkDetail, {name, *driverFile})};
  } catch (const platform::Error& error) {
    return Failed(Format(kDataSourceErrorDetail, {name, error.what()}));
  }
}

bde::Check SqlServerChecks::ServerCheck(const std::string& server) {
  const std::optional<ServerAddress> address = ParseServerAddress(server);
  if (!address) return bde::Check::Known(Failed(Format(kServerInvalidDetail, {server})));
  if (address->local) return bde::Check::Known({CheckStatus::Skipped, Format(kServerLocalDetail, {server})});
  if (!address->otherProtocol.empty()) {
    return bde::Check::Known({CheckStatus::Skipped, Format(kServerProtocolDetail, {server, address->otherProtocol})});
  }
  if (address->instance.size() > kMaxInstanceNameBytes) {
    return bde::Check::Known(Failed(Format(kInstanceNameTooLongDetail, {server})));
  }
  return bde::Check::Pending(Format(kServerSubject, {server}), [server, address = *address, network = network_,
                                                                limit = timeouts.network](bde::CheckDeadline deadline) {
    return ProbeServer(server, address, *network, limit, deadline);
  });
}

bde::Check SqlServerChecks::LoginCheck(const SqlServerSetup& setup, const std::string& database,
                                       const std::shared_ptr<const odbc::Api>& api) {
  if (!setup.windowsLogin) return bde::Check::Known({CheckStatus::Skipped, Format(kLoginSkippedDetail, {database})});
  // A driver manager that reads the registry finds the data source by its
  // name; another is given the data source's values, as the connections
  // of the aliases are.
  std::string text;
  if (driverManagerReadsRegistry_) {
    text = "DSN=" + ConnectionValue(setup.dataSource) + ";DATABASE=" + ConnectionValue(database) +
           ";Trusted_Connection=Yes";
  } else {
    std::optional<RegisteredDataSource> source;
    try {
      source = ReadRegisteredDataSource(registry_, setup.dataSource);
    } catch (const platform::Error& error) {
      return bde::Check::Known(Failed(Format(kLoginFailedDetail, {database, error.what()})));
    }
    if (!source) return bde::Check::Known(Failed(Format(kLoginNoDataSourceDetail, {database, setup.dataSource})));
    source->trustedConnection = "Yes";
    text = ConnectionString(*source, "", "", database);
  }
  return bde::Check::Pending(Format(kDatabaseSubject, {database}),
                             [api, text, login = timeouts.login, database, dataSource = setup.dataSource](
                                 bde::CheckDeadline) { return Login(*api, text, login, database, dataSource); });
}

}  // namespace mssql
