#pragma once

#include <string>

namespace app {

// The text an error box shows: a full stop is appended when the last
// character sorts after "." (a letter or a digit), not after ".", "!", ")"
// or a double quote.
std::string WithFinalStop(std::string text);

}  // namespace app
