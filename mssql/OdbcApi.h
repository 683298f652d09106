#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/DynamicLibrary.h"

// The few ODBC driver manager functions we call, loaded at run time, with
// their types declared here so no system ODBC header (and with it
// <windows.h>) is needed. Only the wide entry points are used: SQLWCHAR is
// UTF-16 in Windows' odbc32 and in unixODBC alike, and Wine's odbc32
// aborts the whole process on most "A" functions.
namespace mssql::odbc {

#if defined(_WIN32)
#define KN_ODBC_API __stdcall
#else
#define KN_ODBC_API
#endif

using Handle = void*;
using Return = int16_t;
using SmallInt = int16_t;
using USmallInt = uint16_t;
using Integer = int32_t;
using Len = intptr_t;  // SQLLEN: 32 bits on Win32, 64 bits in 64-bit unixODBC
using ULen = uintptr_t;
using WChar = char16_t;

inline constexpr Return kSuccess = 0;
inline constexpr Return kSuccessWithInfo = 1;
inline constexpr Return kNeedData = 99;
inline constexpr Return kNoData = 100;
inline constexpr SmallInt kHandleEnv = 1;
inline constexpr SmallInt kHandleDbc = 2;
inline constexpr SmallInt kHandleStmt = 3;
inline constexpr Integer kAttrOdbcVersion = 200;
inline constexpr uintptr_t kOdbcVersion3 = 3;
inline constexpr Integer kAttrCurrentCatalog = 109;
inline constexpr Integer kAttrLoginTimeout = 103;
inline constexpr SmallInt kNts = -3;
inline constexpr Len kNullData = -1;
inline constexpr SmallInt kCWChar = -8;
inline constexpr USmallInt kDriverNoPrompt = 0;

inline bool Succeeded(Return result) { return result == kSuccess || result == kSuccessWithInfo; }

typedef Return(KN_ODBC_API AllocHandleFn)(SmallInt type, Handle input, Handle* output);
typedef Return(KN_ODBC_API FreeHandleFn)(SmallInt type, Handle handle);
typedef Return(KN_ODBC_API SetEnvAttrFn)(Handle env, Integer attribute, void* value, Integer length);
typedef Return(KN_ODBC_API BrowseConnectWFn)(Handle dbc, const WChar* in, SmallInt inLength, WChar* out,
                                             SmallInt outSize, SmallInt* outLength);
typedef Return(KN_ODBC_API ConnectWFn)(Handle dbc, const WChar* dsn, SmallInt dsnLength, const WChar* user,
                                       SmallInt userLength, const WChar* password, SmallInt passwordLength);
typedef Return(KN_ODBC_API DriverConnectWFn)(Handle dbc, void* window, const WChar* in, SmallInt inLength,
                                             WChar* out, SmallInt outSize, SmallInt* outLength,
                                             USmallInt completion);
typedef Return(KN_ODBC_API SetConnectAttrWFn)(Handle dbc, Integer attribute, void* value, Integer length);
typedef Return(KN_ODBC_API DisconnectFn)(Handle dbc);
typedef Return(KN_ODBC_API ExecDirectWFn)(Handle stmt, const WChar* text, Integer length);
typedef Return(KN_ODBC_API NumResultColsFn)(Handle stmt, SmallInt* count);
typedef Return(KN_ODBC_API DescribeColWFn)(Handle stmt, USmallInt column, WChar* name, SmallInt nameSize,
                                           SmallInt* nameLength, SmallInt* type, ULen* size, SmallInt* digits,
                                           SmallInt* nullable);
typedef Return(KN_ODBC_API FetchFn)(Handle stmt);
typedef Return(KN_ODBC_API GetDataFn)(Handle stmt, USmallInt column, SmallInt targetType, void* target,
                                      Len targetSize, Len* indicator);
typedef Return(KN_ODBC_API GetDiagRecWFn)(SmallInt type, Handle handle, SmallInt record, WChar* state,
                                          Integer* nativeError, WChar* message, SmallInt messageSize,
                                          SmallInt* messageLength);

// The driver manager of this system, and whether it finds the data sources
// that the wizard writes into the registry: Windows' own does; another
// keeps a list of its own.
#if defined(_WIN32)
inline constexpr char kDriverManagerLibrary[] = "odbc32.dll";
inline constexpr bool kDriverManagerReadsRegistry = true;
#else
inline constexpr char kDriverManagerLibrary[] = "libodbc.so.2";
inline constexpr bool kDriverManagerReadsRegistry = false;
#endif

// The driver manager's functions; a null pointer is a function the library
// lacks. The library stays loaded as long as the object.
struct Api {
  platform::DynamicLibrary library;
  AllocHandleFn* SQLAllocHandle = nullptr;
  FreeHandleFn* SQLFreeHandle = nullptr;
  SetEnvAttrFn* SQLSetEnvAttr = nullptr;
  BrowseConnectWFn* SQLBrowseConnectW = nullptr;
  ConnectWFn* SQLConnectW = nullptr;
  DriverConnectWFn* SQLDriverConnectW = nullptr;
  SetConnectAttrWFn* SQLSetConnectAttrW = nullptr;
  DisconnectFn* SQLDisconnect = nullptr;
  ExecDirectWFn* SQLExecDirectW = nullptr;
  NumResultColsFn* SQLNumResultCols = nullptr;
  DescribeColWFn* SQLDescribeColW = nullptr;
  FetchFn* SQLFetch = nullptr;
  GetDataFn* SQLGetData = nullptr;
  GetDiagRecWFn* SQLGetDiagRecW = nullptr;

  // Empty when the library cannot be loaded.
  static std::optional<Api> Load(const std::string& libraryName);
};

// One ODBC handle, freed when the owner goes. Move-only.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  UniqueHandle(const Api& api, SmallInt type, Handle handle) : api_(&api), type_(type), handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept;
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  SmallInt Type() const { return type_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset();

 private:
  const Api* api_ = nullptr;
  SmallInt type_ = 0;
  Handle handle_ = nullptr;
};

// The first diagnostic record of a handle: its SQLSTATE and message text.
struct Diagnostic {
  std::string state;
  std::string message;
};
Diagnostic FirstDiagnostic(const Api& api, SmallInt type, Handle handle);

}  // namespace mssql::odbc
