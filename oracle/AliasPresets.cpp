#include "oracle/AliasPresets.h"

#include "bde/AliasValues.h"
#include "platform/Text.h"

namespace oracle {

AliasPresets::Users AliasPresets::ReadUsers(const std::string& aliasPrefix) {
  bde::AliasValues aliases(engine_);
  const std::string stem = aliasPrefix + "Novera- ";
  return {aliases.Value(stem + "Ochrona", "USER NAME"), aliases.Value(stem + "LM", "USER NAME"),
          aliases.Value(stem + "LM- Liczniki", "USER NAME")};
}

std::string AliasPresets::ReadService(const std::string& aliasPrefix) {
  return platform::AsciiUpper(bde::AliasValues(engine_).Value(aliasPrefix + "Novera- LM", "SERVER NAME"));
}

}  // namespace oracle
