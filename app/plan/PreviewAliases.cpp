#include "app/plan/PreviewAliases.h"

#include <algorithm>

#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace app::plan {

std::vector<std::string> PreviewAliases::ListAliases() {
  std::vector<std::string> names = beneath_.ListAliases();
  for (const Entry& entry : changed_) {
    const int index = platform::IndexOfNoCase(names, entry.name);
    if (index >= 0 && (!entry.alias || entry.created)) names.erase(names.begin() + index);
    if (entry.alias && entry.created) names.push_back(entry.alias->name);
  }
  return names;
}

PreviewAliases::Entry* PreviewAliases::Find(const std::string& name) {
  for (Entry& entry : changed_) {
    if (platform::EqualsNoCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

bde::Alias PreviewAliases::Current(const std::string& name) {
  if (const Entry* entry = Find(name)) {
    if (!entry->alias) throw platform::Error(platform::Format(bde::kAliasMissingMessage, {name}));
    return *entry->alias;
  }
  // Asking the driver first raises the engine's own error for a missing alias.
  std::string driver = beneath_.AliasDriver(name);
  return bde::Alias{name, std::move(driver), beneath_.ReadAliasParameters(name)};
}

std::string PreviewAliases::AliasDriver(const std::string& name) { return Current(name).driver; }

bde::ParameterList PreviewAliases::ReadAliasParameters(const std::string& name) { return Current(name).params; }

void PreviewAliases::CreateAlias(const std::string& name, const std::string& driver,
                                 const bde::ParameterList& params) {
  if (platform::IndexOfNoCase(ListAliases(), name) >= 0) {
    throw platform::Error(platform::Format(bde::kAliasExistsMessage, {name}));
  }
  std::erase_if(changed_, [&](const Entry& entry) { return platform::EqualsNoCase(entry.name, name); });
  changed_.push_back({name, beneath_.NewAlias(name, driver, params), true});
}

void PreviewAliases::CreateStandardAlias(const std::string& name, const std::string& path,
                                         const std::string& defaultDriver) {
  bde::ParameterList params;
  params.Set("PATH", path);
  params.Set("DEFAULT DRIVER", defaultDriver.empty() ? bde::kDefaultStandardDriver : defaultDriver);
  CreateAlias(name, std::string(bde::kStandardDriver), params);
}

void PreviewAliases::UpdateAlias(const std::string& name, const bde::ParameterList& params) {
  bde::Alias alias = Current(name);
  std::vector<std::string> lines = alias.params.Lines();
  for (std::string& line : lines) {
    const std::string parameter = bde::ParameterList::NameOf(line);
    if (params.Has(parameter)) line = parameter + "=" + params.Value(parameter);
  }
  alias.params = bde::ParameterList(std::move(lines));
  if (Entry* entry = Find(name)) {
    entry->alias = std::move(alias);
  } else {
    changed_.push_back({name, std::move(alias), false});
  }
}

void PreviewAliases::DeleteAlias(const std::string& name) {
  Current(name);
  if (Entry* entry = Find(name)) {
    *entry = {entry->name, std::nullopt, false};
  } else {
    changed_.push_back({name, std::nullopt, false});
  }
}

}  // namespace app::plan
