#include "bde/AliasWriter.h"

#include "bde/Connection.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/StatusReport.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace bde {
namespace {

bool Listed(const std::vector<std::string>& existing, std::string_view name) {
  return platform::IndexOfNoCase(existing, name) >= 0;
}

std::string AliasLine(std::string_view verb, std::string_view name) {
  return "  " + std::string(verb) + " alias \"" + std::string(name) + "\".";
}

}  // namespace

void AliasWriter::WriteAlias(const std::string& name, const std::vector<std::string>& existing,
                             const Database& tmpl) {
  std::string_view verb = "Utworzono";
  if (!Listed(existing, name)) {
    engine_.CreateAlias(name, tmpl.DriverName(), tmpl.Params());
  } else {
    verb = "Zmodyfikowano";
    if (engine_.AliasDriver(name) != tmpl.DriverName()) {
      throw platform::Error(platform::Format(kAliasOfOtherDriverMessage, {name}));
    }
    engine_.UpdateAlias(name, tmpl.Params());
  }
  report_.Add(AliasLine(verb, name));
  report_.Changed({Change::Item::Alias, name, verb == "Utworzono"});
}

void AliasWriter::EnsureNetAlias(const std::vector<std::string>& existing) {
  const std::string oldName(kOldMainAliasName);
  if (Listed(existing, kNetAliasName) || !Listed(existing, oldName)) return;
  if (engine_.AliasDriver(oldName) != kStandardDriver) return;
  const ParameterList old = engine_.ReadAliasParameters(oldName);
  const std::string path = old.Value("PATH");
  if (path.empty()) return;
  engine_.CreateStandardAlias(std::string(kNetAliasName), path, old.Value("DEFAULT DRIVER"));
  report_.Add(AliasLine("Utworzono", kNetAliasName));
  report_.Changed({Change::Item::Alias, std::string(kNetAliasName), true});
}

}  // namespace bde
