#include "mssql/OdbcApi.h"

#include <utility>

#include "platform/Utf16.h"

namespace mssql::odbc {

std::optional<Api> Api::Load(const std::string& libraryName) {
  // The driver manager keeps process-wide state it never frees (unixODBC
  // caches what it reads of its configuration files): unloaded after each
  // use, that memory would be lost and built anew every time, so once
  // loaded it stays.
  std::optional<platform::DynamicLibrary> library =
      platform::DynamicLibrary::Load(libraryName, platform::DynamicLibrary::Lifetime::Process);
  if (!library) return std::nullopt;
  Api api{std::move(*library)};
  const platform::DynamicLibrary& l = api.library;
  api.SQLAllocHandle = l.Function<AllocHandleFn>("SQLAllocHandle");
  api.SQLFreeHandle = l.Function<FreeHandleFn>("SQLFreeHandle");
  api.SQLSetEnvAttr = l.Function<SetEnvAttrFn>("SQLSetEnvAttr");
  api.SQLBrowseConnectW = l.Function<BrowseConnectWFn>("SQLBrowseConnectW");
  api.SQLConnectW = l.Function<ConnectWFn>("SQLConnectW");
  api.SQLDriverConnectW = l.Function<DriverConnectWFn>("SQLDriverConnectW");
  api.SQLSetConnectAttrW = l.Function<SetConnectAttrWFn>("SQLSetConnectAttrW");
  api.SQLDisconnect = l.Function<DisconnectFn>("SQLDisconnect");
  api.SQLExecDirectW = l.Function<ExecDirectWFn>("SQLExecDirectW");
  api.SQLNumResultCols = l.Function<NumResultColsFn>("SQLNumResultCols");
  api.SQLDescribeColW = l.Function<DescribeColWFn>("SQLDescribeColW");
  api.SQLFetch = l.Function<FetchFn>("SQLFetch");
  api.SQLGetData = l.Function<GetDataFn>("SQLGetData");
  api.SQLGetDiagRecW = l.Function<GetDiagRecWFn>("SQLGetDiagRecW");
  return api;
}

UniqueHandle::UniqueHandle(UniqueHandle&& other) noexcept
    : api_(other.api_), type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    Reset();
    api_ = other.api_;
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void UniqueHandle::Reset() {
  if (handle_ != nullptr && api_->SQLFreeHandle) api_->SQLFreeHandle(type_, handle_);
  handle_ = nullptr;
}

Diagnostic FirstDiagnostic(const Api& api, SmallInt type, Handle handle) {
  if (!api.SQLGetDiagRecW || handle == nullptr) return {};
  WChar state[6] = {};
  Integer native = 0;
  WChar message[1024] = {};
  SmallInt length = 0;
  if (!Succeeded(api.SQLGetDiagRecW(type, handle, 1, state, &native, message, 1024, &length))) return {};
  if (length < 0) length = 0;
  if (length > 1023) length = 1023;
  return {platform::FromUtf16(std::u16string_view(state)),
          platform::FromUtf16(std::u16string_view(message, static_cast<size_t>(length)))};
}

}  // namespace mssql::odbc
