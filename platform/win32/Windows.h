#pragma once

// The one place that includes <windows.h>. UNICODE, WIN32_LEAN_AND_MEAN,
// NOMINMAX and _WIN32_WINNT come from the build, so every file sees the
// same declarations: wide functions under the plain names, no min/max
// macros, and nothing older than Windows 7.
#include <windows.h>
