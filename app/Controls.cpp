#include "app/Controls.h"

#include <algorithm>

#include "platform/Text.h"

namespace app {

void ControlSet::Add(Control& control) { controls_[IndexOf(control.Id())] = &control; }

bool ControlSet::Complete() const {
  return std::all_of(controls_.begin(), controls_.end(), [](const Control* control) { return control != nullptr; });
}

Control::Control(ControlSet& set, ControlId id) : text(RowOf(id).text), visible(!RowOf(id).hidden), id_(id) {
  set.Add(*this);
}

void CheckBox::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  if (onClick) onClick();
}

void RadioGroup::SetItemIndex(int index) {
  const int count = static_cast<int>(items_.size());
  if (index >= count) index = count - 1;
  if (index < -1) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (index >= 0 && onClick) onClick();
}

namespace {

bool SortsBefore(const std::string& a, const std::string& b) { return platform::CompareNoCase(a, b) < 0; }

}  // namespace

int ComboBox::AddItem(std::string item, std::string data) {
  auto position = items_.end();
  if (sorted) position = std::upper_bound(items_.begin(), items_.end(), item, SortsBefore);
  const auto index = position - items_.begin();
  items_.insert(position, std::move(item));
  itemData_.insert(itemData_.begin() + index, std::move(data));
  if (selected_ >= index) ++selected_;
  return static_cast<int>(index);
}

void ComboBox::ClearItems() {
  items_.clear();
  itemData_.clear();
  selected_ = -1;
}

void ComboBox::SetItems(std::vector<std::string> items) {
  ClearItems();
  if (sorted) std::stable_sort(items.begin(), items.end(), SortsBefore);
  itemData_.resize(items.size());
  items_ = std::move(items);
}

int ComboBox::ItemIndex() const {
  if (selected_ >= 0 && selected_ < static_cast<int>(items_.size()) && items_[selected_] == text) return selected_;
  const auto found = std::find(items_.begin(), items_.end(), text);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void ComboBox::SelectItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  selected_ = index;
  text = items_[index];
}

void ComboBox::UserSetText(std::string value) {
  text = std::move(value);
  if (onChange) onChange();
}

void ComboBox::UserSelect(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  SelectItem(index);
  if (onChange) onChange();
}

void Edit::UserSetText(std::string value) {
  text = std::move(value);
  if (onChange) onChange();
}

void PageControl::SetActiveIndex(int index) {
  if (index == active_ || index < 0 || index >= static_cast<int>(pages_.size())) return;
  active_ = index;
  if (pages_[index]->onShow) pages_[index]->onShow();
}

size_t Utf8Length(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace app
