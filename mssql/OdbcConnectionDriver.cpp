#include "mssql/OdbcConnectionDriver.h"

#include <vector>

#include "mssql/DataSourceWriter.h"
#include "mssql/OdbcApi.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/Utf16.h"

namespace mssql {
namespace {

using namespace odbc;

constexpr std::string_view kUnknownDataSourceState = "IM002";

[[noreturn]] void RaiseDiagnostic(const Api& api, SmallInt type, Handle handle, std::string_view call) {
  Diagnostic diagnostic = FirstDiagnostic(api, type, handle);
  if (diagnostic.message.empty()) {
    throw platform::Error(platform::Format(kOdbcFailedMessage, {std::string(call)}));
  }
  throw platform::Error(diagnostic.message);
}

// The rows of one statement. The statement handle goes before the
// connection's, as the cursor is always released first.
class OdbcCursor final : public bde::Cursor {
 public:
  OdbcCursor(std::shared_ptr<const Api> api, UniqueSqlHandle statement, std::vector<std::string> columns)
      : api_(std::move(api)), statement_(std::move(statement)), columns_(std::move(columns)) {}

  bool Fetch() override {
    const Return result = api_->SQLFetch(statement_.Get());
    if (result == kNoData) return false;
    if (!Succeeded(result)) RaiseDiagnostic(*api_, kHandleStmt, statement_.Get(), "SQLFetch");
    row_.clear();
    for (size_t column = 0; column < columns_.size(); ++column) row_.push_back(ReadColumn(column + 1));
    return true;
  }

  std::string Field(std::string_view name) const override {
    const int index = platform::IndexOfNoCase(columns_, name);
    if (index < 0) throw platform::Error(platform::Format(kNoSuchFieldMessage, {std::string(name)}));
    return static_cast<size_t>(index) < row_.size() ? row_[index] : std::string();
  }

 private:
  // Reads a text column in pieces: a long value answers "truncated" (with
  // info) until its last piece. NULL reads as empty.
  std::string ReadColumn(size_t column) {
    constexpr Len kPieceChars = 512;
    std::u16string value;
    for (;;) {
      WChar piece[kPieceChars] = {};
      Len indicator = 0;
      const Return result = api_->SQLGetData(statement_.Get(), static_cast<USmallInt>(column), kCWChar, piece,
                                             sizeof(piece), &indicator);
      if (result == kNoData) break;
      if (!Succeeded(result)) RaiseDiagnostic(*api_, kHandleStmt, statement_.Get(), "SQLGetData");
      if (indicator == kNullData) break;
      // The length the driver reports tells a last piece from a truncated
      // one; a success with information may be a warning of another kind.
      const bool whole = indicator >= 0 && indicator / static_cast<Len>(sizeof(WChar)) < kPieceChars;
      const Len chars = whole ? indicator / static_cast<Len>(sizeof(WChar)) : kPieceChars - 1;
      value.append(piece, static_cast<size_t>(chars));
      if (whole) break;
    }
    return platform::FromUtf16(value);
  }

  std::shared_ptr<const Api> api_;
  UniqueSqlHandle statement_;
  std::vector<std::string> columns_;
  std::vector<std::string> row_;
};

class OdbcConnection final : public bde::Connection {
 public:
  OdbcConnection(std::shared_ptr<const Api> api, UniqueSqlHandle env, UniqueSqlHandle dbc)
      : api_(std::move(api)), env_(std::move(env)), dbc_(std::move(dbc)) {}
  ~OdbcConnection() override { api_->SQLDisconnect(dbc_.Get()); }

  void SetCurrentCatalog(const std::string& database) {
    const std::u16string name = platform::ToUtf16(database);
    if (!Succeeded(api_->SQLSetConnectAttrW(dbc_.Get(), kAttrCurrentCatalog, const_cast<char16_t*>(name.c_str()),
                                            kNts))) {
      RaiseDiagnostic(*api_, kHandleDbc, dbc_.Get(), "SQLSetConnectAttrW");
    }
  }

