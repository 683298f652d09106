#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text files are read whole into lines and written whole. Bytes pass
// unchanged; a line ends at CR, LF or CR LF, and every written line, the
// last one included, is followed by CR LF. Paths are UTF-8.
namespace platform {

inline constexpr std::string_view kOpenFileFailedMessage = "Nie można otworzyć pliku \"%s\". %s";
inline constexpr std::string_view kCreateFileFailedMessage = "Nie można utworzyć pliku \"%s\". %s";
inline constexpr std::string_view kDeleteFileFailedMessage = "Nie można usunąć pliku \"%s\". %s";

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Raises kOpenFileFailedMessage with the path and the system's reason.
std::vector<std::string> ReadTextLines(const std::string& path);
// The file's bytes as they are, for text that is not split at byte values.
std::string ReadFileContent(const std::string& path);

// Writes beside the target, then swaps the new file in, so an interrupted
// or failed write leaves the old file whole and no temporary file behind.
// Raises kCreateFileFailedMessage with the path and the system's reason.
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// The same for bytes that are not lines: they are written as they are.
void WriteFileContent(const std::string& path, std::string_view content);

// Deletes the file; false when there was none. Raises kDeleteFileFailedMessage
// when it is there and stays.
bool RemoveFile(const std::string& path);

// The names of the folders directly inside the folder, in no set order;
// none when it does not exist or cannot be listed.
std::vector<std::string> SubfolderNames(const std::string& path);

// Deletes the folder with everything in it; a missing folder is no error.
// Raises kDeleteFileFailedMessage naming what stayed.
void RemoveFolder(const std::string& path);

// Creates the folder and its missing parents; raises kCreateFileFailedMessage.
void CreateFolders(const std::string& path);

// A test seam: makes the next WriteTextLines fail at one step, with the
// error the system gives there, so that the callers' failure paths can be
// tried without a full disk, a read-only share or a file held open by
// another program. Only tests arm it; it fires once and disarms with its
// guard.
enum class WriteFault {
  None,
  CreateTemporary,        // the folder refuses a new file (read-only, denied)
  AfterTemporaryWritten,  // the new file is written, then flushing it fails
  Replace,                // the new file cannot take the old one's place
};

class ScopedWriteFaultForTesting {
 public:
  // With a file name, the fault waits for the first write of a file of
  // that name, so that writes to other files go through meanwhile.
  explicit ScopedWriteFaultForTesting(WriteFault fault, std::string fileName = {});
  ~ScopedWriteFaultForTesting();
  ScopedWriteFaultForTesting(const ScopedWriteFaultForTesting&) = delete;
  ScopedWriteFaultForTesting& operator=(const ScopedWriteFaultForTesting&) = delete;
};

// While one lives, no file of this process is written or removed: what
// WriteFileContent and WriteTextLines would write is kept in memory, a
// removed file is forgotten, and reading and FileExists see what was kept
// as if it were on disk. Creating or removing a folder raises instead, so
// that nothing previewed can reach the disk. A preview of a run lets the
// run's own writers work unchanged. One at a time, on the one thread that
// runs the wizard's logic.
class ScopedFilePreview {
 public:
  ScopedFilePreview();
  ~ScopedFilePreview();
  ScopedFilePreview(const ScopedFilePreview&) = delete;
  ScopedFilePreview& operator=(const ScopedFilePreview&) = delete;
};

inline constexpr std::string_view kFolderNotPreviewedMessage =
    "Podgląd zmian nie tworzy ani nie usuwa folderów: \"%s\"";

namespace detail {
// The fault armed for a write of this path, disarming it; for the
// implementations of WriteFileContent.
WriteFault TakeWriteFault(std::string_view path);

// The system's own operations behind the functions above, which call them
// when no preview lives.
bool SystemFileExists(const std::string& path);
std::string SystemReadFileContent(const std::string& path);
void SystemWriteFileContent(const std::string& path, std::string_view content);
bool SystemRemoveFile(const std::string& path);
void SystemCreateFolders(const std::string& path);
void SystemRemoveFolder(const std::string& path);
}  // namespace detail

std::vector<std::string> SplitLines(std::string_view content);
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace platform
