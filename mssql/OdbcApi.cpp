#include "mssql/OdbcApi.h"

#include <type_traits>
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
#define KONFIGNOVERA_ODBC_FIND(name, parameters) \
  api.name = api.library.Function<std::remove_pointer_t<decltype(api.name)>>(#name);
  KONFIGNOVERA_ODBC_FUNCTIONS(KONFIGNOVERA_ODBC_FIND)
#undef KONFIGNOVERA_ODBC_FIND
  return api;
}

const char* Api::MissingConnectionFunction() const {
#define KONFIGNOVERA_ODBC_CHECK(name, parameters) \
  if (!name) return #name;
  KONFIGNOVERA_ODBC_CONNECTION_FUNCTIONS(KONFIGNOVERA_ODBC_CHECK)
#undef KONFIGNOVERA_ODBC_CHECK
  return nullptr;
}

Return AllocateHandle(const Api& api, SmallInt type, Handle input, UniqueSqlHandle& handle) {
  handle = UniqueSqlHandle(FreeHandle{&api, type});
  return api.SQLAllocHandle(type, input, handle.Put());
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
