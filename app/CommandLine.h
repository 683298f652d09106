#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::string_view kUsage =
    "Użycie: KonfigNovera.exe [/s PLIK_ODPOWIEDZI] [/verify] [/log PLIK_RAPORTU] [/json PLIK_WYNIKU]\r\n"
    "       KonfigNovera.exe /export PLIK_ODPOWIEDZI [/log PLIK_RAPORTU] [/json PLIK_WYNIKU]\r\n"
    "  bez argumentów  kreator \"Konfiguracja BDE\" w oknie\r\n"
    "  /s PLIK         konfiguracja bez okna według pliku odpowiedzi (INI)\r\n"
    "  /verify         sprawdzenie połączeń po konfiguracji; bez /s sprawdzenie\r\n"
    "                  stanu stacji roboczej, bez żadnych zmian\r\n"
    "  /export PLIK    zapis pliku odpowiedzi opisującego tę stację roboczą\r\n"
    "  /log PLIK       raport także do pliku (UTF-8)\r\n"
    "  /json PLIK      wynik dla skryptów: obiekt JSON (UTF-8)\r\n"
    "  /?              ten opis\r\n"
    "Kod wyjścia: 0 - wykonano, 1 - konfiguracja nie powiodła się,\r\n"
    "2 - błędny plik odpowiedzi lub wiersz poleceń (nic nie zmieniono),\r\n"
    "3 - sprawdzenie połączeń wykazało błąd (z /s: konfigurację wykonano).\r\n"
    "/export: 0 - zapisano, 1 - pliku nie zapisano, 2 - błędny wiersz poleceń.\r\n";

struct CommandLine {
  // Verify: the connections of the workstation as it is, checked without
  // writing anything.
  enum class Mode { Window, Unattended, Verify, Export, Usage };
  Mode mode = Mode::Window;
  std::string answersPath;
  std::string logPath;   // empty: no log file
  std::string jsonPath;  // empty: no result file
  std::string exportPath;
  bool verify = false;  // the connections checked after an unattended run
};

// The arguments after the program's name. Switches are compared without
// regard to letter case. An unknown argument, a switch without its file or
// a switch given twice raises AnswersError; a line needs "/s",
// "/verify" or "/export", and "/export" goes with neither of the others.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The files a command line that ParseCommandLine refused still names for
// the report and the result: each the first one given after its switch.
CommandLine OutputsOfRefusedCommandLine(const std::vector<std::string>& arguments);

// The mode's name in the result file: "configure", "verify", "export", "usage",
// "window".
std::string_view ModeName(const CommandLine& line);

}  // namespace app
