#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "bde/Connection.h"

namespace bde {
class Session;
}

namespace oracle {

// The Oracle client library within a home's folder, loaded at run time from
// there, so that the libraries it brings along come from the same home.
#ifdef _WIN32
inline constexpr std::string_view kOciLibrary = "\\BIN\\oci.dll";
#else
inline constexpr std::string_view kOciLibrary = "/lib/libclntsh.so";
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
  // The client of the home that UseOracleHome names.
  OciConnectionDriver() = default;
  // The client library at that full path, whatever home is chosen.
  explicit OciConnectionDriver(std::string libraryPath) : libraryPath_(std::move(libraryPath)) {}

  // The home folder (ORACLE_HOME) whose client the next connection loads.
  void UseOracleHome(const std::string& folder) { homeFolder_ = folder; }

  std::unique_ptr<bde::Connection> Connect(const bde::ParameterList& params) override;

 private:
  std::string libraryPath_;
  std::string homeFolder_;
};

// Makes the session's Oracle connections load the client of that home,
// never one found elsewhere. A session whose "ORACLE" driver is another
// one (a test's stand-in) is left as it is.
void UseOracleHomeClient(bde::Session& session, const std::string& homeFolder);

}  // namespace oracle
