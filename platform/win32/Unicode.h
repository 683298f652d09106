#pragma once

#include <string>
#include <string_view>

// Text is UTF-8 everywhere in the program; these convert at the Win32 call
// and nowhere else.
namespace platform::win32 {

// Malformed UTF-8 becomes U+FFFD, as MultiByteToWideChar does without
// MB_ERR_INVALID_CHARS.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace platform::win32
