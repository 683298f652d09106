#pragma once

#include "platform/UniqueHandle.h"
#include "platform/win32/Windows.h"

// The Win32 handle kinds of the platform layer, one line each.
namespace platform::win32 {

// An opened registry key; never one of the predefined roots.
using UniqueHKey = UniqueHandle<HKEY, CloseWith<RegCloseKey>>;

// A file from CreateFileW, which reports failure as INVALID_HANDLE_VALUE
// rather than null.
struct CloseFile : CloseWith<CloseHandle> {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
};
using UniqueFileHandle = UniqueHandle<HANDLE, CloseFile>;

// A folder listing from FindFirstFileW, which also reports failure as
// INVALID_HANDLE_VALUE.
struct CloseFind : CloseWith<FindClose> {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
};
using UniqueFindHandle = UniqueHandle<HANDLE, CloseFind>;

// The service control manager, or one of its services.
using UniqueServiceHandle = UniqueHandle<SC_HANDLE, CloseWith<CloseServiceHandle>>;

}  // namespace platform::win32
