#pragma once

#include <string>

#include "platform/win32/Windows.h"

namespace platform::win32 {

// The system's own text for an error code (GetLastError, WSAGetLastError),
// in the language of the system, without the line end FormatMessage puts
// after it; "Error N" for a code the system has no text for.
std::string SystemMessage(DWORD error);

}  // namespace platform::win32