  std::unique_ptr<bde::Cursor> Execute(const std::string& sql) override {
    UniqueSqlHandle statement;
    if (!Succeeded(AllocateHandle(*api_, kHandleStmt, dbc_.Get(), statement))) {
      RaiseDiagnostic(*api_, kHandleDbc, dbc_.Get(), "SQLAllocHandle");
    }
    const std::u16string text = platform::ToUtf16(sql);
    if (!Succeeded(api_->SQLExecDirectW(statement.Get(), text.c_str(), kNts))) {
      RaiseDiagnostic(*api_, kHandleStmt, statement.Get(), "SQLExecDirectW");
    }
    SmallInt count = 0;
    if (!Succeeded(api_->SQLNumResultCols(statement.Get(), &count))) {
      RaiseDiagnostic(*api_, kHandleStmt, statement.Get(), "SQLNumResultCols");
    }
    std::vector<std::string> columns;
    for (USmallInt column = 1; column <= count; ++column) {
      WChar name[256] = {};
      SmallInt length = 0, type = 0, digits = 0, nullable = 0;
      ULen size = 0;
      if (!Succeeded(api_->SQLDescribeColW(statement.Get(), column, name, 256, &length, &type, &size, &digits,
                                           &nullable))) {
        RaiseDiagnostic(*api_, kHandleStmt, statement.Get(), "SQLDescribeColW");
      }
      columns.push_back(platform::FromUtf16(std::u16string_view(name)));
    }
    return std::make_unique<OdbcCursor>(api_, std::move(statement), std::move(columns));
  }

