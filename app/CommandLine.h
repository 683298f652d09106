#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::string_view kUsage =
    "Użycie: KonfigNovera.exe [/s PLIK_ODPOWIEDZI | /export PLIK_ODPOWIEDZI] [/log PLIK_RAPORTU]\r\n"
    "                         [/json PLIK_WYNIKU]\r\n"
    "  bez argumentów  kreator \"Konfiguracja BDE\" w oknie\r\n"
    "  /s PLIK         konfiguracja bez okna według pliku odpowiedzi (INI)\r\n"
    "  /export PLIK    zapis pliku odpowiedzi opisującego tę stację roboczą\r\n"
    "  /log PLIK       raport także do pliku (UTF-8)\r\n"
    "  /json PLIK      wynik dla skryptów: obiekt JSON (UTF-8)\r\n"
    "  /?              ten opis\r\n"
    "Kod wyjścia: 0 - wykonano, 1 - konfiguracja nie powiodła się,\r\n"
    "2 - błędny plik odpowiedzi lub wiersz poleceń (nic nie zmieniono).\r\n"
    "/export: 0 - zapisano, 1 - pliku nie zapisano, 2 - błędny wiersz poleceń.\r\n";

struct CommandLine {
  enum class Mode { Window, Unattended, Export, Usage };
  Mode mode = Mode::Window;
  std::string answersPath;
  std::string logPath;   // empty: no log file
  std::string jsonPath;  // empty: no result file
  std::string exportPath;
};

// The arguments after the program's name. Switches are compared without
// regard to letter case. An unknown argument, a switch without its file or
// a switch given twice raises AnswersError.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The files a command line that ParseCommandLine refused still names for
// the report and the result: each the first one given after its switch.
CommandLine OutputsOfRefusedCommandLine(const std::vector<std::string>& arguments);

// The mode's name in the result file: "configure", "export", "usage", "window".
std::string_view ModeName(const CommandLine& line);

}  // namespace app
