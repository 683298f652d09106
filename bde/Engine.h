#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bde/Alias.h"
#include "bde/AliasEngine.h"
#include "bde/ParameterList.h"

namespace platform {
class Registry;
}

namespace bde {

// Where the BDE installation names its configuration file.
inline constexpr std::string_view kBdeKeyPath = "\\SOFTWARE\\Borland\\Database Engine";
inline constexpr std::string_view kConfigFileValue = "CONFIGFILE01";

// %s: the alias name.
inline constexpr std::string_view kAliasMissingMessage = "Alias BDE \"%s\" nie istnieje";
inline constexpr std::string_view kAliasExistsMessage = "Alias BDE \"%s\" już istnieje";
inline constexpr std::string_view kEmptyAliasNameMessage = "Nazwa aliasu BDE nie może być pusta";
// %s: the driver name.
inline constexpr std::string_view kUnknownDriverMessage = "Nieznany sterownik BDE \"%s\"";

// Our own BDE engine: the default session's aliases, kept in a
// configuration file of our own text format (the session's connections are
// kept by Session). Every failure raises platform::Error with the message
// text.
//
// The file is the one named by HKEY_LOCAL_MACHINE
// "\SOFTWARE\Borland\Database Engine" "CONFIGFILE01", else the default
// passed in. It is loaded at the first alias operation, not at
// construction, so a bad file is reported where the user can act on it.
// A file that is not in our format, or is damaged, is never overwritten.
//
// An alias stores exactly the parameters its driver defines (Drivers.h), so
// a template's password line is dropped; aliases of drivers we do not know
// are kept as the file holds them and are never changed.
class Engine : public AliasEngine {
 public:
  Engine(platform::Registry& registry, std::string defaultConfigFile);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  void SetConfigurationMode(ConfigurationMode mode) override { mode_ = mode; }
  ConfigurationMode GetConfigurationMode() const override { return mode_; }

  // Added to the message about a file that is not ours: why the installed
  // BDE, whose file it may well be, was not used.
  void SetNoInstalledEngineNote(std::string note) { noInstalledEngineNote_ = std::move(note); }

  // The file named by "CONFIGFILE01" when that value exists and is not
  // empty, else the default; looked up again at every load.
  std::string ConfigFilePath() const;

  std::vector<std::string> ListAliases() override;
  std::string AliasDriver(const std::string& name) override;
  ParameterList ReadAliasParameters(const std::string& name) override;
  void CreateAlias(const std::string& name, const std::string& driver, const ParameterList& params) override;
  Alias NewAlias(const std::string& name, const std::string& driver, const ParameterList& params) const override;
  void CreateStandardAlias(const std::string& name, const std::string& path,
                           const std::string& defaultDriver) override;
  // Only parameters the alias has and its driver defines take new values.
  void UpdateAlias(const std::string& name, const ParameterList& params) override;
  void DeleteAlias(const std::string& name) override;
  // Aliases this session did not touch are kept as the file holds them now.
  void SaveConfiguration() override;
  std::optional<std::string> OwnConfigurationFile() const override;

 private:
  AliasStore& Store();
  Alias& ExistingAlias(const std::string& name);
  void AddAlias(Alias alias);
  void Touch(const std::string& name);
  AliasStore ReadFile(const std::string& path) const;

  platform::Registry& registry_;
  std::string defaultConfigFile_;
  std::string noInstalledEngineNote_;
  ConfigurationMode mode_ = ConfigurationMode::Session;
  std::optional<AliasStore> store_;
  std::string loadedFrom_;
  std::vector<std::string> touched_;  // names added or modified since the last save
  std::vector<std::string> deleted_;  // names deleted since the last save
};

}  // namespace bde