 private:
  std::shared_ptr<const Api> api_;
  UniqueSqlHandle env_;
  UniqueSqlHandle dbc_;
};

}  // namespace

std::shared_ptr<const odbc::Api> LoadApi(const std::string& libraryName) {
  std::optional<Api> loaded = Api::Load(libraryName);
  if (!loaded) throw platform::Error(platform::Format(kNoDriverManagerMessage, {libraryName}));
  if (const char* missing = loaded->MissingConnectionFunction()) {
    throw platform::Error(platform::Format(kNoOdbcFunctionMessage, {missing}));
  }
  return std::make_shared<const Api>(std::move(*loaded));
}

std::string ConnectionValue(std::string_view value) {
  const bool plain = !value.empty() && value.find_first_of(";{}= \t") == std::string_view::npos;
  if (plain) return std::string(value);
  std::string braced = "{";
  for (char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

std::optional<RegisteredDataSource> ReadRegisteredDataSource(platform::Registry& registry, const std::string& name) {
  // A name that could not be a data source's would read another key.
  if (name.empty() || ForbiddenDataSourceNameChar(name) != 0) return std::nullopt;
  const platform::OpenedKey key = registry.OpenKey(
      platform::RegistryRoot::LocalMachine, std::string(kDataSourceKeyParent) + name, platform::kKeyRead, false);
  if (!key) return std::nullopt;
  std::optional<std::string> driver = key->TryReadString("Driver");
  if (!driver) return std::nullopt;
  RegisteredDataSource source{std::move(*driver), {}, {}};
  source.server = key->TryReadString("Server").value_or("");
  source.trustedConnection = key->TryReadString("Trusted_Connection").value_or("");
  return source;
}

// The keywords are those SQL Server's drivers and psqlODBC both take:
// DRIVER (a library path is accepted by the driver managers as well as a
// driver's name), SERVER, UID, PWD and DATABASE. A port is the form
// psqlODBC needs; every other form (host, host\instance, host,port) goes
// to SERVER as SQL Server's drivers read it. Trusted_Connection is passed
// as the data source holds it; drivers without Windows logins ignore it.
std::string ConnectionString(const RegisteredDataSource& source, const std::string& user,
                             const std::string& password, const std::string& database) {
  std::string server = source.server;
  std::string port;
  const auto takePort = [&](size_t colon, size_t hostStart, size_t hostEnd) {
    if (colon + 1 >= server.size() || server.find_first_not_of("0123456789", colon + 1) != std::string::npos) return;
    port = server.substr(colon + 1);
    server = server.substr(hostStart, hostEnd - hostStart);
  };
  const size_t close = server.find(']');
  if (!server.empty() && server.front() == '[' && close != std::string::npos) {
    if (close + 1 == server.size()) {
      server = server.substr(1, close - 1);
    } else if (server[close + 1] == ':') {
      takePort(close + 1, 1, close);
    }
  } else if (const size_t colon = server.find(':'); colon != std::string::npos && colon == server.rfind(':')) {
    takePort(colon, 0, colon);
  }
  std::string text = "DRIVER=" + ConnectionValue(source.driverPath) + ";SERVER=" + ConnectionValue(server);
  if (!port.empty()) text += ";PORT=" + port;
  if (!source.trustedConnection.empty()) text += ";Trusted_Connection=" + ConnectionValue(source.trustedConnection);
  if (!user.empty()) text += ";UID=" + ConnectionValue(user);
  if (!password.empty()) text += ";PWD=" + ConnectionValue(password);
  if (!database.empty()) text += ";DATABASE=" + ConnectionValue(database);
  return text;
}

std::unique_ptr<bde::Connection> OdbcConnectionDriver::Connect(const bde::ParameterList& params) {
  const std::shared_ptr<const Api> api = LoadApi(libraryName_);

  UniqueSqlHandle env;
  if (!Succeeded(AllocateHandle(*api, kHandleEnv, nullptr, env))) {
    throw platform::Error(platform::Format(kOdbcFailedMessage, {"SQLAllocHandle"}));
  }
  if (!Succeeded(api->SQLSetEnvAttr(env.Get(), kAttrOdbcVersion, reinterpret_cast<void*>(kOdbcVersion3), 0))) {
    RaiseDiagnostic(*api, kHandleEnv, env.Get(), "SQLSetEnvAttr");
  }
  UniqueSqlHandle dbc;
  if (!Succeeded(AllocateHandle(*api, kHandleDbc, env.Get(), dbc))) {
    RaiseDiagnostic(*api, kHandleEnv, env.Get(), "SQLAllocHandle");
  }

  const std::string dsn = params.Value("ODBC DSN");
  const std::string user = params.Value("USER NAME");
  const std::string password = params.Value("PASSWORD");
  const std::string database = params.Value("DATABASE NAME");
  const std::u16string wideDsn = platform::ToUtf16(dsn), wideUser = platform::ToUtf16(user),
                       widePassword = platform::ToUtf16(password);
  // Set before connecting, or it is not applied. A driver that does not
  // know the attribute keeps its own wait.
  api->SQLSetConnectAttrW(dbc.Get(), kAttrLoginTimeout, reinterpret_cast<void*>(kLoginTimeoutSeconds), 0);
  // A connection string names the database itself; a data source the
  // driver manager knows is switched to it after connecting.
  bool catalogChosen = database.empty();
  if (!Succeeded(api->SQLConnectW(dbc.Get(), wideDsn.c_str(), kNts, wideUser.c_str(), kNts, widePassword.c_str(),
                                  kNts))) {
    const Diagnostic diagnostic = FirstDiagnostic(*api, kHandleDbc, dbc.Get());
    const std::optional<RegisteredDataSource> source =
        !driverManagerReadsRegistry_ && diagnostic.state == kUnknownDataSourceState
            ? ReadRegisteredDataSource(registry_, dsn)
            : std::nullopt;
    if (!source) RaiseDiagnostic(*api, kHandleDbc, dbc.Get(), "SQLConnectW");
    const std::u16string text = platform::ToUtf16(ConnectionString(*source, user, password, database));
    if (!Succeeded(api->SQLDriverConnectW(dbc.Get(), nullptr, text.c_str(), kNts, nullptr, 0, nullptr,
                                          kDriverNoPrompt))) {
      RaiseDiagnostic(*api, kHandleDbc, dbc.Get(), "SQLDriverConnectW");
    }
    catalogChosen = true;
  }
  auto connection = std::make_unique<OdbcConnection>(api, std::move(env), std::move(dbc));
  if (!catalogChosen) connection->SetCurrentCatalog(database);
  return connection;
}

}  // namespace mssql
