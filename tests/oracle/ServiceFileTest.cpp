#include "oracle/ServiceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "bde/StatusReport.h"
#include "oracle/OracleFilesWriter.h"
#include "oracle/TnsnamesWriter.h"
#include "platform/MemoryRegistry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

using Lines = std::vector<std::string>;

struct File {
  std::string name;  // under the network folder; "$" in lines stands for it
  Lines lines;
};

std::string Entry(const std::string& name, const std::string& host) {
  return name + " = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = " + host +
         ")(PORT = 1521))(CONNECT_DATA = (SERVICE_NAME = S)))";
}

// A network folder of a site, with the files it keeps there.
class Site {
 public:
  explicit Site(const std::vector<File>& files) : folder_(temp_.Path().string() + "/network") {
    std::filesystem::create_directories(folder_);
    for (const File& file : files) {
      std::filesystem::create_directories(std::filesystem::path(Path(file.name)).parent_path());
      Lines lines = file.lines;
      for (std::string& line : lines) {
        for (size_t at; (at = line.find('$')) != std::string::npos;) line.replace(at, 1, folder_);
      }
      platform::WriteTextLines(Path(file.name), lines);
    }
  }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  std::string Name(const std::string& path) const { return path.substr(folder_.size() + 1); }

  ServiceFile Read() const {
    ServiceFile file;
    file.Read({folder_ + "/", NetworkFolderSource::Home, {}, {}});
    return file;
  }

  // "NAME|host|file" for every stored entry, in table order.
  Lines Rows(const ServiceFile& file) const {
    Lines rows;
    for (const std::string& name : file.Table().Names()) {
      rows.push_back(name + "|" + file.Table().Find(name)->host + "|" + Name(file.FileOf(name)));
    }
    return rows;
  }

  Lines ReadPaths(const IncludedFiles& files) const {
    Lines names;
    for (const std::string& path : files.ReadPaths()) names.push_back(Name(path));
    return names;
  }

 private:
  testing_support::TempFolder temp_;
  std::string folder_;
};

// Each case is a tnsnames.ora as sites keep them, with what it includes.
TEST(ServiceFileTest, IncludedEntriesAreOfferedInForceAsIfTheyStoodAtTheirLine) {
  struct Case {
    const char* what;
    std::vector<File> files;
    Lines rows;
    Lines read;  // the files read, in reading order
  };
  const Case cases[] = {
      {"relative, in the same folder: the included entry stands in place of its line",
       {{"tnsnames.ora", {Entry("A", "a1"), "IFILE = inc.ora", Entry("C", "c1")}},
        {"inc.ora", {Entry("B", "b1"), Entry("A", "a2")}}},
       {"A|a2|inc.ora", "B|b1|inc.ora", "C|c1|tnsnames.ora"},
       {"tnsnames.ora", "inc.ora"}},
      {"an entry after the IFILE line is the one in force",
       {{"tnsnames.ora", {"ifile=inc.ora", Entry("A", "a1")}}, {"inc.ora", {Entry("A", "a2")}}},
       {"A|a1|tnsnames.ora"},
       {"tnsnames.ora", "inc.ora"}},
      {"nested, each relative path from the folder of the file that holds it",
       {{"tnsnames.ora", {"IFILE = sub\\central.ora"}},
        {"sub\\central.ora", {Entry("A", "a"), "IFILE=more.ora"}},
        {"sub\\more.ora", {Entry("B", "b")}},
        {"more.ora", {Entry("B", "wrong")}}},
       {"A|a|sub\\central.ora", "B|b|sub\\more.ora"},
       {"tnsnames.ora", "sub\\central.ora", "sub\\more.ora"}},
      {"absolute and quoted, the folder's name with a blank",
       {{"tnsnames.ora", {"IFILE = \"$/wspólne pliki/central.ora\"  "}},
        {"wspólne pliki/central.ora", {Entry("A", "a"), "IFILE = '$/wspólne pliki/more.ora' # na końcu"}},
        {"wspólne pliki/more.ora", {Entry("B", "b")}}},
       {"A|a|wspólne pliki/central.ora", "B|b|wspólne pliki/more.ora"},
       {"tnsnames.ora", "wspólne pliki/central.ora", "wspólne pliki/more.ora"}},
      {"a loop through another file offers nothing more",
       {{"tnsnames.ora", {Entry("A", "a"), "IFILE=a.ora", Entry("C", "c")}},
        {"a.ora", {Entry("B", "b"), "IFILE = ./TNSNAMES.ORA"}}},
       {"A|a|tnsnames.ora", "B|b|a.ora", "C|c|tnsnames.ora"},
       {"tnsnames.ora", "a.ora"}},
      {"a file that includes itself",
       {{"tnsnames.ora", {Entry("A", "a"), "IFILE = tnsnames.ora", Entry("C", "c")}}},
       {"A|a|tnsnames.ora", "C|c|tnsnames.ora"},
       {"tnsnames.ora"}},
      {"a missing one offers nothing, the rest is read",
       {{"tnsnames.ora", {"IFILE = brak.ora", Entry("A", "a")}}},
       {"A|a|tnsnames.ora"},
       {"tnsnames.ora"}},
      {"the same file twice is no loop; its entries stand at the later line",
       {{"tnsnames.ora", {"IFILE=inc.ora", Entry("A", "a1"), "IFILE=inc.ora"}}, {"inc.ora", {Entry("A", "a2")}}},
       {"A|a2|inc.ora"},
       {"tnsnames.ora", "inc.ora"}},
      {"a line that only looks like one includes nothing",
       {{"tnsnames.ora", {"IFILES = inc.ora", "IFILE = (inc.ora)", "IFILE =", Entry("A", "a")}},
        {"inc.ora", {Entry("B", "b")}}},
       {"A|a|tnsnames.ora"},
       {"tnsnames.ora"}},
  };
  for (const Case& c : cases) {
    const Site site(c.files);
    const ServiceFile file = site.Read();
    EXPECT_EQ(site.Rows(file), c.rows) << c.what;
    EXPECT_EQ(site.ReadPaths(file.Tnsnames()), c.read) << c.what;
  }
}

