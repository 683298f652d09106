#pragma once

#include <string_view>
#include <vector>

#include "bde/Alias.h"
#include "bde/ConnectionCheck.h"

namespace bde {

class AliasEngine;

// %s: the alias name, then the driver; the alias, the driver read and the
// driver written; the alias and the parameters that differ; the alias and
// the engine's error.
inline constexpr std::string_view kAliasReadBackDetail =
    "Alias BDE \"%s\": odczytany z konfiguracji BDE, sterownik \"%s\", wartości zgodne z zapisanymi";
inline constexpr std::string_view kAliasMissingDetail = "Alias BDE \"%s\": brak w konfiguracji BDE";
inline constexpr std::string_view kAliasDriverDetail = "Alias BDE \"%s\": sterownik \"%s\" zamiast \"%s\"";
inline constexpr std::string_view kAliasValuesDetail = "Alias BDE \"%s\": wartości inne niż zapisane: %s";
inline constexpr std::string_view kAliasEngineDetail = "Alias BDE \"%s\": %s";
// One parameter that differs. %s: its name, the value read, the value written.
inline constexpr std::string_view kAliasValueDifference = "%s \"%s\" zamiast \"%s\"";

// Reads every alias of a run back from the engine, after the save, and
// compares it with what was written: it exists, has the driver, and each
// parameter holds its value. A parameter that the driver never stores
// (Drivers.h: a login password) is not compared. One result per alias, in
// order. Calls the engine on the caller's thread, as the engine requires.
std::vector<CheckResult> CheckAliases(AliasEngine& engine, const std::vector<Alias>& written);

}  // namespace bde
