#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bde/AliasEngine.h"
#include "bde/IdapiApi.h"

namespace platform {
class CodePage;
class DynamicLibrary;
class Registry;
}  // namespace platform

namespace bde {

// Where the installed BDE keeps its library: the folder named by
// HKEY_LOCAL_MACHINE "\SOFTWARE\Borland\Database Engine" "DLLPATH".
inline constexpr std::string_view kDllPathValue = "DLLPATH";
inline constexpr std::string_view kIdapiLibraryName = "idapi32.dll";

// %s: where the library was looked for.
inline constexpr std::string_view kNoInstalledEngineNote = "Nie znaleziono zainstalowanego BDE (%s)";
// %s: the library's path.
inline constexpr std::string_view kIdapiLoadFailedMessage = "Nie można załadować biblioteki BDE \"%s\"";
// %s: the library's path, then the function's name.
inline constexpr std::string_view kIdapiFunctionMissingMessage =
    "Biblioteka BDE \"%s\" nie zawiera funkcji \"%s\"";
// %s: the value, then the alias name.
inline constexpr std::string_view kNotInCodePageMessage =
    "Wartości \"%s\" aliasu BDE \"%s\" nie można zapisać w stronie kodowej BDE";
// %s: the record size the engine gives, then the size declared here.
inline constexpr std::string_view kRecordSizeMessage =
    "Rekord BDE ma %s bajtów zamiast %s: ta wersja BDE nie jest obsługiwana";
// %s: the parameter's name, then the alias name.
inline constexpr std::string_view kValueTooLongMessage =
    "Wartość parametru \"%s\" aliasu BDE \"%s\" jest za długa";

struct InstalledEngineSearch {
  std::optional<std::string> library;  // the full path, when the file is there
  std::string note;                    // else kNoInstalledEngineNote, saying where we looked
};

// Looks in the registry's 32-bit view, where the 32-bit engine keeps its key.
InstalledEngineSearch FindInstalledEngine(platform::Registry& registry);

// The library's entry points; raises kIdapiFunctionMissingMessage.
idapi::Functions LoadIdapiFunctions(const platform::DynamicLibrary& library, const std::string& path);

// The installed BDE's own aliases, through its API: what it saves is what
// the suite's programs read. Names and values cross the API in the OEM
// code page, as the engine's own components pass them; a value that code
// page cannot hold raises kNotInCodePageMessage before any call. Every
// failed call raises the engine's own message text with its context.
class InstalledEngine final : public AliasEngine {
 public:
  // Starts the engine with no environment, so that it finds its own
  // configuration; raises the engine's error when it does not start.
  InstalledEngine(const idapi::Functions& api, const platform::CodePage& codePage);
  // Ends the engine, once.
  ~InstalledEngine() override;
  InstalledEngine(const InstalledEngine&) = delete;
  InstalledEngine& operator=(const InstalledEngine&) = delete;

  void SetConfigurationMode(ConfigurationMode mode) override { mode_ = mode; }
  ConfigurationMode GetConfigurationMode() const override { return mode_; }

  std::vector<std::string> ListAliases() override;
  std::string AliasDriver(const std::string& name) override;
  // As the engine holds them: "DB OPEN" of an SQL driver's alias, "DB
  // INFO" without its TYPE for a STANDARD one.
  ParameterList ReadAliasParameters(const std::string& name) override;
  // Passes the parameters the driver defines (all of them for a driver we
  // do not know), so a template's password never reaches the engine.
  void CreateAlias(const std::string& name, const std::string& driver, const ParameterList& params) override;
  Alias NewAlias(const std::string& name, const std::string& driver, const ParameterList& params) const override;
  void CreateStandardAlias(const std::string& name, const std::string& path,
                           const std::string& defaultDriver) override;
  // A value longer than the engine's record holds raises
  // kValueTooLongMessage, like an unconvertible one before any call.
  void UpdateAlias(const std::string& name, const ParameterList& params) override;
  void DeleteAlias(const std::string& name) override;
  void SaveConfiguration() override;

 private:
  void Check(idapi::DBIResult result) const;
  // The engine's record size; raises kRecordSizeMessage when it is smaller
  // than the structure declared here.
  size_t RecordSize(idapi::hDBICur cursor, size_t declared) const;
  // Hands each record of an open cursor to visit as (Record&, void*): our
  // structure, and the engine's whole record, which a visit that hands the
  // record back to the engine passes after copying its structure over the
  // start.
  template <typename Record, typename Visit>
  void ForEachRecord(idapi::hDBICur cursor, Visit visit) const;
  std::string ToEngine(std::string_view text, const std::string& aliasName) const;
  std::string FromEngine(const char* text, size_t capacity) const;
  std::string SectionPath(const std::string& name);
  std::string ParameterString(const std::vector<std::pair<std::string, std::string>>& params,
                              const std::string& aliasName) const;

  const idapi::Functions api_;
  const platform::CodePage& codePage_;
  ConfigurationMode mode_ = ConfigurationMode::Session;
  bool changed_ = false;
};

}  // namespace bde
