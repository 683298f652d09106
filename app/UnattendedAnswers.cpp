#include "app/UnattendedAnswers.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/AnswersFile.h"
#include "app/WizardSettings.h"
#include "mssql/DataSourceWriter.h"
#include "mssql/PickLists.h"
#include "oracle/AliasPresets.h"
#include "oracle/NetworkFolder.h"
#include "oracle/OracleHomes.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/ServiceFile.h"
#include "oracle/TnsnamesWriter.h"
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

// The first page's choices as the window starts with them: the stored ones
// over its defaults. A stored version past the last item marks the last
// one, as on the first page; every server value but 0 is Oracle anyway.
void ProposeStoredChoices(platform::Registry& registry, Answers& answers) {
  const std::optional<StoredChoices> stored = PeekStoredChoices(registry);
  if (!stored) return;
  if (stored->server) answers.server = ServerKindOfItem(*stored->server);
  if (stored->version) {
    answers.version = SuiteVersionOfItem(std::clamp(*stored->version, -1, ItemOf(SuiteVersion::V11)));
  }
}

void CheckDataSourceName(const Section& section, const std::string& name) {
  if (const char c = mssql::ForbiddenDataSourceNameChar(name)) {
    section.Fail("ZrodloDanych",
                 "nazwa źródła danych \"" + name + "\" zawiera niedozwolony znak \"" + std::string(1, c) + "\"");
  }
}

// Every value the file gives is checked before the engine is asked for the
// earlier run's aliases.
void ResolveMssql(const Section& section, platform::Registry& registry, const EngineStart& engine, Answers& answers,
                  const Section& main) {
  const std::optional<std::string> dataSource = section.Field("ZrodloDanych", 32);
  if (dataSource) CheckDataSourceName(section, *dataSource);
  std::optional<std::string> server = section.Text("SerwerMSSQL");
  std::optional<bool> windowsLogin = section.Flag("LogowanieWindows");
  std::optional<std::string> database = section.Text("Baza");
  std::optional<std::string> archiveDatabase = section.Text("BazaArchiwum");
  std::optional<std::string> metersDatabase = section.Text("BazaLiczniki");
  if (!mssql::DriverRegistered(registry)) {
    main.Fail("Serwer", "brak sterownika ODBC \"" + std::string(mssql::kDriverName) + "\"");
  }

  const auto presets = mssql::AliasPresets(engine()).Read(AliasPrefixFor(ItemOf(answers.version), answers.testCopy));
  Propose(answers.dataSourceName, presets.dataSource);
  Take(answers.dataSourceName, dataSource);
  if (!dataSource) CheckDataSourceName(section, answers.dataSourceName);
  const auto settings = mssql::DataSourceCatalog(registry).ReadSettings(answers.dataSourceName);
  Take(answers.sqlServer, settings.server);
  Take(answers.windowsLogin, settings.windowsLogin);
  Take(answers.sqlServer, std::move(server));
  Take(answers.windowsLogin, windowsLogin);
  Propose(answers.database, presets.database);
  Propose(answers.archiveDatabase, presets.archiveDatabase);
  Propose(answers.metersDatabase, presets.meterDatabase);
  Take(answers.database, std::move(database));
  Take(answers.archiveDatabase, std::move(archiveDatabase));
  Take(answers.metersDatabase, std::move(metersDatabase));
}

// The home named as page 2 lists it, or the first one listed.
void ChooseHome(const Section& section, platform::Registry& registry, Answers& answers) {
  oracle::OracleHomeLister lister(registry);
  const std::vector<oracle::OracleHome> homes = lister.List();
  const std::optional<std::string> name = section.Text("DomOracle");
  for (const oracle::OracleHome& home : homes) {
    if (!name || platform::EqualsNoCase(home.name, *name)) {
      answers.oracleHomeFolder = lister.Details(home.subkey).folder.value_or("");
      answers.oracleHomeKey = home.subkey;
      return;
    }
  }
  if (name) section.Fail("DomOracle", "nieznany Oracle Home \"" + *name + "\"");
  section.Fail("DomOracle", "w rejestrze nie ma żadnego Oracle Home");
}

struct EntryKey {
  std::string_view key;
  std::optional<std::string> ServiceEntryValues::*value;
};

constexpr EntryKey kEntryKeys[] = {{"Protokol", &ServiceEntryValues::protocol},
                                   {"Host", &ServiceEntryValues::host},
                                   {"Port", &ServiceEntryValues::port},
                                   {"NazwaBazy", &ServiceEntryValues::service}};

// A host any file can hold, standing in for the one a new entry is given,
// so that the name alone is tried first.
constexpr char kPlainHost[] = "localhost";

std::string RewriteProblem(const oracle::RewriteFault& fault, std::string_view key, const std::string& value,
                           const std::string& serviceName, const std::string& path) {
  const bool name = key == "Serwis";
  if (fault.edited) {
    return "wpisu \"" + serviceName + "\" nie można zapisać w pliku \"" + path + "\"" +
           (name ? "" : " z wartością \"" + value + "\"");
  }
  const std::string write = (name ? "" : "z wartością \"" + value + "\" ") + "zapis wpisu \"" + serviceName +
                            "\" w pliku \"" + path + "\" ";
  if (fault.added) return write + "dodałby wpis \"" + fault.name + "\" o nazwie innej niż podana";
  return write + "zmieniłby wpis \"" + fault.name + "\", którego nie edytowano";
}

