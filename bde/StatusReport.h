#pragma once

#include <string>
#include <vector>

namespace bde {

// The report of one apply run, line by line, as the status page shows it:
// the heading without indent, section lines with one leading blank, detail
// lines with two, file paths with five, and an empty line closing a
// section. It writes into the lines it is given (the status memo's), so a
// run that stops half-way still leaves what it did so far.
class StatusReport {
 public:
  explicit StatusReport(std::vector<std::string>& lines) : lines_(lines) {}

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string>& lines_;
};

}  // namespace bde
