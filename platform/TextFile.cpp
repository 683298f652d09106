#include "platform/TextFile.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {
namespace {

// Everything runs on the one user-interface thread, tests included.
WriteFault armedWriteFault = WriteFault::None;
std::string armedFileName;

// The files a live preview wrote (content) or removed (nothing), by path
// as the writer gave it.
struct FilePreview {
  std::map<std::string, std::optional<std::string>> files;
};
std::optional<FilePreview> preview;

const std::optional<std::string>* PreviewedFile(const std::string& path) {
  if (!preview) return nullptr;
  const auto found = preview->files.find(path);
  return found == preview->files.end() ? nullptr : &found->second;
}

}  // namespace

ScopedFilePreview::ScopedFilePreview() {
  if (preview) throw std::logic_error("a file preview is already live");
  preview.emplace();
}

ScopedFilePreview::~ScopedFilePreview() { preview.reset(); }

bool FileExists(const std::string& path) {
  if (const auto* file = PreviewedFile(path)) return file->has_value();
  return detail::SystemFileExists(path);
}

std::string ReadFileContent(const std::string& path) {
  if (const auto* file = PreviewedFile(path)) {
    if (!*file) throw Error(Format(kOpenFileFailedMessage, {path, "Plik nie istnieje."}));
    return **file;
  }
  return detail::SystemReadFileContent(path);
}

void WriteFileContent(const std::string& path, std::string_view content) {
  if (!preview) return detail::SystemWriteFileContent(path, content);
  preview->files[path] = std::string(content);
}

bool RemoveFile(const std::string& path) {
  if (!preview) return detail::SystemRemoveFile(path);
  const bool existed = FileExists(path);
  preview->files[path] = std::nullopt;
  return existed;
}

void CreateFolders(const std::string& path) {
  if (preview) throw Error(Format(kFolderNotPreviewedMessage, {path}));
  detail::SystemCreateFolders(path);
}

void RemoveFolder(const std::string& path) {
  if (preview) throw Error(Format(kFolderNotPreviewedMessage, {path}));
  detail::SystemRemoveFolder(path);
}

ScopedWriteFaultForTesting::ScopedWriteFaultForTesting(WriteFault fault, std::string fileName) {
  armedWriteFault = fault;
  armedFileName = std::move(fileName);
}

ScopedWriteFaultForTesting::~ScopedWriteFaultForTesting() {
  armedWriteFault = WriteFault::None;
  armedFileName.clear();
}

WriteFault detail::TakeWriteFault(std::string_view path) {
  const std::string_view name = path.substr(path.find_last_of("\\/") + 1);
  if (!armedFileName.empty() && name != armedFileName) return WriteFault::None;
  return std::exchange(armedWriteFault, WriteFault::None);
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  WriteFileContent(path, JoinLines(lines));
}

std::vector<std::string> ReadTextLines(const std::string& path) { return SplitLines(ReadFileContent(path)); }

std::vector<std::string> SplitLines(std::string_view content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(content.substr(start));
      break;
    }
    lines.emplace_back(content.substr(start, end - start));
    const bool crlf = content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  return content;
}

}  // namespace platform
