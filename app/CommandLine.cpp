#include "app/CommandLine.h"

#include "app/AnswersFile.h"
#include "platform/Text.h"

namespace app {
namespace {

[[noreturn]] void Fail(const std::string& problem) { throw AnswersError("Niepoprawny wiersz poleceń: " + problem); }

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
    if (platform::EqualsAsciiNoCase(argument, "/undo")) {
      if (undo) Fail("argument \"" + argument + "\" podany drugi raz");
      undo = true;
      continue;
    }
    if (platform::EqualsAsciiNoCase(argument, "/verify")) {
      if (line.verify) Fail("argument \"" + argument + "\" podany drugi raz");
      line.verify = true;
      continue;
    }
    std::string* target = nullptr;
    if (platform::EqualsAsciiNoCase(argument, "/s")) target = &line.answersPath;
    if (platform::EqualsAsciiNoCase(argument, "/log")) target = &line.logPath;
    if (target == nullptr) Fail("nieznany argument \"" + argument + "\"");
    if (!target->empty()) Fail("argument \"" + argument + "\" podany drugi raz");
    if (i + 1 == arguments.size() || arguments[i + 1].empty()) Fail("po \"" + argument + "\" brak nazwy pliku");
    *target = arguments[++i];
  }
  if (undo) {
    if (!line.answersPath.empty() || line.verify) Fail("\"/undo\" nie łączy się z \"/s\" ani z \"/verify\"");
    line.mode = CommandLine::Mode::Undo;
    return line;
  }
  if (line.answersPath.empty() && !line.verify) Fail("brak \"/s PLIK_ODPOWIEDZI\", \"/verify\" lub \"/undo\"");
  line.mode = line.answersPath.empty() ? CommandLine::Mode::Verify : CommandLine::Mode::Unattended;
  return line;
}

}  // namespace app
