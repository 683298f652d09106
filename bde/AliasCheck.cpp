#include "bde/AliasCheck.h"

#include <algorithm>
#include <string>

#include "bde/AliasEngine.h"
#include "bde/Drivers.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace bde {
namespace {

// Whether an alias of the driver keeps the parameter: every one, for a
// driver we have no definition of.
bool Stored(const DriverDefinition* definition, const std::string& parameter) {
  if (!definition) return true;
  return std::any_of(definition->parameters.begin(), definition->parameters.end(),
                     [&](std::string_view name) { return platform::EqualsNoCase(name, parameter); });
}

CheckResult CheckAlias(AliasEngine& engine, const std::vector<std::string>& names, const Alias& written) {
  if (platform::IndexOfNoCase(names, written.name) < 0) {
    return {CheckStatus::Failed, platform::Format(kAliasMissingDetail, {written.name})};
  }
  const std::string driver = engine.AliasDriver(written.name);
  if (driver != written.driver) {
    return {CheckStatus::Failed, platform::Format(kAliasDriverDetail, {written.name, driver, written.driver})};
  }
  const ParameterList read = engine.ReadAliasParameters(written.name);
  const DriverDefinition* definition = FindDriverDefinition(written.driver);
  std::string differences;
  for (const std::string& line : written.params.Lines()) {
    const std::string name = ParameterList::NameOf(line);
    const std::string expected = ParameterList::ValueOf(line);
    const std::string actual = read.Value(name);
    if (!Stored(definition, name) || actual == expected) continue;
    if (!differences.empty()) differences += ", ";
    differences += platform::Format(kAliasValueDifference, {name, actual, expected});
  }
  if (!differences.empty()) {
    return {CheckStatus::Failed, platform::Format(kAliasValuesDetail, {written.name, differences})};
  }
  return {CheckStatus::Ok, platform::Format(kAliasReadBackDetail, {written.name, driver})};
}

}  // namespace

std::vector<CheckResult> CheckAliases(AliasEngine& engine, const std::vector<Alias>& written) {
  std::vector<CheckResult> results;
  std::vector<std::string> names;
  std::string listError;
  try {
    names = engine.ListAliases();
  } catch (const platform::Error& error) {
    listError = error.what();
  }
  for (const Alias& alias : written) {
    if (!listError.empty()) {
      results.push_back({CheckStatus::Failed, platform::Format(kAliasEngineDetail, {alias.name, listError})});
      continue;
    }
    try {
      results.push_back(CheckAlias(engine, names, alias));
    } catch (const platform::Error& error) {
      results.push_back({CheckStatus::Failed, platform::Format(kAliasEngineDetail, {alias.name, error.what()})});
    }
  }
  return results;
}

}  // namespace bde
