#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bde/ParameterList.h"
#include "platform/Text.h"

namespace bde {

struct Alias {
  std::string name;
  std::string driver;
  ParameterList params;
};

// Aliases in file order; names are unique without regard to letter case.
using AliasStore = std::vector<Alias>;

// The alias whose name matches without regard to letter case, or null.
inline Alias* FindAlias(AliasStore& aliases, std::string_view name) {
  for (Alias& alias : aliases) {
    if (platform::EqualsNoCase(alias.name, name)) return &alias;
  }
  return nullptr;
}

}  // namespace bde
