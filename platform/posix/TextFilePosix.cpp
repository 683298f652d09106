#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace platform {
namespace {

// Move-only owner of a file descriptor.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int Get() const { return fd_; }
  // Closes now, reporting the error that close() may be the first to see.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  void Reset() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  }

  int fd_;
};

[[noreturn]] void Raise(std::string_view pattern, const std::string& path, int error) {
  throw Error(Format(pattern, {path, std::strerror(error)}));
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// A new, empty file beside the target, in the same folder so that the
// rename cannot cross file systems. O_EXCL keeps two writers apart.
UniqueFd CreateTemporary(const std::string& path, std::string& tempPath) {
  for (int attempt = 0;; ++attempt) {
    tempPath = path + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
    UniqueFd fd(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() >= 0 || errno != EEXIST || attempt == 100) return fd;
  }
}

// Parents first; answers the errno of the first failure, or 0.
int MakeFolders(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (IsFolder(folder)) return 0;
  const size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    const int error = MakeFolders(folder.substr(0, slash));
    if (error != 0) return error;
  }
  if (::mkdir(folder.c_str(), 0777) == 0) return 0;
  const int error = errno;
  // Another process may have made it meanwhile.
  return error == EEXIST && IsFolder(folder) ? 0 : error;
}

}  // namespace

bool detail::SystemFileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) { return IsFolder(path); }

std::string detail::SystemReadFileContent(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) Raise(kOpenFileFailedMessage, path, errno);
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd.Get(), buffer, sizeof(buffer));
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      Raise(kOpenFileFailedMessage, path, errno);
    }
    content.append(buffer, static_cast<size_t>(count));
  }
  return content;
}

void detail::SystemWriteFileContent(const std::string& path, std::string_view content) {
  const WriteFault fault = detail::TakeWriteFault(path);
  if (fault == WriteFault::CreateTemporary) Raise(kCreateFileFailedMessage, path, EACCES);
  std::string tempPath;
  UniqueFd fd = CreateTemporary(path, tempPath);
  if (fd.Get() < 0) Raise(kCreateFileFailedMessage, path, errno);

  int error = 0;
  // A file being replaced keeps its permissions.
  struct stat old;
  if (::stat(path.c_str(), &old) == 0 && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) error = errno;
  if (error == 0 && !WriteAll(fd.Get(), content)) error = errno;
  if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
  if (!fd.Close() && error == 0) error = errno;
  if (error == 0 && fault == WriteFault::AfterTemporaryWritten) error = ENOSPC;
  if (error == 0 && fault == WriteFault::Replace) error = EBUSY;
  if (error == 0 && ::rename(tempPath.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    Raise(kCreateFileFailedMessage, path, error);
  }
}

void detail::SystemCreateFolders(const std::string& path) {
  const int error = MakeFolders(path);
  if (error != 0) Raise(kCreateFileFailedMessage, path, error);
}

bool detail::SystemRemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) return false;
  Raise(kDeleteFileFailedMessage, path, errno);
}

std::vector<std::string> SubfolderNames(const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.c_str()), ::closedir);
  if (!folder) return names;
  while (const dirent* entry = ::readdir(folder.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && IsFolder(path + "/" + name)) names.push_back(name);
  }
  return names;
}

void detail::SystemRemoveFolder(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return;
    Raise(kDeleteFileFailedMessage, path, errno);
  }
  if (S_ISDIR(info.st_mode)) {
    std::vector<std::string> entries;
    {
      const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.c_str()), ::closedir);
      if (!folder) Raise(kDeleteFileFailedMessage, path, errno);
      while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") entries.push_back(name);
      }
    }
    for (const std::string& name : entries) SystemRemoveFolder(path + "/" + name);
    if (::rmdir(path.c_str()) != 0) Raise(kDeleteFileFailedMessage, path, errno);
  } else if (::unlink(path.c_str()) != 0) {
    Raise(kDeleteFileFailedMessage, path, errno);
  }
}

}  // namespace platform
