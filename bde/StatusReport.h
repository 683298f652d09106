#pragma once

#include <string>
#include <vector>

namespace bde {

// One thing a run created or modified, as a script reading its result
// wants it: what kind of item, its name (a data source's or alias's name,
// a file's path), and whether it was there before.
struct Change {
  enum class Item { DataSource, File, Alias };
  Item item = Item::DataSource;
  std::string name;
  bool created = false;

  bool operator==(const Change&) const = default;
};

// The report of one apply run, line by line, as the status page shows it:
// the heading without indent, section lines with one leading blank, detail
// lines with two, file paths with five, and an empty line closing a
// section. It writes into the lines it is given (the status memo's), so a
// run that stops half-way still leaves what it did so far. Beside the
// lines, each writer notes the item it changed.
class StatusReport {
 public:
  explicit StatusReport(std::vector<std::string>& lines) : lines_(lines) {}

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Changed(Change change) { changes_.push_back(std::move(change)); }
  void Clear() {
    lines_.clear();
    changes_.clear();
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<Change>& Changes() const { return changes_; }

 private:
  std::vector<std::string>& lines_;
  std::vector<Change> changes_;
};

}  // namespace bde
