#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bde {

class Database;
class AliasEngine;
class StatusReport;

// %s: the alias name.
inline constexpr std::string_view kAliasOfOtherDriverMessage = "Alias BDE \"%s\" istnieje i jest innego typu";

inline constexpr std::string_view kNetAliasName = "Novera- Net";
inline constexpr std::string_view kOldMainAliasName = "Novera- LM";

// Creates or modifies aliases from a template and reports each in the
// status report. Whether an alias exists is decided against the list of
// names read at the start of the run, never against the engine, so an
// alias the run itself creates is not found again by the same run.
class AliasWriter {
 public:
  AliasWriter(AliasEngine& engine, StatusReport& report) : engine_(engine), report_(report) {}

  // The alias takes the driver and the parameters the template holds at
  // this write. An existing alias of another driver (compared exactly,
  // letter case included) raises kAliasOfOtherDriverMessage and is left
  // alone.
  void WriteAlias(const std::string& name, const std::vector<std::string>& existing, const Database& tmpl);

  // Brings an older STANDARD alias "Novera- LM" forward as "Novera- Net",
  // when that does not exist yet and the old one has a path.
  void EnsureNetAlias(const std::vector<std::string>& existing);

 private:
  AliasEngine& engine_;
  StatusReport& report_;
};

}  // namespace bde
