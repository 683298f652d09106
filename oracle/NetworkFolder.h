#pragma once

#include <string>
#include <string_view>

namespace platform {
class Registry;
}

namespace oracle {

// Where TNS_ADMIN was found, in the order the client on Windows looks: the
// environment the suite's programs inherit, then the value of the home's
// registry key; without either the home's own NETWORK\ADMIN.
enum class NetworkFolderSource { ProcessEnvironment, UserEnvironment, MachineEnvironment, HomeKey, Home };

// The folder whose tnsnames.ora and sqlnet.ora the client of one home
// reads: the only one it reads, for a file it does not find there is taken
// to be missing, not looked for elsewhere.
struct NetworkFolder {
  std::string path;  // ends with a separator, so file names follow it directly
  NetworkFolderSource source = NetworkFolderSource::Home;
  // TNS_ADMIN as it was set, trimmed, and where, as the messages say it;
  // both empty for the home's own folder.
  std::string setting;
  std::string where;

  bool NamedByTnsAdmin() const { return source != NetworkFolderSource::Home; }
  std::string FilePath(std::string_view fileName) const { return path + std::string(fileName); }
};

inline constexpr std::string_view kTnsAdmin = "TNS_ADMIN";

// The home's own folder of client files.
std::string HomeNetworkFolder(const std::string& homeFolder);

// The folder in force for the home: homeSubkey is its key under
// \SOFTWARE\ORACLE (empty when no home is chosen), homeFolder its
// ORACLE_HOME. A TNS_ADMIN that is empty or only blanks counts as not set.
// The registry is only read; a value of another type than text raises the
// registry's type error.
NetworkFolder FindNetworkFolder(platform::Registry& registry, const std::string& homeSubkey,
                                const std::string& homeFolder);

// %s: the folder, then where TNS_ADMIN names it.
inline constexpr std::string_view kMissingNetworkFolderMessage =
    "Folder \"%s\" wskazany przez TNS_ADMIN (%s) nie istnieje, a klient Oracle czyta z niego pliki "
    "tnsnames.ora i sqlnet.ora: nie zapisano niczego. Należy utworzyć ten folder lub poprawić TNS_ADMIN";

// Raises kMissingNetworkFolderMessage when TNS_ADMIN names a folder that
// does not exist, before anything is written there. The home's own folder
// is not checked: its absence is said by the file error of the first write.
void CheckNetworkFolder(const NetworkFolder& folder);

}  // namespace oracle
