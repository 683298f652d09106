#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::string_view kUsage =
    "Użycie: KonfigNovera.exe [/s PLIK_ODPOWIEDZI] [/verify] [/log PLIK_RAPORTU] [/json PLIK_WYNIKU]\r\n"
    "        KonfigNovera.exe /s PLIK_ODPOWIEDZI /plan [/log PLIK_RAPORTU] [/json PLIK_WYNIKU]\r\n"
    "        KonfigNovera.exe /undo [/log PLIK_RAPORTU] [/json PLIK_WYNIKU]\r\n"
    "        KonfigNovera.exe /export PLIK_ODPOWIEDZI [/log PLIK_RAPORTU] [/json PLIK_WYNIKU]\r\n"
    "  bez argumentów  kreator \"Konfiguracja BDE\" w oknie\r\n"
    "  /s PLIK         konfiguracja bez okna według pliku odpowiedzi (INI): wszystko\r\n"
    "                  albo nic - po błędzie wycofuje każdą swoją zmianę\r\n"
    "  /verify         sprawdzenie połączeń po konfiguracji; bez /s sprawdzenie\r\n"
    "                  stanu stacji roboczej, bez żadnych zmian\r\n"
    "  /plan           z /s: podgląd zmian, które przebieg by wprowadził\r\n"
    "                  (rejestr, różnice plików, aliasy), bez żadnego zapisu\r\n"
    "  /undo           przywraca stan sprzed ostatniego niecofniętego przebiegu\r\n"
    "                  (w oknie lub /s); kolejne /undo cofa przebieg wcześniejszy;\r\n"
    "                  tego, co zmieniono po przebiegu, nie zmienia\r\n"
    "  /export PLIK    zapis pliku odpowiedzi opisującego tę stację roboczą\r\n"
    "  /log PLIK       raport także do pliku (UTF-8)\r\n"
    "  /json PLIK      wynik dla skryptów: obiekt JSON (UTF-8)\r\n"
    "  /?              ten opis\r\n"
    "Przed pierwszym zapisem każdy przebieg zapisuje kopię zapasową tego, co zmienia,\r\n"
    "w folderze %ProgramData%\\Novera\\KonfigNovera\\<czas przebiegu> (opis: manifest.txt);\r\n"
    "zostaje 10 ostatnich.\r\n"
    "Kod wyjścia: 0 - wykonano lub przywrócono, 1 - konfiguracja nie powiodła się\r\n"
    "(zmiany wycofano) lub /undo nie przywróciło wszystkiego, 2 - błędny plik\r\n"
    "odpowiedzi lub wiersz poleceń (nic nie zmieniono) albo brak przebiegu do cofnięcia,\r\n"
    "3 - sprawdzenie połączeń wykazało błąd (z /s: konfigurację wykonano).\r\n"
    "/export: 0 - zapisano, 1 - pliku nie zapisano, 2 - błędny wiersz poleceń.\r\n"
    "/plan: 0 - podgląd gotowy, 1 - przebieg zatrzymałby się na błędzie, 2 - błędny plik\r\n"
    "odpowiedzi lub wiersz poleceń.\r\n";

struct CommandLine {
  // Verify: the connections of the workstation as it is, checked without
  // writing anything. Undo: the latest run put back.
  // Plan: what the run with the answers would change, shown, with nothing
  // written.
  enum class Mode { Window, Unattended, Verify, Undo, Export, Plan, Usage };
  Mode mode = Mode::Window;
  std::string answersPath;
  std::string logPath;   // empty: no log file
  std::string jsonPath;  // empty: no result file
  std::string exportPath;
  bool verify = false;  // the connections checked after an unattended run
  bool plan = false;
};

// The arguments after the program's name. Switches are compared without
// regard to letter case. An unknown argument, a switch without its file or
// a switch given twice raises AnswersError; a line needs "/s", "/verify",
// "/undo" or "/export", and "/undo" and "/export" each go with neither
// "/s" nor "/verify" nor "/plan" nor each other; "/plan" needs "/s" and
// goes without "/verify".
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The files a command line that ParseCommandLine refused still names for
// the report and the result: each the first one given after its switch.
CommandLine OutputsOfRefusedCommandLine(const std::vector<std::string>& arguments);

// The mode's name in the result file: "configure", "verify", "undo",
// "export", "plan", "usage", "window".
std::string_view ModeName(const CommandLine& line);

}  // namespace app
