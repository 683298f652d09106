#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// tnsnames.ora files of a given number of entries, as large sites keep
// them, written line by line so that making one costs no memory.
namespace bench {

enum class TnsnamesLayout {
  Writer,  // the nine lines the wizard writes, with an address list
  Common,  // an address directly under the description, as installers write
};

inline std::string EntryName(int index) { return "SERWIS" + std::to_string(index) + ".FIRMA.PL"; }

// The folder (with its trailing separator) holding tnsnames.ora.
inline std::string TnsnamesFolder(int entries, TnsnamesLayout layout) {
  const std::string tag = layout == TnsnamesLayout::Writer ? "writer" : "common";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("konfignovera-bench-" + tag + "-" + std::to_string(entries));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "tnsnames.ora").string();
  if (std::filesystem::exists(path)) return folder.string() + "/";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fprintf(file, "# Wspólny plik usług Oracle\r\n");
  for (int i = 0; i < entries; ++i) {
    const std::string name = EntryName(i);
    if (layout == TnsnamesLayout::Writer) {
      std::fprintf(file,
                   "%s =\r\n  (DESCRIPTION =\r\n    (ADDRESS_LIST =\r\n      (ADDRESS = (PROTOCOL = TCP)(HOST = "
                   "host%d.firma.pl)(PORT = 1521))\r\n    )\r\n    (CONNECT_DATA =\r\n      (SERVICE_NAME = S%d)\r\n"
                   "    )\r\n  )\r\n\r\n",
                   name.c_str(), i, i);
    } else {
      std::fprintf(file,
                   "%s =\r\n  (DESCRIPTION =\r\n    (ADDRESS = (PROTOCOL = TCP)(HOST = host%d.firma.pl)(PORT = 1521))"
                   "\r\n    (CONNECT_DATA =\r\n      (SERVER = DEDICATED)\r\n      (SERVICE_NAME = S%d)\r\n    )\r\n"
                   "  )\r\n\r\n",
                   name.c_str(), i, i);
    }
  }
  std::fclose(file);
  return folder.string() + "/";
}

}  // namespace bench
