#include "app/AnswersFile.h"

#include <exception>
#include <iterator>
#include <vector>

#include "app/servers/Kinds.h"
#include "app/servers/ServerKind.h"
#include "platform/AnsiCodePage.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

namespace app {
namespace {

using platform::Blanks;
using platform::Trim;

// The main section's keys; each server kind names its own section and keys.
constexpr std::string_view kMainKeys[] = {kServerKey, kVersionKey, kTestCopyKey};

// The section as the wizard spells it, or nothing for one it does not know.
std::optional<std::string_view> KnownSection(std::string_view name) {
  if (platform::EqualsNoCase(name, kMainSection)) return kMainSection;
  for (const servers::Kind* kind : servers::AllKinds()) {
    if (platform::EqualsNoCase(name, kind->Section())) return kind->Section();
  }
  return std::nullopt;
}

// The key of the section as the wizard spells it, or nothing.
std::optional<std::string_view> KnownKey(std::string_view section, std::string_view key) {
  std::vector<std::string_view> keys;
  if (section == kMainSection) keys.assign(std::begin(kMainKeys), std::end(kMainKeys));
  for (const servers::Kind* kind : servers::AllKinds()) {
    if (section != kind->Section()) continue;
    for (const servers::Kind::AnswerKey& answerKey : kind->Keys()) keys.push_back(answerKey.key);
  }
  for (std::string_view known : keys) {
    if (platform::EqualsNoCase(known, key)) return known;
  }
  return std::nullopt;
}

std::u16string Utf16Units(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return units;
}

bool IsUtf8(std::string_view bytes) { return platform::FromUtf16(platform::ToUtf16(bytes)) == bytes; }

[[noreturn]] void FailAtLine(const std::string& path, int line, const std::string& problem) {
  throw AnswersError("Plik odpowiedzi \"" + path + "\", wiersz " + std::to_string(line) + ": " + problem, problem);
}

}  // namespace

std::optional<std::string> DecodeAnswersText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    if (!IsUtf8(bytes.substr(3))) return std::nullopt;
    return std::string(bytes.substr(3));
  }
  if (bytes.starts_with("\xFF\xFE")) return platform::FromUtf16(Utf16Units(bytes.substr(2), false));
  if (bytes.starts_with("\xFE\xFF")) return platform::FromUtf16(Utf16Units(bytes.substr(2), true));
  if (IsUtf8(bytes)) return std::string(bytes);
  return platform::FromAnsiCodePage(bytes);
}

AnswersFile AnswersFile::Read(const std::string& path) {
  std::string bytes;
  try {
    bytes = platform::ReadFileContent(path);
  } catch (const std::exception& error) {
    throw AnswersError(error.what());
  }
  const std::optional<std::string> text = DecodeAnswersText(bytes);
  if (!text) throw AnswersError("Plik odpowiedzi \"" + path + "\" zaczyna się znacznikiem UTF-8, ale nie jest w UTF-8");
  return Parse(path, *text);
}

AnswersFile AnswersFile::Parse(const std::string& path, std::string_view text) {
  AnswersFile file;
  file.path_ = path;
  std::optional<std::string_view> section;
  int number = 0;
  for (const std::string& whole : platform::SplitLines(text)) {
    ++number;
    std::string_view line = whole;
    if (const size_t comment = line.find(';'); comment != std::string_view::npos) line = line.substr(0, comment);
    line = Trim(line, Blanks::SpaceAndTab);
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') FailAtLine(path, number, "niezrozumiały wiersz \"" + std::string(line) + "\"");
      const std::string_view name = Trim(line.substr(1, line.size() - 2), Blanks::SpaceAndTab);
      section = KnownSection(name);
      if (!section) FailAtLine(path, number, "nieznana sekcja [" + std::string(name) + "]");
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      FailAtLine(path, number, "niezrozumiały wiersz \"" + std::string(line) + "\", oczekiwano \"klucz=wartość\"");
    }
    const std::string_view key = Trim(line.substr(0, equals), Blanks::SpaceAndTab);
    if (!section) FailAtLine(path, number, "klucz \"" + std::string(key) + "\" przed pierwszą sekcją");
    const std::optional<std::string_view> known = KnownKey(*section, key);
    if (!known) FailAtLine(path, number, "nieznany klucz \"" + std::string(key) + "\" w sekcji [" + std::string(*section) + "]");
    if (const auto earlier = file.Find(*section, *known)) {
      FailAtLine(path, number, "klucz \"" + std::string(*known) + "\" podany drugi raz (pierwszy raz w wierszu " +
                                   std::to_string(earlier->line) + ")");
    }
    const std::string value(Trim(line.substr(equals + 1), Blanks::SpaceAndTab));
    file.entries_.push_back({*section, *known, {value, number}});
  }
  return file;
}

std::optional<AnswersFile::Value> AnswersFile::Find(std::string_view section, std::string_view key) const {
  for (const Entry& entry : entries_) {
    if (entry.section == section && entry.key == key) return entry.value;
  }
  return std::nullopt;
}

void AnswersFile::Fail(std::string_view section, std::string_view key, const std::string& problem) const {
  if (const auto given = Find(section, key)) {
    FailAtLine(path_, given->line, "klucz \"" + std::string(key) + "\": " + problem);
  }
  throw AnswersError("Plik odpowiedzi \"" + path_ + "\", sekcja [" + std::string(section) + "], klucz \"" +
                     std::string(key) + "\" (brak w pliku): " + problem,
                     problem);
}

}  // namespace app
