#include "oracle/OciDriver.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "oracle/OciApi.h"
#include "platform/DynamicLibrary.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace oracle {
namespace {

using namespace oci;

// Room for a VARCHAR2 of 4000 characters of up to four UTF-8 bytes each.
constexpr size_t kColumnBufferSize = 4 * 4000 + 1;

// The library and every function used, found once at connection.
struct OciApi {
  explicit OciApi(const std::string& name) : library(Load(name)) {
    const auto need = [&](auto*& function, const char* functionName) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.Symbol(functionName));
      if (!function) throw platform::Error(platform::Format(kOciFunctionMissingMessage, {name, functionName}));
    };
    need(EnvNlsCreate, "OCIEnvNlsCreate");
    need(HandleAlloc, "OCIHandleAlloc");
    need(HandleFree, "OCIHandleFree");
    need(ErrorGet, "OCIErrorGet");
    need(Logon2, "OCILogon2");
    need(Logoff, "OCILogoff");
    need(StmtPrepare2, "OCIStmtPrepare2");
    need(StmtRelease, "OCIStmtRelease");
    need(StmtExecute, "OCIStmtExecute");
    need(AttrGet, "OCIAttrGet");
    need(ParamGet, "OCIParamGet");
    need(DescriptorFree, "OCIDescriptorFree");
    need(DefineByPos, "OCIDefineByPos");
    need(StmtFetch2, "OCIStmtFetch2");
  }

  static platform::DynamicLibrary Load(const std::string& name) {
    std::optional<platform::DynamicLibrary> library = platform::DynamicLibrary::Load(name);
    if (!library) throw platform::Error(platform::Format(kOciLibraryMissingMessage, {name}));
    return std::move(*library);
  }

  platform::DynamicLibrary library;
  decltype(&oci::OCIEnvNlsCreate) EnvNlsCreate = nullptr;
  decltype(&oci::OCIHandleAlloc) HandleAlloc = nullptr;
  decltype(&oci::OCIHandleFree) HandleFree = nullptr;
  decltype(&oci::OCIErrorGet) ErrorGet = nullptr;
  decltype(&oci::OCILogon2) Logon2 = nullptr;
  decltype(&oci::OCILogoff) Logoff = nullptr;
  decltype(&oci::OCIStmtPrepare2) StmtPrepare2 = nullptr;
  decltype(&oci::OCIStmtRelease) StmtRelease = nullptr;
  decltype(&oci::OCIStmtExecute) StmtExecute = nullptr;
  decltype(&oci::OCIAttrGet) AttrGet = nullptr;
  decltype(&oci::OCIParamGet) ParamGet = nullptr;
  decltype(&oci::OCIDescriptorFree) DescriptorFree = nullptr;
  decltype(&oci::OCIDefineByPos) DefineByPos = nullptr;
  decltype(&oci::OCIStmtFetch2) StmtFetch2 = nullptr;
};

const OraText* Text(const std::string& text) { return reinterpret_cast<const OraText*>(text.data()); }
ub4 Length(const std::string& text) { return static_cast<ub4>(text.size()); }

// One handle of the library, freed when the owner goes.
class OciHandle {
 public:
  OciHandle(const OciApi& api, ub4 type) : api_(api), type_(type) {}
  ~OciHandle() {
    if (handle_) api_.HandleFree(handle_, type_);
  }
  OciHandle(const OciHandle&) = delete;
  OciHandle& operator=(const OciHandle&) = delete;

  void** Out() { return &handle_; }
  template <typename T>
  T* As() const {
    return static_cast<T*>(handle_);
  }

 private:
  const OciApi& api_;
  ub4 type_;
  void* handle_ = nullptr;
};

// The environment, the error handle and the logged-on service context,
// released in the reverse order; statements share it.
class OciSession {
 public:
  OciSession(std::shared_ptr<const OciApi> api, const bde::ParameterList& params) : api_(std::move(api)) {
    const sword created = api_->EnvNlsCreate(reinterpret_cast<OCIEnv**>(env_.Out()), OCI_DEFAULT, nullptr, nullptr,
                                             nullptr, nullptr, 0, nullptr, kAl32Utf8, kAl32Utf8);
    if (created != OCI_SUCCESS) Raise(created, env_.As<void>(), OCI_HTYPE_ENV);
    const sword allocated = api_->HandleAlloc(env_.As<void>(), error_.Out(), OCI_HTYPE_ERROR, 0, nullptr);
    if (allocated != OCI_SUCCESS) Raise(allocated, env_.As<void>(), OCI_HTYPE_ENV);
    const std::string user = params.Value("USER NAME");
    const std::string password = params.Value("PASSWORD");
    const std::string service = params.Value("SERVER NAME");
    Check(api_->Logon2(env_.As<OCIEnv>(), ErrorHandle(), &service_, Text(user), Length(user), Text(password),
                       Length(password), Text(service), Length(service), OCI_DEFAULT));
  }
  ~OciSession() {
    if (service_) api_->Logoff(service_, ErrorHandle());
  }
  OciSession(const OciSession&) = delete;
  OciSession& operator=(const OciSession&) = delete;

