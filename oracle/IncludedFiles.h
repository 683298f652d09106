#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oracle {

// One file of a set that the client reads as one: the file in the network
// folder, and the files its IFILE lines include, each read as if it stood
// in place of its IFILE line.
struct IncludedFile {
  enum class State {
    Read,        // read whole: its lines are the file's
    Missing,     // not there: no lines; only the first file may be created
    Unreadable,  // there but refused (rights, a share that is away)
    Loop,        // it would include itself, directly or through others
  };

  std::string path;
  State state = State::Read;
  std::vector<std::string> lines;
  struct Include {
    size_t line;  // the IFILE line in this file
    size_t file;  // the file it includes, in the set
  };
  std::vector<Include> includes;

  // The file the line includes, when it is an IFILE line.
  std::optional<size_t> IncludedAt(size_t line) const;
};

// The path that an IFILE line names ("IFILE = path", the keyword in any
// letter case, the path quoted or not); nothing for any other line. A
// relative path is taken from the folder of the file that holds the line,
// as Oracle's own drivers take it.
std::optional<std::string> IncludedPath(std::string_view line, std::string_view includingPath);

// The same file named two ways (letter case, "/" for "\", "." and ".."
// steps) gives the same key.
std::string PathKey(std::string_view path);

class IncludedFiles {
 public:
  // A set of one missing file without a name, until one is read.
  IncludedFiles();

  // Reads the file at path, which may be missing, and every file its IFILE
  // lines include, depth first; a file included twice is read once. The
  // first file raises the platform's file error when it cannot be read; an
  // included one that cannot be read, or that loops, offers nothing and is
  // never written.
  static IncludedFiles Read(const std::string& path);

  // The first file comes first.
  const std::vector<IncludedFile>& Files() const { return files_; }
  const IncludedFile& Root() const { return files_.front(); }

  // The files that were read, in the order the client reads them first.
  std::vector<std::string> ReadPaths() const;

 private:
  size_t ReadIncluded(const std::string& path, std::vector<std::string>& chain);
  void FindIncludes(size_t index, std::vector<std::string>& chain);

  std::vector<IncludedFile> files_;
};

}  // namespace oracle
