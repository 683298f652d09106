#pragma once

#include "app/Answers.h"

namespace platform {
class Registry;
}

namespace bde {
class AliasEngine;
}

namespace app {

class AnswersFile;

// The answers of an unattended run: the values the file gives, and for a
// key left out the value the window would start with (its defaults, and
// what an earlier run left in the aliases, the data source and
// tnsnames.ora, as the pages propose them). Checks everything the run can
// know before it writes: the values, the Oracle home, the ODBC driver and
// the service entry. A fault raises AnswersError; the registry, the files
// and the engine are only read.
Answers ResolveAnswers(const AnswersFile& file, platform::Registry& registry, bde::AliasEngine& engine);

}  // namespace app
