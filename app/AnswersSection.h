#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class AnswersFile;

// Reads the keys of one section of an answers file, each checked as it is
// taken; a value that cannot be used raises AnswersError naming the key.
class AnswersSection {
 public:
  AnswersSection(const AnswersFile& file, std::string_view name) : file_(file), name_(name) {}

  std::optional<std::string> Text(std::string_view key) const;
  // A text that may not be empty and may not be longer than the window
  // lets the user type (0: no limit).
  std::optional<std::string> Field(std::string_view key, size_t maxCharacters) const;
  // One of the choices, without regard to letter case; its index.
  std::optional<size_t> Choice(std::string_view key, const std::vector<std::string_view>& choices) const;
  std::optional<bool> Flag(std::string_view key) const;
  std::optional<std::string> Port(std::string_view key) const;

  [[noreturn]] void Fail(std::string_view key, const std::string& problem) const;

 private:
  const AnswersFile& file_;
  std::string_view name_;
};

}  // namespace app
