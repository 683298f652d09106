#include "platform/TextFile.h"

#include <utility>

namespace platform {
namespace {

// Everything runs on the one user-interface thread, tests included.
WriteFault armedWriteFault = WriteFault::None;
std::string armedFileName;

}  // namespace

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
