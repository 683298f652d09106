#include "oracle/ServiceFile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "bde/StatusReport.h"
#include "oracle/OracleFilesWriter.h"
#include "tests/platform/MemoryRegistry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

using Lines = std::vector<std::string>;

struct File {
  std::string name;  // under the network folder
  Lines lines;       // "$" stands for the network folder
};

std::string Entry(const std::string& name, const std::string& host) {
  return name + " = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = " + host +
         ")(PORT = 1521))(CONNECT_DATA = (SERVICE_NAME = S)))";
}

// A site's network folder with the files it keeps there; its path is "@"
// in the texts the tests compare.
class Site {
 public:
  explicit Site(const std::vector<File>& files) : folder_(temp_.Path().string() + "/network/") {
    for (const File& file : files) {
      std::filesystem::create_directories(std::filesystem::path(folder_ + file.name).parent_path());
      Lines lines = file.lines;
      for (std::string& line : lines) Replace(line, "$", folder_.substr(0, folder_.size() - 1));
      platform::WriteTextLines(folder_ + file.name, lines);
    }
  }

  const std::string& Folder() const { return folder_; }
  Lines Read(const std::string& name) const { return platform::ReadTextLines(folder_ + name); }
  std::string Shown(std::string text) const { return Replace(text, folder_, "@"); }

  ServiceFile Files() const {
    ServiceFile file;
    file.Read({folder_, NetworkFolderSource::Home, {}, {}});
    return file;
  }

  // "NAME|host|file" for every stored entry, in table order.
  std::vector<std::string> Rows(const ServiceFile& file) const {
    std::vector<std::string> rows;
    for (const std::string& name : file.Table().Names()) {
      rows.push_back(name + "|" + file.Table().Find(name)->host + "|" + Shown(file.FileOf(name)));
    }
    return rows;
  }

 private:
  static std::string& Replace(std::string& text, const std::string& what, const std::string& with) {
    for (size_t at; (at = text.find(what)) != std::string::npos;) text.replace(at, what.size(), with);
    return text;
  }

  testing_support::TempFolder temp_;
  std::string folder_;
};

// Each case is a tnsnames.ora as sites keep them, with what it includes.
TEST(ServiceFileTest, IncludedEntriesAreOfferedInForceAsIfTheyStoodAtTheirLine) {
  struct Case {
    const char* what;
    std::vector<File> files;
    Lines rows;
    size_t read;  // files read
  };
  const Case cases[] = {
      {"relative, in the same folder: the included entries stand in place of the line",
       {{"tnsnames.ora", {Entry("A", "a1"), "IFILE = inc.ora", Entry("C", "c1")}},
        {"inc.ora", {Entry("B", "b1"), Entry("A", "a2")}}},
       {"A|a2|@inc.ora", "B|b1|@inc.ora", "C|c1|@tnsnames.ora"}, 2},
      {"an entry after the line wins", {{"tnsnames.ora", {"ifile=inc.ora", Entry("A", "a1")}}, {"inc.ora", {Entry("A", "a2")}}},
       {"A|a1|@tnsnames.ora"}, 2},
      {"nested, each relative path from its own file's folder",
       {{"tnsnames.ora", {"IFILE = sub\\central.ora"}}, {"sub\\central.ora", {Entry("A", "a"), "IFILE=more.ora"}},
        {"sub\\more.ora", {Entry("B", "b")}}, {"more.ora", {Entry("B", "wrong")}}},
       {"A|a|@sub\\central.ora", "B|b|@sub\\more.ora"}, 3},
      {"absolute and quoted, a blank in the folder's name",
       {{"tnsnames.ora", {"IFILE = \"$/wspólne pliki/c.ora\"  "}},
        {"wspólne pliki/c.ora", {Entry("A", "a"), "IFILE = '$/wspólne pliki/d.ora' # na końcu"}},
        {"wspólne pliki/d.ora", {Entry("B", "b")}}},
       {"A|a|@wspólne pliki/c.ora", "B|b|@wspólne pliki/d.ora"}, 3},
      {"a loop through another file", {{"tnsnames.ora", {Entry("A", "a"), "IFILE=a.ora"}}, {"a.ora", {Entry("B", "b"), "IFILE = ./TNSNAMES.ORA"}}},
       {"A|a|@tnsnames.ora", "B|b|@a.ora"}, 2},
      {"a file that includes itself", {{"tnsnames.ora", {Entry("A", "a"), "IFILE = tnsnames.ora"}}}, {"A|a|@tnsnames.ora"}, 1},
      {"a missing one", {{"tnsnames.ora", {"IFILE = brak.ora", Entry("A", "a")}}}, {"A|a|@tnsnames.ora"}, 1},
      {"the same file twice is no loop",
       {{"tnsnames.ora", {"IFILE=inc.ora", Entry("A", "a1"), "IFILE=inc.ora"}}, {"inc.ora", {Entry("A", "a2")}}},
       {"A|a2|@inc.ora"}, 2},
      {"lines that only look like one",
       {{"tnsnames.ora", {"IFILES = inc.ora", "IFILE = (inc.ora)", "IFILE =", Entry("A", "a")}}, {"inc.ora", {Entry("B", "b")}}},
       {"A|a|@tnsnames.ora"}, 1},
  };
  for (const Case& c : cases) {
    const Site site(c.files);
    const ServiceFile file = site.Files();
    EXPECT_EQ(site.Rows(file), c.rows) << c.what;
    EXPECT_EQ(file.Tnsnames().ReadPaths().size(), c.read) << c.what;
  }
}

