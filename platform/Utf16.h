#pragma once

#include <string>
#include <string_view>

// UTF-16 as C APIs outside Win32 take it (ODBC's SQLWCHAR is 16 bits on
// Windows and in unixODBC alike), converted at the call and nowhere else.
namespace platform {

// Malformed UTF-8 becomes U+FFFD.
std::u16string ToUtf16(std::string_view text);
// An unpaired surrogate becomes U+FFFD.
std::string FromUtf16(std::u16string_view text);

}  // namespace platform
