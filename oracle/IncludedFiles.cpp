#include "oracle/IncludedFiles.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

using platform::Blanks;
using platform::Trim;

// Deeper than any site nests its files; a chain this long can only be a
// loop through names that differ (a share and its drive letter).
constexpr size_t kMaxDepth = 16;


bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:\...", "\\server\...", "\..." and "/..." do not depend on the folder
// of the including file.
bool IsAbsolute(std::string_view path) {
  if (!path.empty() && IsSeparator(path.front())) return true;
  return path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The value after "=": a quoted path runs to its closing quote; a plain one
// ends where a comment starts.
std::optional<std::string> PathValue(std::string_view value) {
  value = Trim(value, Blanks::SpaceAndControls);
  if (value.empty()) return std::nullopt;
  if (value.front() == '"' || value.front() == '\'') {
    const size_t close = value.find(value.front(), 1);
    value = value.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  } else {
    value = Trim(value.substr(0, value.find('#')), Blanks::SpaceAndControls);
  }
  if (value.empty() || value.front() == '(') return std::nullopt;
  return std::string(value);
}

}  // namespace

std::optional<size_t> IncludedFile::IncludedAt(size_t line) const {
  for (const Include& include : includes) {
    if (include.line == line) return include.file;
  }
  return std::nullopt;
}

std::optional<std::string> IncludedPath(std::string_view line, std::string_view includingPath) {
  constexpr std::string_view kKeyword = "IFILE";
  const std::string_view text = Trim(line, Blanks::SpaceAndControls);
  if (text.size() <= kKeyword.size() || !platform::EqualsAsciiNoCase(text.substr(0, kKeyword.size()), kKeyword)) {
    return std::nullopt;
  }
  const std::string_view rest = Trim(text.substr(kKeyword.size()), Blanks::SpaceAndControls);
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  std::optional<std::string> path = PathValue(rest.substr(1));
  if (!path || IsAbsolute(*path)) return path;
  const size_t folderEnd = includingPath.find_last_of("\\/");
  if (folderEnd == std::string_view::npos) return path;
  return std::string(includingPath.substr(0, folderEnd + 1)) + *path;
}

std::string PathKey(std::string_view path) {
  const bool share = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  std::vector<std::string> parts;
  size_t from = 0;
  while (from <= path.size()) {
    size_t end = from;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string part = platform::AsciiUpper(path.substr(from, end - from));
    if (part == ".." && !parts.empty() && parts.back() != ".." && !parts.back().empty()) {
      parts.pop_back();
    } else if (part != "." && (!part.empty() || parts.empty())) {
      parts.push_back(part);
    }
    from = end + 1;
  }
  std::string key = share ? "\\" : "";
  for (size_t i = 0; i < parts.size(); ++i) key += (i == 0 ? "" : "\\") + parts[i];
  return key;
}

IncludedFiles::IncludedFiles() : files_{{"", IncludedFile::State::Missing, {}, {}}} {}

IncludedFiles IncludedFiles::Read(const std::string& path) {
  IncludedFiles set;
  IncludedFile& root = set.files_.front();
  root.path = path;
  root.state = IncludedFile::State::Read;
  if (platform::FileExists(path)) {
    root.lines = platform::ReadTextLines(path);
  } else {
    root.state = IncludedFile::State::Missing;
  }
  std::vector<std::string> chain{PathKey(path)};
  set.FindIncludes(0, chain);
  return set;
}

void IncludedFiles::FindIncludes(size_t index, std::vector<std::string>& chain) {
  for (size_t line = 0; line < files_[index].lines.size(); ++line) {
    const std::optional<std::string> path = IncludedPath(files_[index].lines[line], files_[index].path);
    if (!path) continue;
    const size_t included = ReadIncluded(*path, chain);
    files_[index].includes.push_back({line, included});
  }
}

size_t IncludedFiles::ReadIncluded(const std::string& path, std::vector<std::string>& chain) {
  const std::string key = PathKey(path);
  if (chain.size() >= kMaxDepth || std::find(chain.begin(), chain.end(), key) != chain.end()) {
    files_.push_back({path, IncludedFile::State::Loop, {}, {}});
    return files_.size() - 1;
  }
  for (size_t i = 0; i < files_.size(); ++i) {
    if (files_[i].state != IncludedFile::State::Loop && PathKey(files_[i].path) == key) return i;
  }
  const size_t index = files_.size();
  files_.push_back({path, IncludedFile::State::Read, {}, {}});
  if (!platform::FileExists(path)) {
    files_[index].state = IncludedFile::State::Missing;
    return index;
  }
  try {
    files_[index].lines = platform::ReadTextLines(path);
  } catch (const platform::Error&) {
    // The client passes over a file it cannot read; so do the pages.
    files_[index].state = IncludedFile::State::Unreadable;
    return index;
  }
  chain.push_back(key);
  FindIncludes(index, chain);
  chain.pop_back();
  return index;
}

std::vector<std::string> IncludedFiles::ReadPaths() const {
  std::vector<std::string> paths;
  for (const IncludedFile& file : files_) {
    if (file.state == IncludedFile::State::Read) paths.push_back(file.path);
  }
  return paths;
}

}  // namespace oracle
