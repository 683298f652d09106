#include "app/UnattendedAnswers.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/AnswersFile.h"
#include "app/WizardSettings.h"
#include "mssql/DataSourceWriter.h"
#include "mssql/PickLists.h"
#include "oracle/AliasPresets.h"
#include "oracle/OracleHomes.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/ServiceFile.h"
#include "platform/Text.h"

namespace app {
namespace {

// Reads the keys of one section, each checked as it is taken.
class Section {
 public:
  Section(const AnswersFile& file, std::string_view name) : file_(file), name_(name) {}

  std::optional<std::string> Text(std::string_view key) const {
    if (auto given = file_.Find(name_, key)) return std::move(given->text);
    return std::nullopt;
  }

  // A text that may not be empty and may not be longer than the window lets
  // the user type.
  std::optional<std::string> Field(std::string_view key, size_t maxCharacters) const {
    std::optional<std::string> text = Text(key);
    if (text && text->empty()) Fail(key, "wartość nie może być pusta");
    if (text && maxCharacters > 0 && oracle::CutToCharacters(*text, maxCharacters) != *text) {
      Fail(key, "wartość \"" + *text + "\" jest dłuższa niż " + std::to_string(maxCharacters) + " znaków");
    }
    return text;
  }

  // One of the choices, without regard to letter case; its index.
  std::optional<size_t> Choice(std::string_view key, const std::vector<std::string_view>& choices) const {
    const std::optional<std::string> text = Text(key);
    if (!text) return std::nullopt;
    std::string allowed;
    for (size_t i = 0; i < choices.size(); ++i) {
      if (platform::EqualsNoCase(*text, choices[i])) return i;
      allowed += (i == 0 ? "" : ", ") + std::string(choices[i]);
    }
    Fail(key, "niepoprawna wartość \"" + *text + "\", dozwolone: " + allowed);
  }

  std::optional<bool> Flag(std::string_view key) const {
    if (const auto index = Choice(key, {"0", "1"})) return *index == 1;
    return std::nullopt;
  }

  std::optional<std::string> Port(std::string_view key) const {
    std::optional<std::string> text = Text(key);
    if (!text) return text;
    long value = 0;
    bool number = !text->empty() && text->size() <= 5;
    for (char c : *text) {
      number = number && c >= '0' && c <= '9';
      if (number) value = value * 10 + (c - '0');
    }
    if (!number || value < 1 || value > 65535) Fail(key, "niepoprawna liczba \"" + *text + "\", dozwolone: 1 do 65535");
    return text;
  }

  [[noreturn]] void Fail(std::string_view key, const std::string& problem) const { file_.Fail(name_, key, problem); }

