#include "bde/Engine.h"

#include <algorithm>

#include "bde/ConfigFile.h"
#include "bde/Drivers.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace bde {
namespace {

// BDE keeps a STANDARD alias on Paradox tables unless told otherwise.

bool Defines(const DriverDefinition& definition, std::string_view parameter) {
  return std::any_of(
      definition.parameters.begin(), definition.parameters.end(),
      [&](std::string_view name) { return platform::EqualsNoCase(name, parameter); });
}

}  // namespace

Engine::Engine(platform::Registry& registry, std::string defaultConfigFile)
    : registry_(registry), defaultConfigFile_(std::move(defaultConfigFile)) {}

Engine::~Engine() = default;

std::string Engine::ConfigFilePath() const {
  const platform::OpenedKey key =
      registry_.OpenKey(platform::RegistryRoot::LocalMachine, kBdeKeyPath, platform::kKeyRead, false);
  if (!key) return defaultConfigFile_;
  std::optional<std::string> path = key->TryReadString(kConfigFileValue);
  return path && !path->empty() ? std::move(*path) : defaultConfigFile_;
}

// Loads on first use; after a failed load nothing is kept, so the next
// operation reads the file again once the user has put it right.
AliasStore& Engine::Store() {
  if (!store_) {
    std::string path = ConfigFilePath();
    store_ = ReadFile(path);
    loadedFrom_ = std::move(path);
  }
  return *store_;
}

AliasStore Engine::ReadFile(const std::string& path) const {
  try {
    return ReadConfigFile(path);
  } catch (const platform::Error& error) {
    if (noInstalledEngineNote_.empty() || error.what() != platform::Format(kNotConfigFileMessage, {path})) throw;
    throw platform::Error(std::string(error.what()) + ". " + noInstalledEngineNote_);
  }
}

Alias& Engine::ExistingAlias(const std::string& name) {
  Alias* alias = FindAlias(Store(), name);
  if (!alias) throw platform::Error(platform::Format(kAliasMissingMessage, {name}));
  return *alias;
}

void Engine::AddAlias(Alias alias) {
  if (alias.name.empty()) throw platform::Error(std::string(kEmptyAliasNameMessage));
  if (FindAlias(Store(), alias.name)) {
    throw platform::Error(platform::Format(kAliasExistsMessage, {alias.name}));
  }
  const std::string name = alias.name;
  Store().push_back(std::move(alias));
  Touch(name);
}

void Engine::Touch(const std::string& name) {
  if (platform::IndexOfNoCase(touched_, name) < 0) touched_.push_back(name);
}

std::vector<std::string> Engine::ListAliases() {
  std::vector<std::string> names;
  for (const Alias& alias : Store()) names.push_back(alias.name);
  return names;
}

std::string Engine::AliasDriver(const std::string& name) { return ExistingAlias(name).driver; }

ParameterList Engine::ReadAliasParameters(const std::string& name) {
  return ExistingAlias(name).params;
}

// The alias gets one line per parameter its driver defines, in the driver's
// order, with the given value or empty; every other given line is dropped.
Alias Engine::NewAlias(const std::string& name, const std::string& driver, const ParameterList& params) const {
  const DriverDefinition* definition = FindDriverDefinition(driver);
  if (!definition) throw platform::Error(platform::Format(kUnknownDriverMessage, {driver}));
  std::vector<std::string> lines;
  for (std::string_view parameter : definition->parameters) {
    lines.push_back(std::string(parameter) + "=" + params.Value(parameter));
  }
  return Alias{name, std::string(definition->name), ParameterList(std::move(lines))};
}

void Engine::CreateAlias(const std::string& name, const std::string& driver, const ParameterList& params) {
  AddAlias(NewAlias(name, driver, params));
}

void Engine::CreateStandardAlias(const std::string& name, const std::string& path,
                                 const std::string& defaultDriver) {
  ParameterList params;
  params.Set("PATH", path);
  params.Set("DEFAULT DRIVER", defaultDriver.empty() ? kDefaultStandardDriver : defaultDriver);
  CreateAlias(name, std::string(kStandardDriver), params);
}

void Engine::UpdateAlias(const std::string& name, const ParameterList& params) {
  Alias& alias = ExistingAlias(name);
  // We cannot tell which parameters of a foreign driver hold secrets, so
  // such an alias is refused rather than changed.
  const DriverDefinition* definition = FindDriverDefinition(alias.driver);
  if (!definition) throw platform::Error(platform::Format(kUnknownDriverMessage, {alias.driver}));

  std::vector<std::string> lines = alias.params.Lines();
  for (std::string& line : lines) {
    const std::string parameter = ParameterList::NameOf(line);
    if (params.Has(parameter) && Defines(*definition, parameter)) {
      line = parameter + "=" + params.Value(parameter);
    }
  }
  alias.params = ParameterList(std::move(lines));
  Touch(alias.name);
}

// An alias deleted after it was added or modified is no longer one to
// save, only one to take out of the file.
void Engine::DeleteAlias(const std::string& name) {
  AliasStore& store = Store();
  const auto found = std::find_if(store.begin(), store.end(),
                                  [&](const Alias& alias) { return platform::EqualsNoCase(alias.name, name); });
  if (found == store.end()) throw platform::Error(platform::Format(kAliasMissingMessage, {name}));
  const std::string stored = found->name;
  store.erase(found);
  std::erase_if(touched_, [&](const std::string& touched) { return platform::EqualsNoCase(touched, stored); });
  if (platform::IndexOfNoCase(deleted_, stored) < 0) deleted_.push_back(stored);
}

std::optional<std::string> Engine::OwnConfigurationFile() const { return store_ ? loadedFrom_ : ConfigFilePath(); }

// Another program may have changed the file since we loaded it, so the file
// is read again and only the aliases we deleted, added or modified leave
// it, replace their namesakes or are appended; the rest stays as the file
// holds it now. A file that is no longer ours, or is damaged, stops the
// save before any write.
void Engine::SaveConfiguration() {
  if (mode_ != ConfigurationMode::Persistent || (touched_.empty() && deleted_.empty())) return;

  AliasStore current = ReadFile(loadedFrom_);
  for (const std::string& name : deleted_) {
    std::erase_if(current, [&](const Alias& alias) { return platform::EqualsNoCase(alias.name, name); });
  }
  for (const std::string& name : touched_) {
    const Alias& ours = *FindAlias(*store_, name);
    if (Alias* theirs = FindAlias(current, name)) {
      *theirs = ours;
    } else {
      current.push_back(ours);
    }
  }
  WriteConfigFile(loadedFrom_, current);
  store_ = std::move(current);
  touched_.clear();
  deleted_.clear();
}

}  // namespace bde
