#include "app/WindowFields.h"

#include "app/WizardWindow.h"

namespace app {

std::string WindowFields::Text(ControlId field) const {
  if (const auto entryField = RowOf(field).entryField) {
    return oracle::FieldOf(window_.ClientDataSet1.Current(), *entryField);
  }
  return window_.ControlOf(field).text;
}

bool WindowFields::Checked(ControlId field) const {
  return static_cast<const CheckBox&>(window_.ControlOf(field)).Checked();
}

bool WindowFields::Edited(ControlId field) const {
  return RowOf(field).entryField && window_.ServiceEntryModified;
}

void WindowFields::Propose(ControlId field, std::string text) { window_.ControlOf(field).text = std::move(text); }

void WindowFields::ProposeChecked(ControlId field, bool checked) {
  static_cast<CheckBox&>(window_.ControlOf(field)).SetChecked(checked);
}

// The list is sorted, so the item chosen is the first in sorted order; of
// two equal texts the data is the one of the item selected.
std::optional<std::string> WindowFields::Choose(ControlId list, std::vector<Choice> choices) {
  auto& box = static_cast<ComboBox&>(window_.ControlOf(list));
  box.ClearItems();
  box.text.clear();
  for (Choice& choice : choices) box.AddItem(std::move(choice.text), std::move(choice.data));
  if (box.Items().empty()) return std::nullopt;
  box.SelectItem(0);
  return box.ItemData(box.ItemIndex());
}

std::string WindowFields::ChosenData(ControlId list) const {
  const auto& box = static_cast<const ComboBox&>(window_.ControlOf(list));
  return box.ItemIndex() < 0 ? std::string() : box.ItemData(box.ItemIndex());
}

void WindowFields::Offer(ControlId field, std::vector<std::string> items) {
  auto& box = static_cast<ComboBox&>(window_.ControlOf(field));
  if (!items.empty()) box.text = items.front();
  box.SetItems(std::move(items));
}

}  // namespace app
