#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/DynamicLibrary.h"
#include "platform/UniqueHandle.h"

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

// The entry points used, each named once: X(name, parameter list); every
// one returns a Return. First those a connection needs, in the order they
// are checked, then the one only the browse of servers uses.
#define KONFIGNOVERA_ODBC_CONNECTION_FUNCTIONS(X)                                                           \
  X(SQLAllocHandle, (SmallInt type, Handle input, Handle* output))                                          \
  X(SQLFreeHandle, (SmallInt type, Handle handle))                                                          \
  X(SQLSetEnvAttr, (Handle env, Integer attribute, void* value, Integer length))                            \
  X(SQLConnectW, (Handle dbc, const WChar* dsn, SmallInt dsnLength, const WChar* user, SmallInt userLength, \
                  const WChar* password, SmallInt passwordLength))                                          \
  X(SQLDriverConnectW, (Handle dbc, void* window, const WChar* in, SmallInt inLength, WChar* out,           \
                        SmallInt outSize, SmallInt* outLength, USmallInt completion))                       \
  X(SQLSetConnectAttrW, (Handle dbc, Integer attribute, void* value, Integer length))                       \
  X(SQLDisconnect, (Handle dbc))                                                                            \
  X(SQLExecDirectW, (Handle stmt, const WChar* text, Integer length))                                       \
  X(SQLNumResultCols, (Handle stmt, SmallInt* count))                                                       \
  X(SQLDescribeColW, (Handle stmt, USmallInt column, WChar* name, SmallInt nameSize, SmallInt* nameLength,  \
                      SmallInt* type, ULen* size, SmallInt* digits, SmallInt* nullable))                    \
  X(SQLFetch, (Handle stmt))                                                                                \
  X(SQLGetData, (Handle stmt, USmallInt column, SmallInt targetType, void* target, Len targetSize,          \
                 Len* indicator))                                                                           \
  X(SQLGetDiagRecW, (SmallInt type, Handle handle, SmallInt record, WChar* state, Integer* nativeError,     \
                     WChar* message, SmallInt messageSize, SmallInt* messageLength))
#define KONFIGNOVERA_ODBC_BROWSE_FUNCTIONS(X)                                                         \
  X(SQLBrowseConnectW, (Handle dbc, const WChar* in, SmallInt inLength, WChar* out, SmallInt outSize, \
                        SmallInt* outLength))
#define KONFIGNOVERA_ODBC_FUNCTIONS(X) KONFIGNOVERA_ODBC_CONNECTION_FUNCTIONS(X) KONFIGNOVERA_ODBC_BROWSE_FUNCTIONS(X)

// Declared only to type the table below. Whatever stands in for the
// driver manager defines them from this same list, so caller and callee
// agree on every function type.
extern "C" {
#define KONFIGNOVERA_ODBC_DECLARE(name, parameters) Return KN_ODBC_API name parameters;
KONFIGNOVERA_ODBC_FUNCTIONS(KONFIGNOVERA_ODBC_DECLARE)
#undef KONFIGNOVERA_ODBC_DECLARE
}

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
#define KONFIGNOVERA_ODBC_MEMBER(name, parameters) decltype(&::mssql::odbc::name) name = nullptr;
  KONFIGNOVERA_ODBC_FUNCTIONS(KONFIGNOVERA_ODBC_MEMBER)
#undef KONFIGNOVERA_ODBC_MEMBER

  // Empty when the library cannot be loaded.
  static std::optional<Api> Load(const std::string& libraryName);

  // The name of the first function a connection needs that the library
  // lacks; null when it has them all.
  const char* MissingConnectionFunction() const;
};

// Frees an ODBC handle of its type through the driver manager that handed
// it out.
struct FreeHandle {
  const Api* api = nullptr;
  SmallInt type = 0;
  void operator()(Handle handle) const {
    if (api->SQLFreeHandle) api->SQLFreeHandle(type, handle);
  }
};
using UniqueSqlHandle = platform::UniqueHandle<Handle, FreeHandle>;

// Allocates a handle of the type under input into handle, which owns
// whatever the driver manager hands out, on failure too.
Return AllocateHandle(const Api& api, SmallInt type, Handle input, UniqueSqlHandle& handle);

// The first diagnostic record of a handle: its SQLSTATE and message text.
struct Diagnostic {
  std::string state;
  std::string message;
};
Diagnostic FirstDiagnostic(const Api& api, SmallInt type, Handle handle);

}  // namespace mssql::odbc