 private:
  const AnswersFile& file_;
  std::string_view name_;
};

template <typename T>
void Take(T& target, std::optional<T> given) {
  if (given) target = std::move(*given);
}

// A value an earlier run left behind stands in for the window's default,
// as the pages propose it; an empty one does not.
void Propose(std::string& target, std::string preset) {
  if (!preset.empty()) target = std::move(preset);
}

void ResolveMssql(const Section& section, platform::Registry& registry, bde::AliasEngine& engine, Answers& answers,
                  const Section& main) {
  const auto presets = mssql::AliasPresets(engine).Read(AliasPrefixFor(ItemOf(answers.version), answers.testCopy));
  Propose(answers.dataSourceName, presets.dataSource);
  Take(answers.dataSourceName, section.Field("ZrodloDanych", 32));
  if (const char c = mssql::ForbiddenDataSourceNameChar(answers.dataSourceName)) {
    section.Fail("ZrodloDanych", "nazwa źródła danych \"" + answers.dataSourceName + "\" zawiera niedozwolony znak \"" +
                                     std::string(1, c) + "\"");
  }
  const auto settings = mssql::DataSourceCatalog(registry).ReadSettings(answers.dataSourceName);
  Take(answers.sqlServer, settings.server);
  Take(answers.windowsLogin, settings.windowsLogin);
  Take(answers.sqlServer, section.Text("SerwerMSSQL"));
  Take(answers.windowsLogin, section.Flag("LogowanieWindows"));
  Propose(answers.database, presets.database);
  Propose(answers.archiveDatabase, presets.archiveDatabase);
  Propose(answers.metersDatabase, presets.meterDatabase);
  Take(answers.database, section.Text("Baza"));
  Take(answers.archiveDatabase, section.Text("BazaArchiwum"));
  Take(answers.metersDatabase, section.Text("BazaLiczniki"));
  if (!mssql::DriverRegistered(registry)) {
    main.Fail("Serwer", "brak sterownika ODBC \"" + std::string(mssql::kDriverName) + "\"");
  }
}

// The home named as page 2 lists it, or the first one listed.
std::string HomeFolder(const Section& section, platform::Registry& registry) {
  oracle::OracleHomeLister lister(registry);
  const std::vector<oracle::OracleHome> homes = lister.List();
  const std::optional<std::string> name = section.Text("DomOracle");
  for (const oracle::OracleHome& home : homes) {
    if (!name || platform::EqualsNoCase(home.name, *name)) return lister.Details(home.subkey).folder.value_or("");
  }
  if (name) section.Fail("DomOracle", "nieznany Oracle Home \"" + *name + "\"");
  section.Fail("DomOracle", "w rejestrze nie ma żadnego Oracle Home");
}

void ResolveOracle(const Section& section, platform::Registry& registry, bde::AliasEngine& engine, Answers& answers) {
  answers.oracleHomeFolder = HomeFolder(section, registry);
  oracle::ServiceFile file;
  file.Read(oracle::NetworkFolder(answers.oracleHomeFolder));

  const std::string prefix = AliasPrefixFor(ItemOf(answers.version), answers.testCopy);
  oracle::AliasPresets presets(engine);
  const std::vector<std::string> names = file.Table().Names();
  if (!names.empty()) answers.oracleService = names.front();
  Propose(answers.oracleService, presets.ReadService(prefix));
  Take(answers.oracleService, section.Field("Serwis", 0));

  ServiceEntryValues& entry = answers.serviceEntry;
  entry.protocol = section.Field("Protokol", oracle::kServiceFields[1].size);
  entry.host = section.Field("Host", oracle::kServiceFields[2].size);
  entry.port = section.Port("Port");
  entry.service = section.Field("NazwaBazy", oracle::kServiceFields[4].size);
  if (entry.Any() && !entry.host && !file.FindEntry(answers.oracleService)) {
    section.Fail("Host", "wpisu \"" + answers.oracleService + "\" nie ma w pliku \"" + file.Folder() +
                             "tnsnames.ora\", więc adres serwera jest wymagany");
  }

  oracle::AliasPresets::Users users = presets.ReadUsers(prefix);
  Propose(answers.userOchrona, std::move(users.ochrona));
  Propose(answers.userLM, std::move(users.lm));
  Propose(answers.userLiczniki, std::move(users.liczniki));
  Take(answers.userOchrona, section.Text("UzytkownikOchrona"));
  Take(answers.userLM, section.Text("UzytkownikLumira"));
  Take(answers.userLiczniki, section.Text("UzytkownikLiczniki"));
}

}  // namespace

Answers ResolveAnswers(const AnswersFile& file, platform::Registry& registry, bde::AliasEngine& engine) {
  Answers answers;
  const Section main(file, kMainSection);
  if (const auto server = main.Choice("Serwer", {"MSSQL", "Oracle"})) {
    answers.server = *server == 0 ? ServerKind::MicrosoftSqlServer : ServerKind::Oracle;
  }
  if (const auto version = main.Choice("Wersja", {"9", "10", "11"})) {
    answers.version = SuiteVersionOfItem(static_cast<int>(*version));
  }
  Take(answers.testCopy, main.Flag("Kopia"));
  if (answers.server == ServerKind::MicrosoftSqlServer) {
    ResolveMssql(Section(file, kMssqlSection), registry, engine, answers, main);
  } else {
    ResolveOracle(Section(file, kOracleSection), registry, engine, answers);
  }
  return answers;
}

}  // namespace app
