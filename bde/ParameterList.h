#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bde {

// An ordered list of "NAME=value" lines, as aliases and connections take
// them. The name is the text before the first "="; lookup ignores letter
// case and the first matching line wins.
class ParameterList {
 public:
  ParameterList() = default;
  explicit ParameterList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  // The value after the name and its "=", or empty when no line matches.
  std::string Value(std::string_view name) const;
  bool Has(std::string_view name) const { return IndexOf(name) >= 0; }

  // A non-empty value replaces the matching line in place, or is appended
  // as a new line; an empty value deletes the matching line.
  void Set(std::string_view name, std::string_view value);

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

  static std::string NameOf(std::string_view line);
  static std::string ValueOf(std::string_view line);

 private:
  int IndexOf(std::string_view name) const;

  std::vector<std::string> lines_;
};

}  // namespace bde
