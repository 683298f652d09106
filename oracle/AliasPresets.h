#pragma once

#include <string>

namespace bde {
class AliasEngine;
}

namespace oracle {

// The service and schema users that the aliases of an earlier run name,
// which the pages and the unattended run propose in place of their
// defaults. Empty texts where the alias is missing or its value empty.
class AliasPresets {
 public:
  explicit AliasPresets(bde::AliasEngine& engine) : engine_(engine) {}

  struct Users {
    std::string ochrona;
    std::string lm;
    std::string liczniki;
  };
  Users ReadUsers(const std::string& aliasPrefix);

  // Upper-cased, as the service entries' names are stored.
  std::string ReadService(const std::string& aliasPrefix);

 private:
  bde::AliasEngine& engine_;
};

}  // namespace oracle
