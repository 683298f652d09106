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
  explicit ScopedWriteFaultForTesting(WriteFault fault);
  ~ScopedWriteFaultForTesting();
  ScopedWriteFaultForTesting(const ScopedWriteFaultForTesting&) = delete;
  ScopedWriteFaultForTesting& operator=(const ScopedWriteFaultForTesting&) = delete;
};

namespace detail {
// The armed fault, disarming it; for the implementations of WriteTextLines.
WriteFault TakeWriteFault();
}  // namespace detail

std::vector<std::string> SplitLines(std::string_view content);
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace platform
