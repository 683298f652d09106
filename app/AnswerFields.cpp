#include "app/AnswerFields.h"

#include <stdexcept>

#include "platform/Text.h"

namespace app {

AnswerFields::AnswerFields(const AnswersFile& file, std::string_view section, std::span<const AnswerKey> keys)
    : section_(file, section), keys_(keys) {
  for (size_t i = 0; i < kControlCount; ++i) {
    texts_[i] = kControls[i].text;
    checked_[i] = kControls[i].checked;
  }
}

const AnswerFields::AnswerKey& AnswerFields::KeyOf(ControlId field) const {
  for (const AnswerKey& key : keys_) {
    if (key.field == field) return key;
  }
  throw std::logic_error("no key of the answers file answers this field");
}

void AnswerFields::Take(ControlId field) {
  using Check = servers::Kind::Check;
  const AnswerKey& key = KeyOf(field);
  const size_t index = IndexOf(field);
  taken_[index] = true;
  if (key.check == Check::Flag) {
    const std::optional<bool> flag = section_.Flag(key.key);
    if (flag) checked_[index] = *flag;
    given_[index] = flag.has_value();
    return;
  }
  std::optional<std::string> text;
  switch (key.check) {
    case Check::Required:
      text = section_.Field(key.key, LimitOf(field));
      break;
    case Check::Port:
      text = section_.Port(key.key);
      break;
    default:
      text = section_.Text(key.key);
      break;
  }
  if (text) texts_[index] = std::move(*text);
  given_[index] = text.has_value();
}

void AnswerFields::TakeRest() {
  for (const AnswerKey& key : keys_) {
    if (!taken_[IndexOf(key.field)]) Take(key.field);
  }
}

void AnswerFields::Fail(ControlId field, const std::string& problem) const { section_.Fail(KeyOf(field).key, problem); }

std::vector<std::pair<std::string_view, std::string>> AnswerFields::Values() const {
  std::vector<std::pair<std::string_view, std::string>> values;
  for (const AnswerKey& key : keys_) {
    if (key.check == servers::Kind::Check::Flag) {
      values.emplace_back(key.key, Checked(key.field) ? "1" : "0");
    } else if (!Text(key.field).empty()) {
      values.emplace_back(key.key, Text(key.field));
    }
  }
  return values;
}

void AnswerFields::Propose(ControlId field, std::string text) {
  if (!Given(field)) texts_[IndexOf(field)] = std::move(text);
}

void AnswerFields::ProposeChecked(ControlId field, bool checked) {
  if (!Given(field)) checked_[IndexOf(field)] = checked;
}

// The item named without regard to letter case, or the first one offered.
std::optional<std::string> AnswerFields::Choose(ControlId list, std::vector<Choice> choices) {
  for (Choice& choice : choices) {
    if (!Given(list) || platform::EqualsNoCase(choice.text, Text(list))) {
      if (!Given(list)) texts_[IndexOf(list)] = choice.text;
      chosen_[IndexOf(list)] = choice.data;
      return std::move(choice.data);
    }
  }
  return std::nullopt;
}

void AnswerFields::Offer(ControlId field, std::vector<std::string> items) {
  if (!items.empty()) Propose(field, std::move(items.front()));
}

}  // namespace app
