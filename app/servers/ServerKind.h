#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ControlTable.h"
#include "bde/ConnectionCheck.h"

namespace platform {
class NetworkProbe;
class Registry;
}  // namespace platform

namespace bde {
class AliasEngine;
class Database;
class ParameterList;
class StatusReport;
}  // namespace bde

namespace app {
class AnswersFile;
struct Answers;
}  // namespace app

namespace app::backup {
class ItemKeeper;
}

namespace app::servers {

// The fields of the pages as a kind's proposals read and fill them: the
// window's controls, or the values of an unattended run.
class PageFields {
 public:
  struct Choice {
    std::string text;
    std::string data;
  };

  virtual ~PageFields() = default;

  virtual std::string Text(ControlId field) const = 0;
  virtual bool Checked(ControlId field) const = 0;
  // Whether the field holds a value given on purpose: changed by the user
  // since its page was shown, or given by the answers file.
  virtual bool Edited(ControlId field) const = 0;

  // A value found for the field. The window shows it in place of what the
  // field holds; an unattended run takes it unless the answers file gives
  // the field.
  virtual void Propose(ControlId field, std::string text) = 0;
  virtual void ProposeChecked(ControlId field, bool checked) = 0;
  // A pick-only list offered anew with its first item chosen (the window
  // sorts its list; an unattended run takes the item the answers file
  // names, or the first one offered). The data of the item chosen, or
  // nothing when none is.
  virtual std::optional<std::string> Choose(ControlId list, std::vector<Choice> choices) = 0;
  // The data of the item chosen in a pick-only list; empty when none is.
  virtual std::string ChosenData(ControlId list) const = 0;
  // An editable field's list, the first of its items proposed.
  virtual void Offer(ControlId field, std::vector<std::string> items) = 0;
};

// Where the pages' proposals come from.
struct Sources {
  platform::Registry& registry;
  // The aliases of an earlier run; the engine starts when first asked.
  const std::function<bde::AliasEngine&()>& aliases;
  // The alias prefix of the first page's choices.
  std::string aliasPrefix;
};

// What the checks of a connection use: the registry, the network, and the
// ODBC driver manager that the suite's programs load.
struct CheckSources {
  platform::Registry& registry;
  std::shared_ptr<platform::NetworkProbe> network;
  std::string driverManagerLibrary;
  bool driverManagerReadsRegistry = true;
};

// The aliases of the suite's modules, in the order "Wykonaj" writes them;
// Archiwum only for version 11.
enum class SuiteAlias { Ochrona, LM, Faktury, Magistr, Odbiorcy, Odczyty, Archiwum, Liczniki };

// One kind of database server the wizard configures: what differs between
// the kinds is here, and nowhere else asks which kind is chosen. Each kind
// also has proposal functions of its own (what its pages find in the
// registry, the aliases and the files), which its pages' show handlers and
// its Resolve call alike. A check of the connection, a backup of what its
// writer overwrites, a preview of its changes and the export of its
// answers belong here too, beside the writer and the keys they concern.
class Kind {
 public:
  // How a key's value is checked before it is used. Required: not empty,
  // and no longer than the field lets the user type.
  enum class Check { Text, Required, Flag, Port };
  struct AnswerKey {
    std::string_view key;
    ControlId field;
    Check check = Check::Text;
  };

  virtual ~Kind() = default;

  // The pages after the first one, in the order "Dalej >" walks them;
  // "Wykonaj" applies on the last.
  virtual std::span<const PageId> Pages() const = 0;

  // The section of the answers file the kind reads, and its keys with the
  // field each one answers.
  virtual std::string_view Section() const = 0;
  virtual std::span<const AnswerKey> Keys() const = 0;
  // An unattended run's answers for the kind: the file's values over what
  // the pages propose, proposed as the pages do. Every value is checked
  // before it is used, and a fault raises AnswersError.
  virtual void Resolve(const AnswersFile& file, const Sources& sources, Answers& answers) const = 0;
  // What this workstation holds for each key, as /export writes it: the
  // value an unattended run takes when the answers file leaves the key
  // out, proposed from the registry, the aliases and the files over the
  // window's defaults, in the order of Keys(). An empty value is left out,
  // so that the target's own is proposed there.
  virtual std::vector<std::pair<std::string_view, std::string>> ProposedValues(const Sources& sources) const = 0;
  // The answers of the kind's pages, read from their fields.
  virtual void Collect(const PageFields& fields, Answers& answers) const = 0;

  // What the client's own configuration cannot take, said before "Wykonaj"
  // writes anything: it raises the message.
  virtual void CheckClient(platform::Registry& registry, const Answers& answers) const = 0;
  // The kind's part of "Wykonaj" before the aliases: the client's own
  // configuration, which reports its lines. Each of its writers first
  // takes what it may change into the run's backup.
  virtual void WriteClient(platform::Registry& registry, const Answers& answers, bde::StatusReport& report,
                           backup::ItemKeeper& backup) const = 0;
  // The template of the kind's aliases, which the apply step keeps from one
  // run to the next.
  virtual bde::Database AliasTemplate() const = 0;
  // The values every alias of a run takes, set before the first one, and
  // those set before one alias; a value set stays in force for the aliases
  // after it.
  virtual void SetRunValues(const Answers& answers, bde::ParameterList& params) const = 0;
  virtual void SetAliasValues(SuiteAlias alias, const Answers& answers, bde::ParameterList& params) const = 0;

  // The checks of the connections the suite's programs make with the
  // answers, in report order: the client's configuration, the server on
  // the network, the logins. Made on the caller's thread (it reads the
  // registry and the files); what waits on the network is left for
  // bde::RunChecks, on any thread.
  virtual std::vector<bde::Check> MakeChecks(const CheckSources& sources, const Answers& answers) const = 0;
};

}  // namespace app::servers
