#include <string>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemMessage.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform {
namespace {

using win32::Narrow;
using win32::UniqueFileHandle;
using win32::UniqueFindHandle;
using win32::Widen;

[[noreturn]] void Raise(std::string_view pattern, const std::string& path, DWORD error) {
  throw Error(Format(pattern, {path, win32::SystemMessage(error)}));
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteAll(HANDLE file, std::string_view data) {
  while (!data.empty()) {
    DWORD written = 0;
    if (!WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr)) {
      return false;
    }
    data.remove_prefix(written);
  }
  return true;
}

// A new, empty file beside the target, in the same folder so that the move
// is a rename on one volume. CREATE_NEW keeps two writers apart.
UniqueFileHandle CreateTemporary(const std::wstring& target, std::wstring& tempPath) {
  for (int attempt = 0;; ++attempt) {
    tempPath = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(attempt) + L".tmp";
    UniqueFileHandle file(CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS || attempt == 100) return file;
  }
}

// Parents first; answers the error of the first failure, or 0.
DWORD MakeFolders(std::wstring folder) {
  while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  if (IsFolder(folder)) return 0;
  const size_t slash = folder.find_last_of(L"\\/");
  if (slash != std::wstring::npos && slash > 0) {
    const DWORD error = MakeFolders(folder.substr(0, slash));
    if (error != 0) return error;
  }
  if (CreateDirectoryW(folder.c_str(), nullptr)) return 0;
  const DWORD error = GetLastError();
  // Another process may have made it meanwhile.
  return error == ERROR_ALREADY_EXISTS && IsFolder(folder) ? 0 : error;
}

// Each entry of a folder but "." and "..", with its attributes.
template <typename Visit>
DWORD ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return GetLastError();
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") visit(name, found.dwFileAttributes);
  } while (FindNextFileW(find.Get(), &found));
  const DWORD error = GetLastError();
  return error == ERROR_NO_MORE_FILES ? 0 : error;
}

// Children first; answers the path and error of the first failure.
std::pair<std::wstring, DWORD> RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {path, 0};
    return {path, error};
  }
  // A read-only file would refuse deletion.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  // A link to a folder is removed itself, never followed.
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    const bool removed =
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
    return {path, removed ? 0 : GetLastError()};
  }
  std::vector<std::wstring> children;
  const DWORD listed = ForEachEntry(path, [&](const std::wstring& name, DWORD) { children.push_back(name); });
  if (listed != 0) return {path, listed};
  for (const std::wstring& child : children) {
    auto failure = RemoveTree(path + L"\\" + child);
    if (failure.second != 0) return failure;
  }
  return {path, RemoveDirectoryW(path.c_str()) ? 0 : GetLastError()};
}

}  // namespace

bool detail::SystemFileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string detail::SystemReadFileContent(const std::string& path) {
  // Others may keep the file open, even for writing, while we read it.
  UniqueFileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Raise(kOpenFileFailedMessage, path, GetLastError());
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file.Get(), buffer, sizeof(buffer), &count, nullptr)) {
      Raise(kOpenFileFailedMessage, path, GetLastError());
    }
    if (count == 0) break;
    content.append(buffer, count);
  }
  return content;
}

void detail::SystemWriteFileContent(const std::string& path, std::string_view content) {
  const WriteFault fault = detail::TakeWriteFault(path);
  if (fault == WriteFault::CreateTemporary) Raise(kCreateFileFailedMessage, path, ERROR_ACCESS_DENIED);
  const std::wstring target = Widen(path);
  std::wstring tempPath;
  UniqueFileHandle file = CreateTemporary(target, tempPath);
  if (!file) Raise(kCreateFileFailedMessage, path, GetLastError());

  DWORD error = 0;
  if (!WriteAll(file.Get(), content)) error = GetLastError();
  if (error == 0 && !FlushFileBuffers(file.Get())) error = GetLastError();
  file.Reset();
  if (error == 0 && fault == WriteFault::AfterTemporaryWritten) error = ERROR_DISK_FULL;
  // Another program holding the old file open is what refuses the swap.
  if (error == 0 && fault == WriteFault::Replace) error = ERROR_SHARING_VIOLATION;
  if (error == 0 && !MoveFileExW(tempPath.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    DeleteFileW(tempPath.c_str());
    Raise(kCreateFileFailedMessage, path, error);
  }
}

void detail::SystemCreateFolders(const std::string& path) {
  const DWORD error = MakeFolders(Widen(path));
  if (error != 0) Raise(kCreateFileFailedMessage, path, error);
}

bool detail::SystemRemoveFile(const std::string& path) {
  if (DeleteFileW(Widen(path).c_str())) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
  Raise(kDeleteFileFailedMessage, path, error);
}

std::vector<std::string> SubfolderNames(const std::string& path) {
  std::vector<std::string> names;
  ForEachEntry(Widen(path), [&](const std::wstring& name, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) names.push_back(Narrow(name));
  });
  return names;
}

void detail::SystemRemoveFolder(const std::string& path) {
  const auto [failed, error] = RemoveTree(Widen(path));
  if (error != 0) Raise(kDeleteFileFailedMessage, Narrow(failed), error);
}

}  // namespace platform
