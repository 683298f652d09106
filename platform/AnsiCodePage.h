#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text in the system's ANSI code page, as UTF-8: on Windows the code page
// the system is set to; elsewhere Windows-1250, the code page of the Polish
// systems the wizard serves. Bytes the code page does not define become
// U+FFFD.
std::string FromAnsiCodePage(std::string_view text);

}  // namespace platform
