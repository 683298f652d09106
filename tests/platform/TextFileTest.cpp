#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "platform/Error.h"
#include "platform/Text.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

fs::path Native(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

using testing_support::ErrorOf;

// The system's reason that follows the path in a message: present, and
// without the line end Windows puts after its messages.
void ExpectReasonAfter(const std::string& message, std::string_view pattern, const std::string& path) {
  const std::string prefix = Format(pattern, {path, ""});
  ASSERT_TRUE(message.starts_with(prefix)) << message;
  const std::string reason = message.substr(prefix.size());
  EXPECT_FALSE(reason.empty()) << message;
  EXPECT_EQ(reason.find_last_not_of("\r\n \t"), reason.size() - 1) << message;
}

struct SplitCase {
  std::string content;
  Lines lines;
};

TEST(TextLinesTest, SplitEndsLinesAtCrLfOrCrLf) {
  const SplitCase cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\r\n", {"one"}},
      {"one\r", {"one"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\n", {"a", ""}},
      {"a\r\r\n", {"a", ""}},
      // LF CR is two line ends, not one.
      {"a\n\rb", {"a", "", "b"}},
      {"  indented \t\r\n", {"  indented \t"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitLines(c.content), c.lines) << c.content;
}

TEST(TextLinesTest, JoinEndsEveryLineWithCrLf) {
  const SplitCase cases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\n", {"a", ""}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(JoinLines(c.lines), c.content);
}

class TextFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return Utf8(folder_ / Native(name)); }

  static std::string Bytes(const std::string& path) {
    std::ifstream in(Native(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(Native(path), std::ios::binary) << bytes;
  }

  // Names in the test's folder, sorted.
  Lines Entries() const {
    Lines names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
      names.push_back(Utf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing_support::TempFolder temp_;
  const fs::path& folder_ = temp_.Path();
};

TEST_F(TextFileTest, WrittenFileHasCrLfAfterEveryLine) {
  const std::string path = PathOf("alias.cfg");
  WriteTextLines(path, {"ALIAS Zażółć", "", "END"});
  EXPECT_EQ(Bytes(path), "ALIAS Zażółć\r\n\r\nEND\r\n");
}

TEST_F(TextFileTest, BytesPassUnchanged) {
  // Every byte but the two line ends: UTF-8, Windows-1250 letters, a NUL.
  std::string line;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') line += static_cast<char>(byte);
  }
  const std::string path = PathOf("bytes.cfg");
  WriteTextLines(path, {line, "\xA5\xB3\xBF"});
  EXPECT_EQ(Bytes(path), line + "\r\n\xA5\xB3\xBF\r\n");
  EXPECT_EQ(ReadTextLines(path), (Lines{line, "\xA5\xB3\xBF"}));
}

TEST_F(TextFileTest, ReadsEveryKindOfLineEnd) {
  const std::string path = PathOf("mixed.cfg");
  WriteBytes(path, "unix\nwindows\r\nmac\rlast");
  EXPECT_EQ(ReadTextLines(path), (Lines{"unix", "windows", "mac", "last"}));
  WriteBytes(path, "");
  EXPECT_TRUE(ReadTextLines(path).empty());
}

TEST_F(TextFileTest, RewriteReplacesTheWholeFile) {
  const std::string path = PathOf("Wspólne ąę.cfg");
  WriteTextLines(path, {"one", "two", "three"});
  EXPECT_EQ(ReadTextLines(path), (Lines{"one", "two", "three"}));
  WriteTextLines(path, {"1"});
  EXPECT_EQ(Bytes(path), "1\r\n");
  WriteTextLines(path, {});
  EXPECT_EQ(Bytes(path), "");
  EXPECT_EQ(Entries(), (Lines{"Wspólne ąę.cfg"}));
}

TEST_F(TextFileTest, FileExists) {
  WriteBytes(PathOf("plik.cfg"), "x");
  WriteBytes(PathOf("pusty.cfg"), "");
  fs::create_directory(folder_ / "folder");
  const std::pair<const char*, bool> cases[] = {
      {"plik.cfg", true}, {"pusty.cfg", true}, {"folder", false}, {"brak.cfg", false}};
  for (const auto& [name, exists] : cases) EXPECT_EQ(FileExists(PathOf(name)), exists) << name;
}

TEST_F(TextFileTest, UnreadablePathRaisesOpenFailedWithPathAndReason) {
  fs::create_directory(folder_ / "folder");
  for (const char* name : {"brak.cfg", "brak/plik.cfg", "folder"}) {
    const std::string path = PathOf(name);
    ExpectReasonAfter(ErrorOf([&] { ReadTextLines(path); }), kOpenFileFailedMessage, path);
  }
#ifndef _WIN32
  const std::string path = PathOf("brak.cfg");
  EXPECT_EQ(ErrorOf([&] { ReadTextLines(path); }),
            Format(kOpenFileFailedMessage, {path, std::strerror(ENOENT)}));
#endif
}

TEST_F(TextFileTest, WriteIntoMissingFolderRaisesCreateFailedAndMakesNothing) {
  const std::string path = PathOf("brak") + "/alias.cfg";
  ExpectReasonAfter(ErrorOf([&] { WriteTextLines(path, {"x"}); }), kCreateFileFailedMessage, path);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(TextFileTest, FailedSwapLeavesTheTargetAndNoTemporary) {
  // A folder where the file should go: the new file is written, but it
  // cannot take the folder's place.
  const std::string path = PathOf("alias.cfg");
  fs::create_directory(Native(path));
  WriteBytes(PathOf("alias.cfg/inside"), "kept");
  ExpectReasonAfter(ErrorOf([&] { WriteTextLines(path, {"new"}); }), kCreateFileFailedMessage, path);
  EXPECT_EQ(Entries(), (Lines{"alias.cfg"}));
  EXPECT_EQ(Bytes(PathOf("alias.cfg/inside")), "kept");
}

// Each step that can fail: the old file stays byte for byte, a new one is
// not made, no temporary is left, and the message names the path and the
// system's reason.
TEST_F(TextFileTest, AFaultAtAnyStepLeavesTheOldFileAndNoTemporary) {
  const std::string path = PathOf("tnsnames.ora");
  const std::string old = "XE =\r\n  (DESCRIPTION = (x))\n\xA5\r\n";
  for (WriteFault fault : {WriteFault::CreateTemporary, WriteFault::AfterTemporaryWritten, WriteFault::Replace}) {
    SCOPED_TRACE(static_cast<int>(fault));
    WriteBytes(path, old);
    std::string message;
    {
      ScopedWriteFaultForTesting armed(fault);
      message = ErrorOf([&] { WriteTextLines(path, {"new"}); });
    }
    ExpectReasonAfter(message, kCreateFileFailedMessage, path);
    EXPECT_EQ(Bytes(path), old);
    EXPECT_EQ(Entries(), (Lines{"tnsnames.ora"}));

    fs::remove(Native(path));
    {
      ScopedWriteFaultForTesting armed(fault);
      ExpectReasonAfter(ErrorOf([&] { WriteTextLines(path, {"new"}); }), kCreateFileFailedMessage, path);
    }
    EXPECT_TRUE(Entries().empty());
  }
  // The fault fires once: the next write goes through.
  ScopedWriteFaultForTesting armed(WriteFault::Replace);
  EXPECT_NE(ErrorOf([&] { WriteTextLines(path, {"first"}); }), "(no error)");
  WriteTextLines(path, {"second"});
  EXPECT_EQ(Bytes(path), "second\r\n");
}

#ifndef _WIN32
// Lowers this process's file size limit for one scope; writes past it fail
// with EFBIG instead of killing the process, whoever runs the test.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(TextFileTest, WriteThatCannotFinishLeavesTheOldFileAndNoTemporary) {
  const std::string path = PathOf("alias.cfg");
  WriteBytes(path, "old\r\n");
  const Lines big(1000, std::string(100, 'x'));
  std::string message;
  {
    FileSizeLimit limit(4096);
    message = ErrorOf([&] { WriteTextLines(path, big); });
  }
  EXPECT_EQ(message, Format(kCreateFileFailedMessage, {path, std::strerror(EFBIG)}));
  EXPECT_EQ(Bytes(path), "old\r\n");
  EXPECT_EQ(Entries(), (Lines{"alias.cfg"}));
  // Nothing stays broken once the limit is gone.
  WriteTextLines(path, big);
  EXPECT_EQ(ReadTextLines(path), big);
}

TEST_F(TextFileTest, ReplacedFileKeepsItsPermissions) {
  const std::string path = PathOf("alias.cfg");
  WriteBytes(path, "old\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  WriteTextLines(path, {"new"});
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}
#endif

TEST_F(TextFileTest, CreateFoldersMakesTheMissingParents) {
  const std::string path = PathOf("Wspólne") + "/BDE ąę/Dane/";
  CreateFolders(path);
  EXPECT_TRUE(fs::is_directory(Native(path)));
  CreateFolders(path);
  WriteTextLines(path + "alias.cfg", {"x"});
  EXPECT_TRUE(FileExists(path + "alias.cfg"));
}

TEST_F(TextFileTest, CreateFoldersThroughAFileRaisesCreateFailed) {
  WriteBytes(PathOf("plik"), "x");
  for (const std::string& path : {PathOf("plik"), PathOf("plik") + "/pod/folder"}) {
    ExpectReasonAfter(ErrorOf([&] { CreateFolders(path); }), kCreateFileFailedMessage, path);
  }
  EXPECT_EQ(Entries(), (Lines{"plik"}));
}

// A backup puts a file back as it was, whatever its bytes.
TEST_F(TextFileTest, ContentIsWrittenByteForByte) {
  const std::string path = PathOf("sqlnet.ora");
  const std::string cases[] = {"", "no line end", "mac\rlone\nmixed\r\n", std::string("nul\0byte", 8), "\xA5\xB3"};
  for (const std::string& content : cases) {
    WriteFileContent(path, content);
    EXPECT_EQ(Bytes(path), content);
    EXPECT_EQ(ReadFileContent(path), content);
  }
  EXPECT_EQ(Entries(), (Lines{"sqlnet.ora"}));
}

// Armed for one file, the fault lets the writes of others through.
TEST_F(TextFileTest, AFaultForOneFileWaitsForItsWrite) {
  ScopedWriteFaultForTesting armed(WriteFault::Replace, "tnsnames.ora");
  WriteFileContent(PathOf("manifest.txt"), "kept");
  WriteTextLines(PathOf("sqlnet.ora"), {"kept"});
  ExpectReasonAfter(ErrorOf([&] { WriteTextLines(PathOf("tnsnames.ora"), {"new"}); }), kCreateFileFailedMessage,
                    PathOf("tnsnames.ora"));
  WriteTextLines(PathOf("tnsnames.ora"), {"second"});
  EXPECT_EQ(Entries(), (Lines{"manifest.txt", "sqlnet.ora", "tnsnames.ora"}));
  EXPECT_EQ(Bytes(PathOf("tnsnames.ora")), "second\r\n");
}

TEST_F(TextFileTest, RemoveFileTellsWhetherThereWasOne) {
  WriteBytes(PathOf("plik.ora"), "x");
  EXPECT_TRUE(RemoveFile(PathOf("plik.ora")));
  EXPECT_FALSE(RemoveFile(PathOf("plik.ora")));
  EXPECT_FALSE(RemoveFile(PathOf("brak") + "/plik.ora"));
  EXPECT_TRUE(Entries().empty());
  fs::create_directory(folder_ / "folder");
  ExpectReasonAfter(ErrorOf([&] { RemoveFile(PathOf("folder")); }), kDeleteFileFailedMessage, PathOf("folder"));
}

TEST_F(TextFileTest, SubfoldersAreListedAndRemovedWithEverythingInThem) {
  CreateFolders(PathOf("20261209-103000-123") + "/pod");
  CreateFolders(PathOf("Zażółć"));
  WriteBytes(PathOf("20261209-103000-123") + "/manifest.txt", "x");
  WriteBytes(PathOf("20261209-103000-123") + "/pod/01-przed.reg", "y");
  WriteBytes(PathOf("plik"), "z");
  Lines names = SubfolderNames(PathOf(""));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Lines{"20261209-103000-123", "Zażółć"}));
  EXPECT_TRUE(SubfolderNames(PathOf("brak")).empty());

  RemoveFolder(PathOf("20261209-103000-123"));
  RemoveFolder(PathOf("brak"));
  EXPECT_EQ(Entries(), (Lines{"Zażółć", "plik"}));
}

// A preview sees its own writes as files and leaves the disk as it was,
// even for a file it removes or a folder it would make.
TEST_F(TextFileTest, APreviewKeepsEveryWriteOffTheDisk) {
  WriteBytes(PathOf("tnsnames.ora"), "stary\r\n");
  WriteBytes(PathOf("usuwany"), "x");
  {
    const ScopedFilePreview preview;
    WriteTextLines(PathOf("tnsnames.ora"), {"nowy"});
    WriteFileContent(PathOf("sqlnet.ora"), "NAMES=1");
    EXPECT_TRUE(RemoveFile(PathOf("usuwany")));
    EXPECT_FALSE(RemoveFile(PathOf("brak")));
    EXPECT_EQ(ReadTextLines(PathOf("tnsnames.ora")), Lines{"nowy"});
    EXPECT_EQ(ReadFileContent(PathOf("sqlnet.ora")), "NAMES=1");
    EXPECT_TRUE(FileExists(PathOf("sqlnet.ora")));
    EXPECT_FALSE(FileExists(PathOf("usuwany")));
    EXPECT_THROW(ReadFileContent(PathOf("usuwany")), Error);
    EXPECT_THROW(CreateFolders(PathOf("nowy")), Error);
    EXPECT_THROW(RemoveFolder(PathOf("")), Error);
    EXPECT_THROW(ScopedFilePreview(), std::logic_error);
  }
  EXPECT_EQ(Entries(), (Lines{"tnsnames.ora", "usuwany"}));
  EXPECT_EQ(Bytes(PathOf("tnsnames.ora")), "stary\r\n");
  WriteTextLines(PathOf("tnsnames.ora"), {"po podglądzie"});
  EXPECT_EQ(Bytes(PathOf("tnsnames.ora")), "po podglądzie\r\n");
}

}  // namespace
}  // namespace platform
