#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The wizard's controls as plain objects, independent of any toolkit. The
// view mirrors them into real controls and forwards the user's actions
// through the User* methods. A choice (radio group, check box) runs its
// click handler whoever changes it, so what depends on the choice, and
// its stored copy, always follow it. A combo box's or edit's change
// handler runs only for the user's typing or picking, so filling a field
// from the registry or a file never sets off the handler that reacts to
// the user.
namespace app {

enum class ControlKind { Label, Button, CheckBox, RadioGroup, ComboBox, Edit, Memo, GroupBox };

class Control {
 public:
  Control(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }

  std::string text;
  bool enabled = true;
  bool visible = true;

 private:
  std::string name_;
  ControlKind kind_;
};

class Label : public Control {
 public:
  explicit Label(std::string name, std::string caption = {}) : Control(std::move(name), ControlKind::Label) {
    text = std::move(caption);
  }
};

class GroupBox : public Control {
 public:
  GroupBox(std::string name, std::string caption) : Control(std::move(name), ControlKind::GroupBox) {
    text = std::move(caption);
  }
};

class Button : public Control {
 public:
  Button(std::string name, std::string caption) : Control(std::move(name), ControlKind::Button) {
    text = std::move(caption);
  }
  // A press reaches the handler only while the button can be pressed.
  void Click() {
    if (enabled && visible && onClick) onClick();
  }

  std::function<void()> onClick;
};

class CheckBox : public Control {
 public:
  CheckBox(std::string name, std::string caption, bool isChecked)
      : Control(std::move(name), ControlKind::CheckBox), checked_(isChecked) {
    text = std::move(caption);
  }
  bool Checked() const { return checked_; }
  // Runs the click handler when the state changes, whoever changes it.
  void SetChecked(bool value);

  std::function<void()> onClick;
  bool captionLeft = false;

 private:
  bool checked_;
};

class RadioGroup : public Control {
 public:
  RadioGroup(std::string name, std::string caption, std::vector<std::string> items, int index)
      : Control(std::move(name), ControlKind::RadioGroup), items_(std::move(items)), itemIndex_(index) {
    text = std::move(caption);
  }
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
  ComboBox(std::string name, std::string initialText, bool isEditable, bool isSorted, size_t limit = 0)
      : Control(std::move(name), ControlKind::ComboBox), editable(isEditable), sorted(isSorted), maxLength(limit) {
    text = std::move(initialText);
  }

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
  Edit(std::string name, bool isReadOnly, size_t limit = 0)
      : Control(std::move(name), ControlKind::Edit), readOnly(isReadOnly), maxLength(limit) {}
  void UserSetText(std::string value);

  const bool readOnly;
  const size_t maxLength;
  std::function<void()> onChange;
};

// A read-only multi-line text.
class Memo : public Control {
 public:
  Memo(std::string name, std::vector<std::string> initialLines)
      : Control(std::move(name), ControlKind::Memo), lines(std::move(initialLines)) {}

  std::vector<std::string> lines;
};

// One page of a page control and its show handler.
class Page {
 public:
  explicit Page(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

  std::function<void()> onShow;
  bool tabVisible = true;
  // Free for the handlers: 0 at start, a first-showing marker where used.
  int tag = 0;

 private:
  std::string name_;
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
