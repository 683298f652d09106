#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::string_view kUsage =
    "Użycie: KonfigNovera.exe [/s PLIK_ODPOWIEDZI] [/verify] [/log PLIK_RAPORTU]\r\n"
    "  bez argumentów  kreator \"Konfiguracja BDE\" w oknie\r\n"
    "  /s PLIK         konfiguracja bez okna według pliku odpowiedzi (INI)\r\n"
    "  /verify         sprawdzenie połączeń po konfiguracji; bez /s sprawdzenie\r\n"
    "                  stanu stacji roboczej, bez żadnych zmian\r\n"
    "  /log PLIK       raport także do pliku (UTF-8)\r\n"
    "  /?              ten opis\r\n"
    "Kod wyjścia: 0 - wykonano, 1 - konfiguracja nie powiodła się,\r\n"
    "2 - błędny plik odpowiedzi lub wiersz poleceń (nic nie zmieniono),\r\n"
    "3 - sprawdzenie połączeń wykazało błąd (z /s: konfigurację wykonano).\r\n";

struct CommandLine {
  // Verify: the connections of the workstation as it is, checked without
  // writing anything.
  enum class Mode { Window, Unattended, Verify, Usage };
  Mode mode = Mode::Window;
  std::string answersPath;
  std::string logPath;  // empty: no log file
  bool verify = false;  // the connections checked after an unattended run
};

// The arguments after the program's name. Switches are compared without
// regard to letter case. An unknown argument, a switch without its file or
// a switch given twice raises AnswersError; "/log" needs "/s" or "/verify".
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace app
