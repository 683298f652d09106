#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bde/Alias.h"

// The engine's configuration file, a text format of our own (UTF-8, CR LF):
//
//   KonfigNovera BDE 1
//
//   ALIAS <name>
//   DRIVER <driver>
//   PARAM <parameter name>=<value>
//   END
//
// The first line names the format and its version. Each alias is an ALIAS
// line, one DRIVER line, any number of PARAM lines in list order and an END
// line. Empty lines and lines starting with "#" are skipped (and not kept
// when the file is written again). Every name and value is written exactly,
// except that "%", control characters, DEL and a blank at the start or end
// of the field are written as %XX (two hex digits), so that any text
// survives line splitting and editors that trim blanks. A parameter's name
// ends at the first "=" of its line, as in a parameter list.
namespace bde {

inline constexpr std::string_view kConfigSignature = "KonfigNovera BDE 1";

// %s: the file's path.
inline constexpr std::string_view kNotConfigFileMessage =
    "Plik \"%s\" nie jest plikiem konfiguracji BDE programu KonfigNovera";
// %s: the file's path, then the format version the file states.
inline constexpr std::string_view kUnsupportedVersionMessage =
    "Plik konfiguracji BDE \"%s\" ma nieobsługiwaną wersję formatu (%s)";
// %s: the file's path, then the 1-based line number.
inline constexpr std::string_view kDamagedConfigFileMessage =
    "Uszkodzony plik konfiguracji BDE \"%s\" (wiersz %s)";

// Raises the messages above; path only names the file in them. No lines,
// or only empty ones, are an empty configuration.
AliasStore ParseConfigFile(const std::vector<std::string>& lines, const std::string& path);
std::vector<std::string> FormatConfigFile(const AliasStore& aliases);

// A file that does not exist is an empty configuration.
AliasStore ReadConfigFile(const std::string& path);
// Replaces the file atomically, creating its folder when the file is new.
void WriteConfigFile(const std::string& path, const AliasStore& aliases);

}  // namespace bde
