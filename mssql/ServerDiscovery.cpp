#include "mssql/ServerDiscovery.h"

#include "mssql/OdbcApi.h"
#include "platform/DelimitedText.h"
#include "platform/ServerNetwork.h"
#include "platform/Text.h"
#include "platform/Utf16.h"

namespace mssql {
namespace {

constexpr std::string_view kServerItem = "SERVER:Server";
constexpr size_t kBrowseAnswerSize = 1024;

void RemoveFirst(std::string& text, char c) {
  const size_t at = text.find(c);
  if (at != std::string::npos) text.erase(at, 1);
}

// The driver's browse answer, or nothing when any step of the exchange
// does not answer exactly as expected.
std::optional<std::string> BrowseAnswer(const std::string& libraryName) {
  using namespace odbc;
  std::optional<Api> api = Api::Load(libraryName);
  if (!api || !api->SQLAllocHandle || !api->SQLSetEnvAttr || !api->SQLBrowseConnectW) return std::nullopt;

  // Only exact success counts, but a handle handed out with a warning is
  // still ours to free.
  UniqueSqlHandle env;
  if (AllocateHandle(*api, kHandleEnv, nullptr, env) != kSuccess) return std::nullopt;
  if (api->SQLSetEnvAttr(env.Get(), kAttrOdbcVersion, reinterpret_cast<void*>(kOdbcVersion3), 0) != kSuccess) {
    return std::nullopt;
  }
  UniqueSqlHandle dbc;
  if (AllocateHandle(*api, kHandleDbc, env.Get(), dbc) != kSuccess) return std::nullopt;

  const std::u16string request = platform::ToUtf16("DRIVER=SQL Native Client");
  WChar answer[kBrowseAnswerSize] = {};
  SmallInt length = 0;
  const Return result = api->SQLBrowseConnectW(dbc.Get(), request.c_str(), static_cast<SmallInt>(request.size()),
                                               answer, kBrowseAnswerSize, &length);
  // A connection left browsing, or made at once, must be disconnected
  // before it is freed.
  if ((result == kNeedData || Succeeded(result)) && api->SQLDisconnect) api->SQLDisconnect(dbc.Get());
  if (result != kNeedData) return std::nullopt;
  answer[kBrowseAnswerSize - 1] = 0;
  return platform::FromUtf16(std::u16string_view(answer));
}

}  // namespace

std::vector<std::string> ServersFromBrowseAnswer(std::string_view answer) {
  std::string value;
  for (const std::string& item : platform::SplitDelimited(answer, ';')) {
    const size_t equals = item.find('=');
    if (equals != std::string::npos && platform::EqualsAsciiNoCase(item.substr(0, equals), kServerItem)) {
      value = item.substr(equals + 1);
      break;
    }
  }
  RemoveFirst(value, '{');
  RemoveFirst(value, '}');
  if (value.empty()) return {};
  return platform::SplitDelimited(value, ',');
}

std::optional<std::string> InstanceEntry(std::string_view server, std::string_view serviceName) {
  const std::string upper = platform::AsciiUpper(serviceName);
  if (upper != "MSSQLSERVER" && upper.rfind("MSSQL$", 0) != 0) return std::nullopt;
  const size_t dollar = serviceName.find('$');
  const std::string_view instance =
      dollar == std::string_view::npos ? std::string_view() : serviceName.substr(dollar + 1);
  if (instance.empty()) return std::string(server);
  return std::string(server) + "\\" + std::string(instance);
}

void ServerDiscovery::FillServerList(bool browse, std::vector<std::string>& list) {
  if (browse) {
    ListServersByBrowse(list);
  } else {
    ListServersByNetwork(list);
  }
}

void ServerDiscovery::ListServersByBrowse(std::vector<std::string>& list) {
  if (const std::optional<std::string> answer = BrowseAnswer(odbcLibrary_)) list = ServersFromBrowseAnswer(*answer);
}

void ServerDiscovery::ListServersByNetwork(std::vector<std::string>& list) {
  const std::optional<std::vector<std::string>> machines = network_.SqlServerMachines();
  if (!machines) return;
  list.clear();
  for (const std::string& machine : *machines) AddServerInstances(machine, list);
}

void ServerDiscovery::AddServerInstances(const std::string& server, std::vector<std::string>& list) {
  const std::optional<std::vector<std::string>> services = network_.Services(server);
  if (!services) return;
  for (const std::string& service : *services) {
    if (std::optional<std::string> entry = InstanceEntry(server, service)) list.push_back(std::move(*entry));
  }
}

}  // namespace mssql
