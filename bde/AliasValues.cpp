#include "bde/AliasValues.h"

#include "bde/AliasEngine.h"
#include "platform/Text.h"

namespace bde {

AliasValues::AliasValues(AliasEngine& engine) : engine_(engine), names_(engine.ListAliases()) {}

std::string AliasValues::Value(std::string_view aliasName, std::string_view parameter) {
  const int index = platform::IndexOfNoCase(names_, aliasName);
  if (index < 0) return {};
  return engine_.ReadAliasParameters(names_[index]).Value(parameter);
}

}  // namespace bde