// An entry is edited, with its file's own read-back check, in the file of
// the entry in force, under the name the client looks for; a new one goes
// into tnsnames.ora itself. A file not read is never written.
TEST(ServiceFileTest, AnEntryIsWrittenWhereAndAsTheClientFindsIt) {
  const ServiceEntry edited{"", "TCP", "nowy", "1600", "S"};
  const auto plus = [&](Lines lines, const std::string& name) {
    for (std::string& line : EntryLayout(name, edited)) lines.push_back(std::move(line));
    return lines;
  };
  const Lines main = {Entry("A", "a1"), "IFILE = inc.ora"};
  struct Case {
    const char* what;
    std::vector<File> files;
    const char* service;
    File after;  // the one file written
    std::string result;  // the status's path line, or the error
  };
  const Case cases[] = {
      {"an entry inside an included file", {{"tnsnames.ora", main}, {"inc.ora", {Entry("A", "a2"), Entry("B", "b")}}},
       "a", {"inc.ora", plus({Entry("B", "b")}, "a")}, "     \"@inc.ora\""},
      {"a new entry, after the IFILE lines", {{"tnsnames.ora", main}, {"inc.ora", {Entry("B", "b")}}}, "NOWY",
       {"tnsnames.ora", plus(main, "NOWY")}, "     \"@tnsnames.ora\""},
      {"a missing include is not created", {{"tnsnames.ora", {"IFILE = brak.ora"}}}, "A",
       {"tnsnames.ora", plus({"IFILE = brak.ora"}, "A")}, "     \"@tnsnames.ora\""},
      {"under the name the default domain completes",
       {{"sqlnet.ora", {"NAMES.DEFAULT_DOMAIN = world"}}, {"tnsnames.ora", {Entry("Nowy", "dead")}}}, "Nowy",
       {"tnsnames.ora", plus({Entry("Nowy", "dead")}, "Nowy.WORLD")}, "     \"@tnsnames.ora\""},
      {"an edit the included file cannot hold",
       {{"tnsnames.ora", {"IFILE = inc.ora"}}, {"inc.ora", {"A = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = a)))"}}},
       "A", {"inc.ora", {"A = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = a)))"}},
       platform::Format(kEditedEntryFaultMessage, {"@inc.ora", "A"})},
  };
  for (const Case& c : cases) {
    const Site site(c.files);
    ServiceFile file = site.Files();
    Lines status;
    bde::StatusReport report(status);
    const ServiceEntry entry = c.result.starts_with(" ") ? edited : ServiceEntry{"", "TCP", "my host", "1", "S"};
    const std::string error = testing_support::ErrorOf([&] { file.WriteEntry(c.service, entry, report); });
    EXPECT_EQ(site.Shown(status.size() == 3 ? status[1] : error), c.result) << c.what;
    for (const File& before : c.files) {
      const bool written = before.name == c.after.name;
      EXPECT_EQ(site.Read(before.name), written ? c.after.lines : before.lines) << c.what << ": " << before.name;
    }
    EXPECT_FALSE(platform::FileExists(site.Folder() + "brak.ora")) << c.what;
    // What is in force now is what the file holds.
    const ServiceEntry* found = file.FindEntry(c.service);
    EXPECT_EQ(found ? found->host : "(none)", error == "(no error)" ? entry.host : "a") << c.what;
  }
}

