#pragma once

#include <functional>

#include "app/Answers.h"

namespace platform {
class Registry;
}

namespace bde {
class AliasEngine;
}

namespace app {

class AnswersFile;

// The engine of the run, started the first time it is asked for.
using EngineStart = std::function<bde::AliasEngine&()>;

// The answers of an unattended run: the values the file gives, and for a
// key left out the value the window would start with (its defaults, the
// first page's choices stored in the settings key, and what an earlier run
// left in the aliases, the data source and tnsnames.ora, as the pages
// propose them). Checks everything the run can know before it writes: the
// values, the Oracle home, the ODBC driver, the service entry and the
// rewrite of tnsnames.ora. Every value that needs no engine is checked
// before the engine is first asked for, so that a wrong value is named even
// where the engine does not start. A fault raises AnswersError; the
// registry, the files and the engine are only read.
// The first page's choices as an unattended run takes them when the file
// gives none: the stored ones over the window's defaults.
Answers ProposedChoices(platform::Registry& registry);

// The version as the answers file's "Wersja" names it: "9", "10" or "11".
std::string_view VersionAnswer(SuiteVersion version);

Answers ResolveAnswers(const AnswersFile& file, platform::Registry& registry, const EngineStart& engine);

}  // namespace app
