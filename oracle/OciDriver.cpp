#include "oracle/OciDriver.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "bde/Drivers.h"
#include "bde/Session.h"
#include "oracle/OciApi.h"
#include "platform/DynamicLibrary.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/UniqueHandle.h"

namespace oracle {
namespace {

using namespace oci;

// Room for a VARCHAR2 of 4000 characters of up to four UTF-8 bytes each.
constexpr size_t kColumnBufferSize = 4 * 4000 + 1;

// The library and every function used, found once at connection.
struct OciApi {
  explicit OciApi(const std::string& name) : library(Load(name)) {
#define KONFIGNOVERA_OCI_FIND(function, parameters)                                                      \
  function = library.Function<std::remove_pointer_t<decltype(function)>>(#function);                     \
  if (!function) throw platform::Error(platform::Format(kOciFunctionMissingMessage, {name, #function}));
    KONFIGNOVERA_OCI_FUNCTIONS(KONFIGNOVERA_OCI_FIND)
#undef KONFIGNOVERA_OCI_FIND
  }

  static platform::DynamicLibrary Load(const std::string& name) {
    std::optional<platform::DynamicLibrary> library = platform::DynamicLibrary::Load(name);
    if (!library) throw platform::Error(platform::Format(kOciLibraryMissingMessage, {name}));
    return std::move(*library);
  }

  platform::DynamicLibrary library;
#define KONFIGNOVERA_OCI_MEMBER(function, parameters) decltype(&oci::function) function = nullptr;
  KONFIGNOVERA_OCI_FUNCTIONS(KONFIGNOVERA_OCI_MEMBER)
#undef KONFIGNOVERA_OCI_MEMBER
};

// The owners of what the library hands out, each closed through the table.
struct FreeHandle {
  const OciApi* api = nullptr;
  ub4 type = 0;
  void operator()(void* handle) const { api->OCIHandleFree(handle, type); }
};
struct FreeDescriptor {
  const OciApi* api = nullptr;
  ub4 type = 0;
  void operator()(void* descriptor) const { api->OCIDescriptorFree(descriptor, type); }
};
struct LogOff {
  const OciApi* api = nullptr;
  OCIError* error = nullptr;
  void operator()(OCISvcCtx* service) const { api->OCILogoff(service, error); }
};
struct ReleaseStatement {
  const OciApi* api = nullptr;
  OCIError* error = nullptr;
  void operator()(OCIStmt* statement) const { api->OCIStmtRelease(statement, error, nullptr, 0, OCI_DEFAULT); }
};
template <typename Handle>
using UniqueOciHandle = platform::UniqueHandle<Handle*, FreeHandle>;
using UniqueDescriptor = platform::UniqueHandle<void*, FreeDescriptor>;
using UniqueService = platform::UniqueHandle<OCISvcCtx*, LogOff>;
using UniqueStatement = platform::UniqueHandle<OCIStmt*, ReleaseStatement>;

const OraText* Text(const std::string& text) { return reinterpret_cast<const OraText*>(text.data()); }
ub4 Length(const std::string& text) { return static_cast<ub4>(text.size()); }

// The environment, the error handle and the logged-on service context,
// released in the reverse order; statements share it.
class OciSession {
 public:
  OciSession(std::shared_ptr<const OciApi> api, const bde::ParameterList& params) : api_(std::move(api)) {
    const sword created = api_->OCIEnvNlsCreate(env_.Put(), OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr, 0,
                                                nullptr, kAl32Utf8, kAl32Utf8);
    if (created != OCI_SUCCESS) Raise(created, env_.Get(), OCI_HTYPE_ENV);
    const sword allocated =
        api_->OCIHandleAlloc(env_.Get(), reinterpret_cast<void**>(error_.Put()), OCI_HTYPE_ERROR, 0, nullptr);
    if (allocated != OCI_SUCCESS) Raise(allocated, env_.Get(), OCI_HTYPE_ENV);
    const std::string user = params.Value("USER NAME");
    const std::string password = params.Value("PASSWORD");
    const std::string service = params.Value("SERVER NAME");
    service_ = UniqueService(LogOff{api_.get(), ErrorHandle()});
    Check(api_->OCILogon2(env_.Get(), ErrorHandle(), service_.Put(), Text(user), Length(user), Text(password),
                          Length(password), Text(service), Length(service), OCI_DEFAULT));
  }

  const OciApi& Api() const { return *api_; }
  OCIError* ErrorHandle() const { return error_.Get(); }
  OCISvcCtx* Service() const { return service_.Get(); }

  // Success with information (a value cut to its buffer, say) is success.
  void Check(sword status) const {
    if (status != OCI_SUCCESS && status != OCI_SUCCESS_WITH_INFO) Raise(status, error_.Get(), OCI_HTYPE_ERROR);
  }

 private:
  [[noreturn]] void Raise(sword status, void* handle, ub4 handleType) const {
    OraText text[2048] = {};
    sb4 code = 0;
    if (handle == nullptr ||
        api_->OCIErrorGet(handle, 1, nullptr, &code, text, sizeof text, handleType) != OCI_SUCCESS) {
      throw platform::Error("OCI " + std::to_string(status));
    }
    std::string message(reinterpret_cast<const char*>(text));
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    throw platform::Error(message);
  }

  std::shared_ptr<const OciApi> api_;
  UniqueOciHandle<OCIEnv> env_{FreeHandle{api_.get(), OCI_HTYPE_ENV}};
  UniqueOciHandle<OCIError> error_{FreeHandle{api_.get(), OCI_HTYPE_ERROR}};
  UniqueService service_;
};

class OciCursor : public bde::Cursor {
 public:
  OciCursor(std::shared_ptr<const OciSession> session, const std::string& sql) : session_(std::move(session)) {
    const OciApi& api = session_->Api();
    OCIError* error = session_->ErrorHandle();
    session_->Check(api.OCIStmtPrepare2(session_->Service(), statement_.Put(), error, Text(sql), Length(sql), nullptr,
                                        0, OCI_NTV_SYNTAX, OCI_DEFAULT));
    ub2 type = 0;
    session_->Check(api.OCIAttrGet(statement_.Get(), OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, error));
    // A query is executed without fetching; the rows come with Fetch.
    const ub4 iterations = type == OCI_STMT_SELECT ? 0 : 1;
    session_->Check(api.OCIStmtExecute(session_->Service(), statement_.Get(), error, iterations, 0, nullptr, nullptr,
                                       OCI_DEFAULT));
    if (type != OCI_STMT_SELECT) return;
    ub4 count = 0;
    session_->Check(api.OCIAttrGet(statement_.Get(), OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT, error));
    // The buffers are bound by address: reserved first, never moved after.
    columns_.reserve(count);
    for (ub4 position = 1; position <= count; ++position) {
      Column& column = columns_.emplace_back();
      column.name = ColumnName(position);
      column.value.assign(kColumnBufferSize, '\0');
      OCIDefine* define = nullptr;
      session_->Check(api.OCIDefineByPos(statement_.Get(), &define, error, position, column.value.data(),
                                         static_cast<sb4>(column.value.size()), SQLT_STR, &column.indicator, nullptr,
                                         nullptr, OCI_DEFAULT));
    }
  }

  bool Fetch() override {
    if (columns_.empty()) return false;
    const sword status =
        session_->Api().OCIStmtFetch2(statement_.Get(), session_->ErrorHandle(), 1, OCI_FETCH_NEXT, 0, OCI_DEFAULT);
    if (status == OCI_NO_DATA) return false;
    session_->Check(status);
    return true;
  }

  std::string Field(std::string_view name) const override {
    for (const Column& column : columns_) {
      if (!platform::EqualsNoCase(column.name, name)) continue;
      if (column.indicator == -1) return {};  // NULL
      return std::string(column.value.data());
    }
    return {};
  }

 private:
  struct Column {
    std::string name;
    std::vector<char> value;
    sb2 indicator = 0;
  };

  std::string ColumnName(ub4 position) {
    const OciApi& api = session_->Api();
    UniqueDescriptor parameter(FreeDescriptor{&api, OCI_DTYPE_PARAM});
    session_->Check(
        api.OCIParamGet(statement_.Get(), OCI_HTYPE_STMT, session_->ErrorHandle(), parameter.Put(), position));
    OraText* text = nullptr;
    ub4 length = 0;
    const sword status =
        api.OCIAttrGet(parameter.Get(), OCI_DTYPE_PARAM, &text, &length, OCI_ATTR_NAME, session_->ErrorHandle());
    session_->Check(status);
    return status == OCI_SUCCESS ? std::string(reinterpret_cast<const char*>(text), length) : "";
  }

  std::shared_ptr<const OciSession> session_;
  UniqueStatement statement_{ReleaseStatement{&session_->Api(), session_->ErrorHandle()}};
  std::vector<Column> columns_;
};

class OciConnection : public bde::Connection {
 public:
  explicit OciConnection(std::shared_ptr<const OciSession> session) : session_(std::move(session)) {}
  std::unique_ptr<bde::Cursor> Execute(const std::string& sql) override {
    return std::make_unique<OciCursor>(session_, sql);
  }

 private:
  std::shared_ptr<const OciSession> session_;
};

}  // namespace

std::unique_ptr<bde::Connection> OciConnectionDriver::Connect(const bde::ParameterList& params) {
  // On Windows, without a home chosen the path is not a full one and is
  // refused: no client is taken from anywhere else.
  const std::string library = libraryPath_.empty() ? homeFolder_ + std::string(kOciLibrary) : libraryPath_;
  auto api = std::make_shared<const OciApi>(library);
  return std::make_unique<OciConnection>(std::make_shared<const OciSession>(std::move(api), params));
}

void UseOracleHomeClient(bde::Session& session, const std::string& homeFolder) {
  if (auto* client = dynamic_cast<OciConnectionDriver*>(session.FindDriver(std::string(bde::kOracleDriver)))) {
    client->UseOracleHome(homeFolder);
  }
}

}  // namespace oracle
