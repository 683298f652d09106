#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "bde/Connection.h"

namespace oracle {

// The Oracle client library, loaded at run time.
#ifdef _WIN32
inline constexpr std::string_view kOciLibrary = "oci.dll";
#else
inline constexpr std::string_view kOciLibrary = "libclntsh.so";
#endif

// %s: the library's name.
inline constexpr std::string_view kOciLibraryMissingMessage = "Nie można załadować biblioteki klienta Oracle \"%s\"";
// %s: the library's name, the function's name.
inline constexpr std::string_view kOciFunctionMissingMessage = "Biblioteka \"%s\" nie zawiera funkcji %s";

// The engine's "ORACLE" connection driver, over the Oracle Call Interface.
// It logs on to the service "SERVER NAME" as "USER NAME" with "PASSWORD"
// (the name in any letter case), runs one statement at a time and returns
// its rows as text by column name. Text travels as UTF-8 whatever NLS_LANG
// says. A missing library or function, a refused logon and a failed
// statement raise platform::Error with the client's message.
class OciConnectionDriver : public bde::ConnectionDriver {
 public:
  explicit OciConnectionDriver(std::string libraryName = std::string(kOciLibrary))
      : libraryName_(std::move(libraryName)) {}

  std::unique_ptr<bde::Connection> Connect(const bde::ParameterList& params) override;

 private:
  std::string libraryName_;
};

}  // namespace oracle
