#include <string>

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

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadFileContent(const std::string& path) {
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

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  const WriteFault fault = detail::TakeWriteFault();
  if (fault == WriteFault::CreateTemporary) Raise(kCreateFileFailedMessage, path, ERROR_ACCESS_DENIED);
  const std::wstring target = Widen(path);
  std::wstring tempPath;
  UniqueFileHandle file = CreateTemporary(target, tempPath);
  if (!file) Raise(kCreateFileFailedMessage, path, GetLastError());

  DWORD error = 0;
  if (!WriteAll(file.Get(), JoinLines(lines))) error = GetLastError();
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

void CreateFolders(const std::string& path) {
  const DWORD error = MakeFolders(Widen(path));
  if (error != 0) Raise(kCreateFileFailedMessage, path, error);
}

}  // namespace platform
