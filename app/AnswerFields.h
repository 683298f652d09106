#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/AnswersSection.h"
#include "app/servers/ServerKind.h"

namespace app {

// The fields of an unattended run: each starts as the window's control
// starts, the answers file gives some of them, and the pages' proposals
// fill the others, so that a key left out takes the value the window would
// propose.
class AnswerFields final : public servers::PageFields {
 public:
  using AnswerKey = servers::Kind::AnswerKey;

  AnswerFields(const AnswersFile& file, std::string_view section, std::span<const AnswerKey> keys);

  // Takes the field's key from the file, checked as the key says, as the
  // value the field is given; a key left out gives nothing.
  void Take(ControlId field);
  // Takes every key not taken yet, in the order of the keys.
  void TakeRest();
  bool Given(ControlId field) const { return given_[IndexOf(field)]; }
  [[noreturn]] void Fail(ControlId field, const std::string& problem) const;
  // Each key with its field's value as the file would give it ("1" or "0"
  // for a flag), in the order of the keys; empty values are left out.
  std::vector<std::pair<std::string_view, std::string>> Values() const;

  std::string Text(ControlId field) const override { return texts_[IndexOf(field)]; }
  bool Checked(ControlId field) const override { return checked_[IndexOf(field)]; }
  bool Edited(ControlId field) const override { return Given(field); }
  void Propose(ControlId field, std::string text) override;
  void ProposeChecked(ControlId field, bool checked) override;
  std::optional<std::string> Choose(ControlId list, std::vector<Choice> choices) override;
  std::string ChosenData(ControlId list) const override { return chosen_[IndexOf(list)]; }
  void Offer(ControlId field, std::vector<std::string> items) override;

 private:
  const AnswerKey& KeyOf(ControlId field) const;

  AnswersSection section_;
  std::span<const AnswerKey> keys_;
  std::array<std::string, kControlCount> texts_;
  std::array<bool, kControlCount> checked_{};
  std::array<bool, kControlCount> given_{};
  std::array<bool, kControlCount> taken_{};
  std::array<std::string, kControlCount> chosen_;
};

}  // namespace app
