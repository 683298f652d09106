#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/UnattendedAnswers.h"

namespace app {

// %s: the key, then its value.
inline constexpr std::string_view kUnwritableValueMessage =
    "Wartości klucza \"%s\" (\"%s\") nie można zapisać w pliku odpowiedzi: zawiera średnik albo odstęp na początku "
    "lub na końcu";

// The answers file that describes this workstation as it is, in the
// README's layout: a comment line naming the computer and the time, the
// main section with the first page's choices (those the settings key
// stores, else those of the main alias an earlier run left, else the
// window's defaults),
// and the chosen kind's section with what its pages propose from the
// registry, the aliases and the files. Applied with /s, it gives the same
// data source, aliases and service entry. A value the layout cannot hold
// (a ";", blanks at either end) raises kUnwritableValueMessage; the
// registry, the files and the engine are only read.
std::vector<std::string> DescribeWorkstation(platform::Registry& registry, const EngineStart& engine,
                                             const std::string& computer, const std::string& time);

}  // namespace app
