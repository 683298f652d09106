#pragma once

#include "app/servers/ServerKind.h"

namespace app {

class WizardWindow;

// The window's controls as the server kinds' proposals read and fill them.
// The edits of the service entry are bound to the entry table: they read
// its current entry, and count as edited once the entry was changed since
// the service page was shown.
class WindowFields final : public servers::PageFields {
 public:
  explicit WindowFields(WizardWindow& window) : window_(window) {}

  std::string Text(ControlId field) const override;
  bool Checked(ControlId field) const override;
  bool Edited(ControlId field) const override;
  void Propose(ControlId field, std::string text) override;
  void ProposeChecked(ControlId field, bool checked) override;
  std::optional<std::string> Choose(ControlId list, std::vector<Choice> choices) override;
  std::string ChosenData(ControlId list) const override;
  void Offer(ControlId field, std::vector<std::string> items) override;

 private:
  WizardWindow& window_;
};

}  // namespace app