// With NAMES.DEFAULT_DOMAIN set the client looks a name without a dot up
// with the domain after it, and one with a dot as it is: an entry named
// without a dot is never found, so it is not offered.
TEST(ServiceFileTest, TheDefaultDomainCompletesNamesWithoutADot) {
  struct Case {
    const char* what;
    std::vector<File> sqlnet;
    Lines offered;
    // typed name, then the host found ("" for none) and the end of the problem ("" for none)
    std::vector<std::array<const char*, 3>> lookups;
  };
  const Case cases[] = {
      {"no default domain", {{"sqlnet.ora", {"NAMES.DIRECTORY_PATH = (TNSNAMES)"}}}, {"LM.FIRMA.PL", "XE", "XE.WORLD"},
       {{{"XE", "dead", ""}}, {{"LM", "", ""}}}},
      {"qualified and unqualified names", {{"sqlnet.ora", {"NAMES.DEFAULT_DOMAIN = world"}}}, {"LM.FIRMA.PL", "XE.WORLD"},
       {{{"XE", "x", ""}},
        {{"xe.world", "x", ""}},
        {{"LM.FIRMA.PL", "l", ""}},
        {{"LM", "", "szuka wpisu \"LM.WORLD\", ... należy użyć nazwy \"LM.FIRMA.PL\""}},
        {{"NOWY", "", "szuka wpisu \"NOWY.WORLD\", ... należy podać adres serwera, a wpis zostanie zapisany pod "
                      "nazwą \"NOWY.WORLD\""}},
        {{"INNY.X", "", ""}}}},
      {"set in an included file, with a leading dot",
       {{"sqlnet.ora", {"IFILE = wspolny.ora"}}, {"wspolny.ora", {"NAMES.DEFAULT_DOMAIN=.firma.pl"}}},
       {"LM.FIRMA.PL", "XE.WORLD"},
       {{{"LM", "l", ""}}, {{"XE", "", "szuka wpisu \"XE.FIRMA.PL\", ... należy użyć nazwy \"XE.WORLD\""}}}},
  };
  for (const Case& c : cases) {
    std::vector<File> files = c.sqlnet;
    files.push_back({"tnsnames.ora", {Entry("XE.WORLD", "x"), Entry("XE", "dead"), Entry("LM.FIRMA.PL", "l")}});
    const Site site(files);
    const ServiceFile file = site.Files();
    EXPECT_EQ(file.OfferedNames(), c.offered) << c.what;
    for (const auto& [typed, host, problem] : c.lookups) {
      const ServiceEntry* found = file.FindEntry(typed);
      EXPECT_EQ(found ? found->host : "", host) << c.what << ": " << typed;
      std::string said = file.UnresolvedProblem(typed).value_or("");
      // The middle of the text is the same in every problem.
      if (const size_t from = said.find("szuka"), to = said.find("; "); to != std::string::npos) {
        said = said.substr(from, said.find(',', from) + 2 - from) + "..." + said.substr(to + 1);
      }
      EXPECT_EQ(said, problem) << c.what << ": " << typed;
    }
  }
}

// For the checks of a configuration: the entry and the file that the
// client of a home takes for a name, in the folder its TNS_ADMIN names.
TEST(ServiceFileTest, ANameResolvesToTheEntryAndTheFileTheClientOfTheHomeTakes) {
  const Site site({{"sqlnet.ora", {"NAMES.DEFAULT_DOMAIN = firma.pl"}},
                   {"tnsnames.ora", {Entry("LM", "dead"), "IFILE = inc.ora"}},
                   {"inc.ora", {Entry("LM.FIRMA.PL", "l")}}});
  platform::MemoryRegistry registry;
  registry.SetValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_Ora", "TNS_ADMIN",
                    {platform::MemoryRegistry::ValueType::String, site.Folder(), 0});
  const auto found = ResolveServiceName(registry, "KEY_Ora", "C:\\ora", "LM");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->lookupName + "|" + found->entry.host + "|" + site.Shown(found->file), "LM.FIRMA.PL|l|@inc.ora");
  EXPECT_EQ(ResolveServiceName(registry, "KEY_Ora", "C:\\ora", "LM.WORLD"), std::nullopt);
  EXPECT_EQ(ResolveServiceName(registry, "KEY_Other", "C:\\ora", "LM"), std::nullopt);
}

}  // namespace
}  // namespace oracle
