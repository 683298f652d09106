#include "app/backup/Manifest.h"

#include <utility>

#include "app/backup/ItemFiles.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace app::backup {
namespace {

constexpr std::string_view kTitle = "KonfigNovera: kopia zapasowa konfiguracji";
constexpr std::string_view kRunLabel = "Przebieg: ";
constexpr std::string_view kModeLabel = "Tryb: ";
constexpr std::string_view kStateLabel = "Stan: ";
constexpr std::string_view kColumns = "Rodzaj\tMiejsce\tNazwa wartości\tPrzed\tPlik\tPo\tPlik";
constexpr std::string_view kPresent = "jest";
constexpr std::string_view kAbsent = "brak";
constexpr std::string_view kMissingKeys = " (kluczy: ";
constexpr std::string_view kNoFile = "-";
constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";

// %s: the line's number, then the line.
constexpr std::string_view kBadLineMessage = "wiersz %s pliku manifest.txt jest niepoprawny: \"%s\"";

template <typename Enum>
struct Word {
  Enum value;
  std::string_view word;
};

constexpr Word<ItemKind> kKindWords[] = {{ItemKind::RegistryKey, "klucz rejestru"},
                                         {ItemKind::RegistryValue, "wartość rejestru"},
                                         {ItemKind::File, "plik"},
                                         {ItemKind::Alias, "alias BDE"},
                                         {ItemKind::EngineFile, "plik konfiguracji BDE"}};
constexpr Word<RunMode> kModeWords[] = {{RunMode::Window, "okno"}, {RunMode::Unattended, "bez okna (/s)"}};
constexpr Word<RunState> kStateWords[] = {{RunState::InProgress, "w toku"},
                                          {RunState::Finished, "zakończony"},
                                          {RunState::Failed, "zakończony błędem"},
                                          {RunState::RolledBack, "wycofany"},
                                          {RunState::Undone, "cofnięty"}};

template <typename Enum, size_t N>
std::string_view WordOf(const Word<Enum> (&words)[N], Enum value) {
  for (const Word<Enum>& word : words) {
    if (word.value == value) return word.word;
  }
  return {};
}

template <typename Enum, size_t N>
std::optional<Enum> ValueOf(const Word<Enum> (&words)[N], std::string_view text) {
  for (const Word<Enum>& word : words) {
    if (word.word == text) return word.value;
  }
  return std::nullopt;
}

bool IsRegistry(ItemKind kind) { return kind == ItemKind::RegistryKey || kind == ItemKind::RegistryValue; }

std::string Where(const Place& place) {
  return IsRegistry(place.kind) ? RegistryPath(place.root, place.path) : place.path;
}

std::string FileField(const std::string& file) {
  return file.empty() ? std::string(kNoFile) : platform::EscapeField(file);
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.emplace_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::optional<Place> ParsePlace(ItemKind kind, const std::string& where, const std::string& valueName) {
  if (!IsRegistry(kind)) return Place{kind, {}, where, {}};
  for (const auto& [root, name] : {std::pair{platform::RegistryRoot::LocalMachine, kLocalMachine},
                                   std::pair{platform::RegistryRoot::CurrentUser, kCurrentUser}}) {
    if (where == name || where.starts_with(std::string(name) + "\\")) {
      return Place{kind, root, where.substr(name.size()), kind == ItemKind::RegistryValue ? valueName : ""};
    }
  }
  return std::nullopt;
}

// A name of a file directly inside the folder, or "-" for none.
std::optional<std::string> ParseFileField(const std::string& field) {
  if (field == kNoFile) return std::string();
  std::optional<std::string> name = platform::UnescapeField(field);
  if (!name || name->empty() || *name == "." || *name == ".." || name->find_first_of("\\/:") != std::string::npos) {
    return std::nullopt;
  }
  return name;
}

std::string PresenceField(bool present, int missingKeys) {
  if (present) return std::string(kPresent);
  if (missingKeys == 0) return std::string(kAbsent);
  return std::string(kAbsent) + std::string(kMissingKeys) + std::to_string(missingKeys) + ")";
}

struct KeptState {
  bool present = false;
  int missingKeys = 0;
  std::string file;
};

// A present item has a file, an absent one none.
std::optional<KeptState> ParseState(std::string_view presence, const std::string& file) {
  KeptState state;
  if (presence == kPresent) {
    state.present = true;
  } else if (presence.starts_with(std::string(kAbsent) + std::string(kMissingKeys)) && presence.ends_with(')')) {
    const std::string_view digits = presence.substr(kAbsent.size() + kMissingKeys.size(),
                                                    presence.size() - kAbsent.size() - kMissingKeys.size() - 1);
    if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    state.missingKeys = std::stoi(std::string(digits));
  } else if (presence != kAbsent) {
    return std::nullopt;
  }
  std::optional<std::string> name = ParseFileField(file);
  if (!name || state.present == name->empty()) return std::nullopt;
  state.file = std::move(*name);
  return state;
}

std::optional<ManifestItem> ParseItem(std::string_view line) {
  const std::vector<std::string> fields = SplitTabs(line);
  if (fields.size() != 5 && fields.size() != 7) return std::nullopt;
  const std::optional<ItemKind> kind = ValueOf(kKindWords, fields[0]);
  const std::optional<std::string> where = platform::UnescapeField(fields[1]);
  const std::optional<std::string> valueName = platform::UnescapeField(fields[2]);
  if (!kind || !where || !valueName) return std::nullopt;
  std::optional<Place> place = ParsePlace(*kind, *where, *valueName);
  const std::optional<KeptState> before = ParseState(fields[3], fields[4]);
  if (!place || !before) return std::nullopt;
  ManifestItem item{std::move(*place), before->present, before->file, std::nullopt, {}, before->missingKeys, 0};
  if (fields.size() == 7) {
    const std::optional<KeptState> after = ParseState(fields[5], fields[6]);
    if (!after) return std::nullopt;
    item.presentAfter = after->present;
    item.afterFile = after->file;
    item.missingKeysAfter = after->missingKeys;
  }
  return item;
}

}  // namespace

std::string ManifestText(const Manifest& manifest) {
  std::vector<std::string> lines = {std::string(kTitle), std::string(kRunLabel) + manifest.run,
                                    std::string(kModeLabel) + std::string(WordOf(kModeWords, manifest.mode)),
                                    std::string(kStateLabel) + std::string(WordOf(kStateWords, manifest.state)),
                                    std::string(kColumns)};
  for (const ManifestItem& item : manifest.items) {
    std::string line = std::string(WordOf(kKindWords, item.place.kind)) + "\t" +
                       platform::EscapeField(Where(item.place)) + "\t" + platform::EscapeField(item.place.valueName) +
                       "\t" + PresenceField(item.presentBefore, item.missingKeysBefore) + "\t" +
                       FileField(item.beforeFile);
    if (item.presentAfter) {
      line.append("\t").append(PresenceField(*item.presentAfter, item.missingKeysAfter));
      line.append("\t").append(FileField(item.afterFile));
    }
    lines.push_back(std::move(line));
  }
  return platform::JoinLines(lines);
}

Manifest ParseManifest(std::string_view text) {
  const std::vector<std::string> lines = platform::SplitLines(text);
  const auto fail = [&](size_t index) {
    const std::string line = index < lines.size() ? lines[index] : std::string();
    throw platform::Error(platform::Format(kBadLineMessage, {std::to_string(index + 1), line}));
  };
  const auto labelled = [&](size_t index, std::string_view label) {
    if (index >= lines.size() || !lines[index].starts_with(label)) fail(index);
    return lines[index].substr(label.size());
  };
  if (lines.empty() || lines[0] != kTitle) fail(0);
  Manifest manifest;
  manifest.run = labelled(1, kRunLabel);
  const std::optional<RunMode> mode = ValueOf(kModeWords, labelled(2, kModeLabel));
  if (!mode) fail(2);
  const std::optional<RunState> state = ValueOf(kStateWords, labelled(3, kStateLabel));
  if (!state) fail(3);
  if (lines.size() < 5 || lines[4] != kColumns) fail(4);
  manifest.mode = *mode;
  manifest.state = *state;
  for (size_t i = 5; i < lines.size(); ++i) {
    std::optional<ManifestItem> item = ParseItem(lines[i]);
    if (!item) fail(i);
    manifest.items.push_back(std::move(*item));
  }
  return manifest;
}

}  // namespace app::backup
