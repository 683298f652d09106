#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bde/Alias.h"
#include "bde/ParameterList.h"

namespace bde {

enum class ConfigurationMode { Session, Persistent };

// The alias operations the wizard needs of a BDE engine, on its default
// session. Every failure raises platform::Error with the message text.
// Two engines do this work: our own, over a file of ours, on machines
// without the BDE, and the installed BDE through its own library.
class AliasEngine {
 public:
  virtual ~AliasEngine() = default;

  virtual void SetConfigurationMode(ConfigurationMode mode) = 0;
  virtual ConfigurationMode GetConfigurationMode() const = 0;

  virtual std::vector<std::string> ListAliases() = 0;
  virtual std::string AliasDriver(const std::string& name) = 0;
  virtual ParameterList ReadAliasParameters(const std::string& name) = 0;
  virtual void CreateAlias(const std::string& name, const std::string& driver, const ParameterList& params) = 0;
  // An empty default driver means "PARADOX".
  virtual void CreateStandardAlias(const std::string& name, const std::string& path,
                                   const std::string& defaultDriver) = 0;
  // Each parameter the alias has and the list names takes the list's
  // value; the others keep theirs.
  virtual void UpdateAlias(const std::string& name, const ParameterList& params) = 0;
  // Removes the alias; the next save removes it from the configuration.
  virtual void DeleteAlias(const std::string& name) = 0;
  // Writes every alias added, modified or deleted so far (persistent mode
  // only).
  virtual void SaveConfiguration() = 0;

  // The driver and parameters CreateAlias would give a new alias, as far
  // as the engine can tell without creating it, so that a preview of a run
  // shows what the run would leave. Raises what CreateAlias raises for the
  // driver.
  virtual Alias NewAlias(const std::string& name, const std::string& driver, const ParameterList& params) const = 0;

  // The file that holds every alias of the engine and that only the
  // engine's save writes, for a backup to keep byte for byte: our own
  // engine's. The installed engine keeps its file to itself.
  virtual std::optional<std::string> OwnConfigurationFile() const { return std::nullopt; }
};

}  // namespace bde
