#include "app/AnswersSection.h"

#include "app/AnswersFile.h"
#include "oracle/ServiceEntryTable.h"
#include "platform/Text.h"

namespace app {

std::optional<std::string> AnswersSection::Text(std::string_view key) const {
  if (auto given = file_.Find(name_, key)) return std::move(given->text);
  return std::nullopt;
}

std::optional<std::string> AnswersSection::Field(std::string_view key, size_t maxCharacters) const {
  std::optional<std::string> text = Text(key);
  if (text && text->empty()) Fail(key, "wartość nie może być pusta");
  if (text && maxCharacters > 0 && oracle::CutToCharacters(*text, maxCharacters) != *text) {
    Fail(key, "wartość \"" + *text + "\" jest dłuższa niż " + std::to_string(maxCharacters) + " znaków");
  }
  return text;
}

std::optional<size_t> AnswersSection::Choice(std::string_view key, const std::vector<std::string_view>& choices) const {
  const std::optional<std::string> text = Text(key);
  if (!text) return std::nullopt;
  std::string allowed;
  for (size_t i = 0; i < choices.size(); ++i) {
    if (platform::EqualsNoCase(*text, choices[i])) return i;
    allowed += (i == 0 ? "" : ", ") + std::string(choices[i]);
  }
  Fail(key, "niepoprawna wartość \"" + *text + "\", dozwolone: " + allowed);
}

std::optional<bool> AnswersSection::Flag(std::string_view key) const {
  if (const auto index = Choice(key, {"0", "1"})) return *index == 1;
  return std::nullopt;
}

std::optional<std::string> AnswersSection::Port(std::string_view key) const {
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

void AnswersSection::Fail(std::string_view key, const std::string& problem) const { file_.Fail(name_, key, problem); }

}  // namespace app
