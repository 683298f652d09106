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

// The same as the bytes of UTF-16LE, as the registry and regedit's files
// hold text; no null is added, and an odd last byte is ignored.
std::string ToUtf16Le(std::string_view text);
std::string FromUtf16Le(std::string_view bytes);

}  // namespace platform