// The rewrite of tnsnames.ora that the apply step would make, checked as it
// checks it, so that a value the file cannot hold is a wrong answer and
// nothing is written. The key named is the first whose value, put in one
// at a time over an entry the file can hold, makes the check refuse: the
// name first, then the values in the order of the service page.
void CheckServiceEntry(const Section& section, const oracle::ServiceFile& file, const Answers& answers) {
  const ServiceEntryValues& given = answers.serviceEntry;
  const std::string& name = answers.oracleService;
  const std::string& path = file.FileOf(name);
  if (!given.Any()) return;
  if (!given.host && !file.FindEntry(name)) {
    section.Fail("Host", "wpisu \"" + name + "\" nie ma w pliku \"" + path + "\", więc adres serwera jest wymagany");
  }
  const auto whole = file.PlanEntry(name, given.Over(file.EntryOrNew(name))).fault;
  if (!whole) return;
  oracle::ServiceEntry start = file.EntryOrNew(name);
  if (!file.FindEntry(name)) start.host = kPlainHost;
  ServiceEntryValues tried;
  std::string_view key = "Serwis";
  std::string value = name;
  auto fault = file.PlanEntry(name, start).fault;
  for (const EntryKey& entryKey : kEntryKeys) {
    if (fault) break;
    if (!(given.*entryKey.value)) continue;
    tried.*entryKey.value = given.*entryKey.value;
    fault = file.PlanEntry(name, tried.Over(start)).fault;
    key = entryKey.key;
    value = *(given.*entryKey.value);
  }
  section.Fail(key, RewriteProblem(fault.value_or(*whole), key, value, name, path));
}

// Every value the file gives is checked before the engine is asked for the
// earlier run's aliases; only a left-out service name needs them first.
void ResolveOracle(const Section& section, platform::Registry& registry, const EngineStart& engine, Answers& answers) {
  ChooseHome(section, registry, answers);
  oracle::ServiceFile file;
  file.Read(oracle::FindNetworkFolder(registry, answers.oracleHomeKey, answers.oracleHomeFolder));
  const std::optional<std::string> service = section.Field("Serwis", 0);
  ServiceEntryValues& entry = answers.serviceEntry;
  entry.protocol = section.Field("Protokol", oracle::kServiceFields[1].size);
  entry.host = section.Field("Host", oracle::kServiceFields[2].size);
  entry.port = section.Port("Port");
  entry.service = section.Field("NazwaBazy", oracle::kServiceFields[4].size);
  std::optional<std::string> userOchrona = section.Text("UzytkownikOchrona");
  std::optional<std::string> userLM = section.Text("UzytkownikLumira");
  std::optional<std::string> userLiczniki = section.Text("UzytkownikLiczniki");

  const std::string prefix = AliasPrefixFor(ItemOf(answers.version), answers.testCopy);
  if (service) {
    answers.oracleService = *service;
  } else {
    const std::vector<std::string> names = file.OfferedNames();
    if (!names.empty()) answers.oracleService = names.front();
    Propose(answers.oracleService, oracle::AliasPresets(engine()).ReadService(prefix));
  }
  CheckServiceEntry(section, file, answers);
  // An entry left as it is must be one the client finds.
  if (!entry.Any()) {
    if (const auto problem = file.UnresolvedProblem(answers.oracleService)) section.Fail("Serwis", *problem);
  }

  oracle::AliasPresets::Users users = oracle::AliasPresets(engine()).ReadUsers(prefix);
  Propose(answers.userOchrona, std::move(users.ochrona));
  Propose(answers.userLM, std::move(users.lm));
  Propose(answers.userLiczniki, std::move(users.liczniki));
  Take(answers.userOchrona, std::move(userOchrona));
  Take(answers.userLM, std::move(userLM));
  Take(answers.userLiczniki, std::move(userLiczniki));
}

}  // namespace

Answers ResolveAnswers(const AnswersFile& file, platform::Registry& registry, const EngineStart& engine) {
  Answers answers;
  const Section main(file, kMainSection);
  const std::optional<size_t> server = main.Choice("Serwer", {"MSSQL", "Oracle"});
  const std::optional<size_t> version = main.Choice("Wersja", {"9", "10", "11"});
  Take(answers.testCopy, main.Flag("Kopia"));
  if (!server || !version) ProposeStoredChoices(registry, answers);
  if (server) answers.server = *server == 0 ? ServerKind::MicrosoftSqlServer : ServerKind::Oracle;
  if (version) answers.version = SuiteVersionOfItem(static_cast<int>(*version));
  if (answers.server == ServerKind::MicrosoftSqlServer) {
    ResolveMssql(Section(file, kMssqlSection), registry, engine, answers, main);
  } else {
    ResolveOracle(Section(file, kOracleSection), registry, engine, answers);
  }
  return answers;
}

}  // namespace app
