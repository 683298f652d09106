#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlTable.h"

// The wizard's controls as plain objects, independent of any toolkit. The
// view mirrors them into real controls and forwards the user's actions
// through the User* methods. A choice (radio group, check box) runs its
// click handler whoever changes it, so what depends on the choice, and
// its stored copy, always follow it. A combo box's or edit's change
// handler runs only for the user's typing or picking, so filling a field
// from the registry or a file never sets off the handler that reacts to
// the user. Each control starts as its row of the control table says.
namespace app {

class Control;

// Every control of one window, found by its identity; each control enters
// the set of its window as it is made.
class ControlSet {
 public:
  ControlSet() = default;
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  void Add(Control& control);
  Control& operator[](ControlId id) const { return *controls_[IndexOf(id)]; }
  // Whether every row of the table has its control.
  bool Complete() const;

 private:
  std::array<Control*, kControlCount> controls_{};
};

class Control {
 public:
  Control(ControlSet& set, ControlId id);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlId Id() const { return id_; }
  std::string_view Name() const { return RowOf(id_).name; }
  ControlKind Kind() const { return RowOf(id_).kind; }

  std::string text;
  bool enabled = true;
  bool visible = true;

 private:
  ControlId id_;
};

class Label : public Control {
 public:
  Label(ControlSet& set, ControlOfKind<ControlKind::Label> row) : Control(set, row.id) {}
};

class GroupBox : public Control {
 public:
  GroupBox(ControlSet& set, ControlOfKind<ControlKind::GroupBox> row) : Control(set, row.id) {}
};

class Button : public Control {
 public:
  Button(ControlSet& set, ControlOfKind<ControlKind::Button> row) : Control(set, row.id) {}
  // A press reaches the handler only while the button can be pressed.
  void Click() {
    if (enabled && visible && onClick) onClick();
  }

  std::function<void()> onClick;
};

class CheckBox : public Control {
 public:
  CheckBox(ControlSet& set, ControlOfKind<ControlKind::CheckBox> row)
      : Control(set, row.id), captionLeft(RowOf(row.id).captionLeft), checked_(RowOf(row.id).checked) {}
  bool Checked() const { return checked_; }
  // Runs the click handler when the state changes, whoever changes it.
  void SetChecked(bool value);

  std::function<void()> onClick;
  const bool captionLeft;

 private:
  bool checked_;
};

class RadioGroup : public Control {
 public:
  RadioGroup(ControlSet& set, ControlOfKind<ControlKind::RadioGroup> row)
      : Control(set, row.id),
        items_(RowOf(row.id).lines.begin(), RowOf(row.id).lines.end()),
        itemIndex_(RowOf(row.id).choice) {}
  const std::vector<std::string>& Items() const { return items_; }
  // -1 when no item is marked.
  int ItemIndex() const { return itemIndex_; }
  // Clamps to -1 .. last item. Marking another item runs the click
  // handler; leaving the same item marked, or marking none, runs nothing.
  void SetItemIndex(int index);

  std::function<void()> onClick;

 private:
  std::vector<std::string> items_;
  int itemIndex_;
};

class ComboBox : public Control {
 public:
  ComboBox(ControlSet& set, ControlOfKind<ControlKind::ComboBox> row)
      : Control(set, row.id),
        editable(!RowOf(row.id).pickOnly),
        sorted(RowOf(row.id).sorted),
        maxLength(LimitOf(row.id)) {}

  const std::vector<std::string>& Items() const { return items_; }
  // A sorted list inserts in order of text without regard to case and
  // returns the index the item landed at. The data rides with its item.
  int AddItem(std::string item, std::string data = {});
  void ClearItems();
  // Sorts once, keeping the given order among equal texts.
  void SetItems(std::vector<std::string> items);
  // The item selected by the program or picked by the user while the text
  // still equals it (so of two equal texts the chosen one), else the first
  // item equal to the text, or -1.
  int ItemIndex() const;
  const std::string& ItemData(int index) const { return itemData_.at(static_cast<size_t>(index)); }
  // Selects an item from the program: the text follows, no handler runs.
  void SelectItem(int index);

  // What the user does: typing (each key) or picking an item runs the
  // change handler; opening the list runs the drop-down handler first.
  void UserSetText(std::string value);
  void UserSelect(int index);
  void DropDown() {
    if (onDropDown) onDropDown();
  }

  const bool editable;  // false: pick-only list
  const bool sorted;
  const size_t maxLength;  // characters the user may type; 0 = no limit
  std::function<void()> onChange;
  std::function<void()> onDropDown;

 private:
  std::vector<std::string> items_;
  std::vector<std::string> itemData_;
  int selected_ = -1;
};

class Edit : public Control {
 public:
  Edit(ControlSet& set, ControlOfKind<ControlKind::Edit> row)
      : Control(set, row.id), readOnly(RowOf(row.id).readOnly), maxLength(LimitOf(row.id)) {}
  void UserSetText(std::string value);

  const bool readOnly;
  const size_t maxLength;
  std::function<void()> onChange;
};

// A read-only multi-line text.
class Memo : public Control {
 public:
  Memo(ControlSet& set, ControlOfKind<ControlKind::Memo> row)
      : Control(set, row.id), lines(RowOf(row.id).lines.begin(), RowOf(row.id).lines.end()) {}

  std::vector<std::string> lines;
};

// One page of a page control and its show handler.
class Page {
 public:
  explicit Page(PageId id) : id_(id) {}
  PageId Id() const { return id_; }
  std::string_view Name() const { return PageName(id_); }

  std::function<void()> onShow;
  bool tabVisible = true;
  // Free for the handlers: 0 at start, a first-showing marker where used.
  int tag = 0;

 private:
  PageId id_;
};

// Pages without tabs; the program alone moves between them.
class PageControl {
 public:
  explicit PageControl(std::vector<Page*> pages) : pages_(std::move(pages)) {}
  const std::vector<Page*>& Pages() const { return pages_; }
  int ActiveIndex() const { return active_; }
  // Making another page current runs its show handler at once.
  void SetActiveIndex(int index);

 private:
  std::vector<Page*> pages_;
  int active_ = -1;
};

// Counts characters, not bytes, of UTF-8 text.
size_t Utf8Length(const std::string& text);

}  // namespace app
