#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bde/AliasEngine.h"

namespace app::plan {

// An alias engine whose changes stay in this object, for a preview of a
// run: every alias it has not changed is read from the engine beneath, and
// no operation of that engine that changes or saves anything is ever
// called. A new alias looks as the engine beneath says it would
// (AliasEngine::NewAlias); an update changes the parameters the alias has
// and the list names, as both engines do.
class PreviewAliases final : public bde::AliasEngine {
 public:
  explicit PreviewAliases(bde::AliasEngine& beneath) : beneath_(beneath) {}

  void SetConfigurationMode(bde::ConfigurationMode mode) override { mode_ = mode; }
  bde::ConfigurationMode GetConfigurationMode() const override { return mode_; }

  std::vector<std::string> ListAliases() override;
  std::string AliasDriver(const std::string& name) override;
  bde::ParameterList ReadAliasParameters(const std::string& name) override;
  void CreateAlias(const std::string& name, const std::string& driver, const bde::ParameterList& params) override;
  void CreateStandardAlias(const std::string& name, const std::string& path,
                           const std::string& defaultDriver) override;
  void UpdateAlias(const std::string& name, const bde::ParameterList& params) override;
  void DeleteAlias(const std::string& name) override;
  // Nothing is saved: the changes stay here.
  void SaveConfiguration() override {}
  bde::Alias NewAlias(const std::string& name, const std::string& driver,
                      const bde::ParameterList& params) const override {
    return beneath_.NewAlias(name, driver, params);
  }

 private:
  // The alias as the preview has it: from the changes, or from beneath.
  // Raises bde::kAliasMissingMessage when there is none.
  bde::Alias Current(const std::string& name);

  struct Entry {
    std::string name;
    // Nothing once deleted.
    std::optional<bde::Alias> alias;
    // Made by the preview: listed after the engine's own, as the engine
    // lists a new alias, even where it takes the place of one deleted.
    bool created = false;
  };
  Entry* Find(const std::string& name);

  bde::AliasEngine& beneath_;
  bde::ConfigurationMode mode_ = bde::ConfigurationMode::Session;
  // Each alias the preview changed, deleted or created, in that order.
  std::vector<Entry> changed_;
};

}  // namespace app::plan