  const OciApi& Api() const { return *api_; }
  OCIError* ErrorHandle() const { return error_.As<OCIError>(); }
  OCISvcCtx* Service() const { return service_; }

  // Success with information (a value cut to its buffer, say) is success.
  void Check(sword status) const {
    if (status != OCI_SUCCESS && status != OCI_SUCCESS_WITH_INFO) Raise(status, error_.As<void>(), OCI_HTYPE_ERROR);
  }

 private:
  [[noreturn]] void Raise(sword status, void* handle, ub4 handleType) const {
    OraText text[2048] = {};
    sb4 code = 0;
    if (handle == nullptr || api_->ErrorGet(handle, 1, nullptr, &code, text, sizeof text, handleType) != OCI_SUCCESS) {
      throw platform::Error("OCI " + std::to_string(status));
    }
    std::string message(reinterpret_cast<const char*>(text));
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    throw platform::Error(message);
  }

  std::shared_ptr<const OciApi> api_;
  OciHandle env_{*api_, OCI_HTYPE_ENV};
  OciHandle error_{*api_, OCI_HTYPE_ERROR};
  OCISvcCtx* service_ = nullptr;
};

// A prepared statement, released when the owner goes.
class OciStatement {
 public:
  explicit OciStatement(const OciSession& session) : session_(session) {}
  ~OciStatement() {
    if (handle) session_.Api().StmtRelease(handle, session_.ErrorHandle(), nullptr, 0, OCI_DEFAULT);
  }
  OciStatement(const OciStatement&) = delete;
  OciStatement& operator=(const OciStatement&) = delete;

  OCIStmt* handle = nullptr;

 private:
  const OciSession& session_;
};

class OciCursor : public bde::Cursor {
 public:
  OciCursor(std::shared_ptr<const OciSession> session, const std::string& sql) : session_(std::move(session)) {
    const OciApi& api = session_->Api();
    OCIError* error = session_->ErrorHandle();
    session_->Check(api.StmtPrepare2(session_->Service(), &statement_.handle, error, Text(sql), Length(sql), nullptr, 0,
                                     OCI_NTV_SYNTAX, OCI_DEFAULT));
    ub2 type = 0;
    session_->Check(api.AttrGet(statement_.handle, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, error));
    // A query is executed without fetching; the rows come with Fetch.
    const ub4 iterations = type == OCI_STMT_SELECT ? 0 : 1;
    session_->Check(
        api.StmtExecute(session_->Service(), statement_.handle, error, iterations, 0, nullptr, nullptr, OCI_DEFAULT));
    if (type != OCI_STMT_SELECT) return;
    ub4 count = 0;
    session_->Check(api.AttrGet(statement_.handle, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT, error));
    // The buffers are bound by address: reserved first, never moved after.
    columns_.reserve(count);
    for (ub4 position = 1; position <= count; ++position) {
      Column& column = columns_.emplace_back();
      column.name = ColumnName(position);
      column.value.assign(kColumnBufferSize, '\0');
      OCIDefine* define = nullptr;
      session_->Check(api.DefineByPos(statement_.handle, &define, error, position, column.value.data(),
                                      static_cast<sb4>(column.value.size()), SQLT_STR, &column.indicator, nullptr,
                                      nullptr, OCI_DEFAULT));
    }
  }

  bool Fetch() override {
    if (columns_.empty()) return false;
    const sword status =
        session_->Api().StmtFetch2(statement_.handle, session_->ErrorHandle(), 1, OCI_FETCH_NEXT, 0, OCI_DEFAULT);
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
    void* parameter = nullptr;
    session_->Check(api.ParamGet(statement_.handle, OCI_HTYPE_STMT, session_->ErrorHandle(), &parameter, position));
    OraText* text = nullptr;
    ub4 length = 0;
    const sword status = api.AttrGet(parameter, OCI_DTYPE_PARAM, &text, &length, OCI_ATTR_NAME, session_->ErrorHandle());
    std::string name = status == OCI_SUCCESS ? std::string(reinterpret_cast<const char*>(text), length) : "";
    api.DescriptorFree(parameter, OCI_DTYPE_PARAM);
    session_->Check(status);
    return name;
  }

  std::shared_ptr<const OciSession> session_;
  OciStatement statement_{*session_};
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

void UseOracleHomeClient(bde::Engine& engine, const std::string& homeFolder) {
  if (auto* client = dynamic_cast<OciConnectionDriver*>(engine.FindDriver(std::string(bde::kOracleDriver)))) {
    client->UseOracleHome(homeFolder);
  }
}

}  // namespace oracle
