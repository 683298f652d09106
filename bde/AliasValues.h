#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bde {

class AliasEngine;

// Parameters of aliases that an earlier run created, looked up in the
// engine's alias names as they stood when this object was made.
class AliasValues {
 public:
  explicit AliasValues(bde::AliasEngine& engine);

  // The parameter's value of the alias named without regard to letter
  // case; empty when there is no such alias or no such value.
  std::string Value(std::string_view aliasName, std::string_view parameter);

 private:
  bde::AliasEngine& engine_;
  std::vector<std::string> names_;
};

}  // namespace bde
