#include "app/CommandLine.h"

#include "app/AnswersFile.h"
#include "platform/Text.h"

namespace app {
namespace {

[[noreturn]] void Fail(const std::string& problem) { throw AnswersError("Niepoprawny wiersz poleceń: " + problem); }

// The field a switch that takes a file fills, or none for another argument.
std::string* FileOf(CommandLine& line, const std::string& argument) {
  if (platform::EqualsAsciiNoCase(argument, "/s")) return &line.answersPath;
  if (platform::EqualsAsciiNoCase(argument, "/log")) return &line.logPath;
  if (platform::EqualsAsciiNoCase(argument, "/json")) return &line.jsonPath;
  if (platform::EqualsAsciiNoCase(argument, "/export")) return &line.exportPath;
  return nullptr;
}

// The field a switch without a file sets, or none for another argument.
bool* FlagOf(CommandLine& line, bool& undo, const std::string& argument) {
  if (platform::EqualsAsciiNoCase(argument, "/undo")) return &undo;
  if (platform::EqualsAsciiNoCase(argument, "/verify")) return &line.verify;
  if (platform::EqualsAsciiNoCase(argument, "/plan")) return &line.plan;
  return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  if (arguments.empty()) return line;
  if (arguments.size() == 1 && arguments[0] == "/?") {
    line.mode = CommandLine::Mode::Usage;
    return line;
  }
  bool undo = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (bool* flag = FlagOf(line, undo, argument)) {
      if (*flag) Fail("argument \"" + argument + "\" podany drugi raz");
      *flag = true;
      continue;
    }
    std::string* target = FileOf(line, argument);
    if (target == nullptr) Fail("nieznany argument \"" + argument + "\"");
    if (!target->empty()) Fail("argument \"" + argument + "\" podany drugi raz");
    if (i + 1 == arguments.size() || arguments[i + 1].empty()) Fail("po \"" + argument + "\" brak nazwy pliku");
    *target = arguments[++i];
  }
  if (undo && (!line.answersPath.empty() || line.verify || line.plan || !line.exportPath.empty())) {
    Fail("\"/undo\" nie łączy się z \"/s\", \"/verify\", \"/plan\" ani z \"/export\"");
  }
  if (undo) {
    line.mode = CommandLine::Mode::Undo;
    return line;
  }
  if (!line.answersPath.empty() && !line.exportPath.empty()) Fail("\"/s\" i \"/export\" wykluczają się");
  if ((line.verify || line.plan) && !line.exportPath.empty()) {
    Fail(std::string(line.plan ? "\"/plan\"" : "\"/verify\"") + " i \"/export\" wykluczają się");
  }
  if (!line.exportPath.empty()) {
    line.mode = CommandLine::Mode::Export;
    return line;
  }
  if (line.plan) {
    if (line.answersPath.empty()) Fail("\"/plan\" wymaga \"/s PLIK_ODPOWIEDZI\"");
    if (line.verify) Fail("\"/plan\" i \"/verify\" wykluczają się: podgląd niczego nie konfiguruje");
    line.mode = CommandLine::Mode::Plan;
    return line;
  }
  if (line.answersPath.empty() && !line.verify) {
    Fail("brak \"/s PLIK_ODPOWIEDZI\", \"/verify\", \"/undo\" ani \"/export PLIK_ODPOWIEDZI\"");
  }
  line.mode = line.answersPath.empty() ? CommandLine::Mode::Verify : CommandLine::Mode::Unattended;
  return line;
}

CommandLine OutputsOfRefusedCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  CommandLine seen;
  for (size_t i = 0; i + 1 < arguments.size(); ++i) {
    std::string* target = FileOf(seen, arguments[i]);
    if (target == nullptr || !target->empty() || arguments[i + 1].empty()) continue;
    CommandLine ignored;
    bool ignoredUndo = false;
    if (FileOf(ignored, arguments[i + 1]) != nullptr || FlagOf(ignored, ignoredUndo, arguments[i + 1]) != nullptr) {
      continue;
    }
    *target = arguments[++i];
  }
  line.logPath = seen.logPath;
  line.jsonPath = seen.jsonPath;
  return line;
}

std::string_view ModeName(const CommandLine& line) {
  switch (line.mode) {
    case CommandLine::Mode::Window:
      return "window";
    case CommandLine::Mode::Unattended:
      return "configure";
    case CommandLine::Mode::Verify:
      return "verify";
    case CommandLine::Mode::Undo:
      return "undo";
    case CommandLine::Mode::Export:
      return "export";
    case CommandLine::Mode::Plan:
      return "plan";
    case CommandLine::Mode::Usage:
      return "usage";
  }
  return "";
}

}  // namespace app