const ServiceEntry kEdited{"", "TCP", "nowy", "1600", "S"};
const Lines kEditedLayout = EntryLayout("A", kEdited);

Lines Plus(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// An entry is edited in the file that holds the entry in force, with that
// file's read-back check; a new one goes into tnsnames.ora itself.
TEST(ServiceFileTest, AnEntryIsWrittenWhereTheEntryInForceStands) {
  struct Case {
    const char* what;
    std::vector<File> files;
    const char* service;
    std::vector<File> after;  // the files that change
    Lines status;
  };
  const Lines main = {"# ours", Entry("A", "a1"), "IFILE = inc.ora"};
  const Lines inc = {"# central", Entry("A", "a2"), Entry("B", "b")};
  const Case cases[] = {
      {"an entry inside an included file",
       {{"tnsnames.ora", main}, {"inc.ora", inc}},
       "a",
       {{"inc.ora", Plus({"# central", Entry("B", "b")}, EntryLayout("a", kEdited))}},
       {"  Zmodyfikowano plik", "     \"@inc.ora\"", ""}},
      {"a new entry, after the IFILE lines",
       {{"tnsnames.ora", main}, {"inc.ora", inc}},
       "NOWY",
       {{"tnsnames.ora", Plus(main, EntryLayout("NOWY", kEdited))}},
       {"  Zmodyfikowano plik", "     \"@tnsnames.ora\"", ""}},
      {"a missing include is never created",
       {{"tnsnames.ora", {"IFILE = brak.ora"}}},
       "A",
       {{"tnsnames.ora", Plus({"IFILE = brak.ora"}, kEditedLayout)}},
       {"  Zmodyfikowano plik", "     \"@tnsnames.ora\"", ""}},
      {"no tnsnames.ora",
       {},
       "A",
       {{"tnsnames.ora", kEditedLayout}},
       {"  Utworzono plik", "     \"@tnsnames.ora\"", ""}},
  };
  for (const Case& c : cases) {
    const Site site(c.files);
    ServiceFile file = site.Read();
    Lines status;
    bde::StatusReport report(status);
    file.WriteEntry(c.service, kEdited, report);
    for (const File& before : c.files) {
      bool changed = false;
      for (const File& after : c.after) changed = changed || after.name == before.name;
      if (!changed) EXPECT_EQ(platform::ReadTextLines(site.Path(before.name)), before.lines) << c.what;
    }
    for (const File& after : c.after) {
      EXPECT_EQ(platform::ReadTextLines(site.Path(after.name)), after.lines) << c.what << ": " << after.name;
    }
    for (std::string& line : status) {
      if (const size_t at = line.find(site.Path("")); at != std::string::npos) line.replace(at, site.Path("").size(), "@");
    }
    EXPECT_EQ(status, c.status) << c.what;
    EXPECT_FALSE(std::filesystem::exists(site.Path("brak.ora"))) << c.what;
    // What was written is what is in force now.
    ASSERT_NE(file.FindEntry(c.service), nullptr) << c.what;
    EXPECT_EQ(file.FindEntry(c.service)->host, "nowy") << c.what;
  }
}

// An included file's check is its own: an edit it cannot hold is refused
// with its path, and no file changes.
TEST(ServiceFileTest, ARefusedEditOfAnIncludedEntryNamesItsFileAndWritesNothing) {
  const Lines inc = {"A = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = a)(PORT = 1)))"};
  const Site site({{"tnsnames.ora", {"IFILE = inc.ora"}}, {"inc.ora", inc}});
  ServiceFile file = site.Read();
  Lines status;
  bde::StatusReport report(status);
  EXPECT_EQ(testing_support::ErrorOf([&] { file.WriteEntry("A", {"", "TCP", "my host", "1", "S"}, report); }),
            platform::Format(kEditedEntryFaultMessage, {site.Path("inc.ora"), "A"}));
  EXPECT_EQ(platform::ReadTextLines(site.Path("inc.ora")), inc);
  EXPECT_EQ(platform::ReadTextLines(site.Path("tnsnames.ora")), Lines{"IFILE = inc.ora"});
  EXPECT_TRUE(status.empty());
}

// With NAMES.DEFAULT_DOMAIN set the client looks a name without a dot up
// with the domain after it, and a name with one as it is; an entry named
// without a dot is then never found.
TEST(ServiceFileTest, TheDefaultDomainCompletesNamesWithoutADot) {
  const Lines tnsnames = {Entry("XE.WORLD", "x"), Entry("XE", "dead"), Entry("LM.FIRMA.PL", "l")};
  struct Lookup {
    const char* typed;
    const char* host;  // of the entry found, or "" for none
    const char* problem;
  };
  struct Case {
    const char* what;
    Lines sqlnet;
    std::vector<File> more;
    const char* domain;
    Lines offered;
    std::vector<Lookup> lookups;
  };
  const std::string world = "przy domyślnej domenie \"world\" (NAMES.DEFAULT_DOMAIN w pliku \"@sqlnet.ora\") klient Oracle "
                            "szuka wpisu ";
  const std::string none = ", którego nie ma w pliku \"@tnsnames.ora\" ani w plikach, które on włącza; ";
  const std::string lm = world + "\"LM.WORLD\"" + none + "należy użyć nazwy \"LM.FIRMA.PL\"";
  const std::string nowy =
      world + "\"NOWY.WORLD\"" + none + "należy podać adres serwera, a wpis zostanie zapisany pod nazwą \"NOWY.WORLD\"";
  const std::string xe = "przy domyślnej domenie \"firma.pl\" (NAMES.DEFAULT_DOMAIN w pliku \"@wspolny.ora\") klient "
                         "Oracle szuka wpisu \"XE.FIRMA.PL\"" + none + "należy użyć nazwy \"XE.WORLD\"";
  const Case cases[] = {
      {"no default domain: every name as it is",
       {"NAMES.DIRECTORY_PATH = (TNSNAMES)"},
       {},
       "",
       {"LM.FIRMA.PL", "XE", "XE.WORLD"},
       {{"XE", "dead", ""}, {"XE.WORLD", "x", ""}, {"LM", "", ""}}},
      {"qualified and unqualified names",
       {"NAMES.DEFAULT_DOMAIN = world"},
       {},
       "world",
       {"LM.FIRMA.PL", "XE.WORLD"},
       {{"XE", "x", ""},
        {"XE.WORLD", "x", ""},
        {"xe.world", "x", ""},
        {"LM.FIRMA.PL", "l", ""},
        {"LM", "", lm.c_str()},
        {"NOWY", "", nowy.c_str()},
        {"INNY.X", "", ""}}},
      {"set in a file that sqlnet.ora includes, written with a leading dot",
       {"IFILE = wspolny.ora"},
       {{"wspolny.ora", {"NAMES.DEFAULT_DOMAIN=.firma.pl"}}},
       "firma.pl",
       {"LM.FIRMA.PL", "XE.WORLD"},
       {{"LM", "l", ""}, {"XE", "", xe.c_str()}}},
  };
  for (const Case& c : cases) {
    std::vector<File> files = {{"tnsnames.ora", tnsnames}, {"sqlnet.ora", c.sqlnet}};
    files.insert(files.end(), c.more.begin(), c.more.end());
    const Site site(files);
    const ServiceFile file = site.Read();
    EXPECT_EQ(file.DefaultDomain(), c.domain) << c.what;
    EXPECT_EQ(file.OfferedNames(), c.offered) << c.what;
    for (const Lookup& lookup : c.lookups) {
      const ServiceEntry* found = file.FindEntry(lookup.typed);
      EXPECT_EQ(found ? found->host : "", lookup.host) << c.what << ": " << lookup.typed;
      std::string problem = file.UnresolvedProblem(lookup.typed).value_or("");
      for (size_t at; (at = problem.find(site.Path(""))) != std::string::npos;) problem.replace(at, site.Path("").size(), "@");
      EXPECT_EQ(problem, lookup.problem) << c.what << ": " << lookup.typed;
    }
  }
}

// An edit under a name without a dot is written under the name the client
// looks for, so the server name of the aliases is found.
TEST(ServiceFileTest, AnEntryIsWrittenUnderTheNameTheClientLooksFor) {
  const Site site({{"sqlnet.ora", {"NAMES.DEFAULT_DOMAIN = world"}}, {"tnsnames.ora", {Entry("XE", "dead")}}});
  ServiceFile file = site.Read();
  Lines status;
  bde::StatusReport report(status);
  file.WriteEntry("Nowy", kEdited, report);
  EXPECT_EQ(platform::ReadTextLines(site.Path("tnsnames.ora")), Plus({Entry("XE", "dead")}, EntryLayout("Nowy.WORLD", kEdited)));
  EXPECT_EQ(file.UnresolvedProblem("Nowy"), std::nullopt);
  EXPECT_EQ(testing_support::ErrorOf([&] { file.CheckResolves("XE"); }),
            "Klient Oracle nie odnajdzie serwisu \"XE\": " + *file.UnresolvedProblem("XE"));
}

// For the checks of a configuration: the entry and the file the client of
// a home takes for a name, in the folder TNS_ADMIN names.
TEST(ServiceFileTest, ANameResolvesToTheEntryAndTheFileTheClientOfTheHomeTakes) {
  const Site site({{"sqlnet.ora", {"NAMES.DEFAULT_DOMAIN = firma.pl"}},
                   {"tnsnames.ora", {Entry("LM", "dead"), "IFILE = inc.ora"}},
                   {"inc.ora", {Entry("LM.FIRMA.PL", "l")}}});
  platform::MemoryRegistry registry;
  registry.SetValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_Ora", "TNS_ADMIN",
                    {platform::MemoryRegistry::ValueType::String, site.Path(""), 0});
  const auto found = ResolveServiceName(registry, "KEY_Ora", "C:\\ora", "LM");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->lookupName, "LM.FIRMA.PL");
  EXPECT_EQ(found->entry.host, "l");
  EXPECT_EQ(found->file, site.Path("inc.ora"));
  EXPECT_EQ(ResolveServiceName(registry, "KEY_Ora", "C:\\ora", "LM.WORLD"), std::nullopt);
  EXPECT_EQ(ResolveServiceName(registry, "KEY_Other", "C:\\ora", "LM"), std::nullopt);
}

}  // namespace
}  // namespace oracle
