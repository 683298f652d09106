#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Error.h"

namespace app {

// A wrong answers file or command line. Nothing has been touched when it
// is raised; the unattended run ends with exit code 2.
class AnswersError : public platform::Error {
 public:
  explicit AnswersError(const std::string& message, std::string problem = {})
      : platform::Error(message), problem_(problem.empty() ? message : std::move(problem)) {}

  // What is wrong, without the file, line or key it was found at.
  const std::string& Problem() const { return problem_; }

 private:
  std::string problem_;
};

// The main section and its keys; each server kind reads a section of its
// own (servers::Kind), which names the kind in "Serwer".
inline constexpr std::string_view kMainSection = "KonfigNovera";
inline constexpr std::string_view kServerKey = "Serwer";
inline constexpr std::string_view kVersionKey = "Wersja";
inline constexpr std::string_view kTestCopyKey = "Kopia";

// The file's bytes as UTF-8 text: UTF-8 with or without its BOM, UTF-16
// with its BOM (either byte order); anything else is taken to be in the
// system's ANSI code page. Nothing when the bytes carry the UTF-8 BOM but
// are not UTF-8: which code page they are in cannot be known.
std::optional<std::string> DecodeAnswersText(std::string_view bytes);

// An answers file in the INI layout: "[section]" lines and "key=value"
// lines, sections and keys compared without regard to letter case, ";"
// starting a comment to the end of the line, blanks around names and
// values dropped. Every section and key must be one the wizard knows (the
// main section's, and those of the server kinds), and
// no key may be given twice; the first fault raises AnswersError naming
// the file and the line.
class AnswersFile {
 public:
  struct Value {
    std::string text;
    int line = 0;
  };

  // Reads and checks the file; a file that cannot be read is an AnswersError too.
  static AnswersFile Read(const std::string& path);
  static AnswersFile Parse(const std::string& path, std::string_view text);

  // The value given for the key, with its line; nothing when left out.
  std::optional<Value> Find(std::string_view section, std::string_view key) const;

  // The messages of a value that cannot be used: one line naming the file,
  // the line and the key (a key left out has no line to name).
  [[noreturn]] void Fail(std::string_view section, std::string_view key, const std::string& problem) const;

 private:
  struct Entry {
    std::string_view section;  // as the table of known keys spells them
    std::string_view key;
    Value value;
  };

  std::string path_;
  std::vector<Entry> entries_;
};

}  // namespace app
