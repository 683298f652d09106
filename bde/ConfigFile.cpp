#include "bde/ConfigFile.h"

#include <optional>
#include <unordered_set>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace bde {
namespace {

// A first line with this start but another version comes from a newer
// program; it is refused rather than misread.
constexpr std::string_view kFormatPrefix = "KonfigNovera BDE ";
// Notepad puts this before the first line when it saves UTF-8.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

constexpr std::string_view kAliasKeyword = "ALIAS ";
constexpr std::string_view kDriverKeyword = "DRIVER ";
constexpr std::string_view kParamKeyword = "PARAM ";
constexpr std::string_view kEndKeyword = "END";

bool AllEmpty(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!line.empty()) return false;
  }
  return true;
}

// index counts from 0; the message counts lines from 1.
platform::Error Damaged(const std::string& path, size_t index) {
  return platform::Error(
      platform::Format(kDamagedConfigFileMessage, {path, std::to_string(index + 1)}));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

AliasStore ParseConfigFile(const std::vector<std::string>& lines, const std::string& path) {
  if (AllEmpty(lines)) return {};

  std::string_view signature = lines[0];
  if (signature.starts_with(kUtf8Bom)) signature.remove_prefix(kUtf8Bom.size());
  if (signature != kConfigSignature) {
    if (signature.starts_with(kFormatPrefix)) {
      throw platform::Error(platform::Format(
          kUnsupportedVersionMessage, {path, std::string(signature.substr(kFormatPrefix.size()))}));
    }
    throw platform::Error(platform::Format(kNotConfigFileMessage, {path}));
  }

  AliasStore aliases;
  std::unordered_set<std::u32string> names;  // a site may keep thousands of aliases
  bool inAlias = false;
  size_t aliasLine = 0;
  Alias alias;
  std::vector<std::string> params;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.empty() || line.starts_with('#')) continue;

    if (!inAlias) {
      if (!line.starts_with(kAliasKeyword)) throw Damaged(path, i);
      std::optional<std::string> name = platform::UnescapeField(line.substr(kAliasKeyword.size()));
      if (!name || name->empty() || !names.insert(platform::CaseKey(*name)).second) throw Damaged(path, i);
      alias = Alias{std::move(*name), {}, {}};
      params.clear();
      inAlias = true;
      aliasLine = i;
    } else if (line.starts_with(kDriverKeyword)) {
      // One driver per alias, stated before its parameters.
      std::optional<std::string> driver = platform::UnescapeField(line.substr(kDriverKeyword.size()));
      if (!alias.driver.empty() || !params.empty() || !driver || driver->empty()) {
        throw Damaged(path, i);
      }
      alias.driver = std::move(*driver);
    } else if (line.starts_with(kParamKeyword)) {
      const std::string_view field = line.substr(kParamKeyword.size());
      const size_t equals = field.find('=');
      if (alias.driver.empty() || equals == std::string_view::npos) throw Damaged(path, i);
      std::optional<std::string> name = platform::UnescapeField(field.substr(0, equals));
      std::optional<std::string> value = platform::UnescapeField(field.substr(equals + 1));
      // A parameter's name ends at its first "=", so an escaped one inside
      // the name could not be kept.
      if (!name || name->empty() || name->find('=') != std::string::npos || !value) {
        throw Damaged(path, i);
      }
      params.push_back(*name + "=" + *value);
    } else if (line == kEndKeyword) {
      if (alias.driver.empty()) throw Damaged(path, i);
      alias.params = ParameterList(std::move(params));
      params = {};
      aliases.push_back(std::move(alias));
      inAlias = false;
    } else {
      throw Damaged(path, i);
    }
  }
  // An alias without its END line was cut short; point at where it began.
  if (inAlias) throw Damaged(path, aliasLine);
  return aliases;
}

std::vector<std::string> FormatConfigFile(const AliasStore& aliases) {
  std::vector<std::string> lines{std::string(kConfigSignature)};
  for (const Alias& alias : aliases) {
    lines.emplace_back();
    lines.push_back(std::string(kAliasKeyword) + platform::EscapeField(alias.name));
    lines.push_back(std::string(kDriverKeyword) + platform::EscapeField(alias.driver));
    for (const std::string& param : alias.params.Lines()) {
      lines.push_back(std::string(kParamKeyword) + platform::EscapeField(ParameterList::NameOf(param)) + "=" +
                      platform::EscapeField(ParameterList::ValueOf(param)));
    }
    lines.push_back(std::string(kEndKeyword));
  }
  return lines;
}

AliasStore ReadConfigFile(const std::string& path) {
  if (!platform::FileExists(path)) return {};
  return ParseConfigFile(platform::ReadTextLines(path), path);
}

void WriteConfigFile(const std::string& path, const AliasStore& aliases) {
  if (!platform::FileExists(path)) {
    const std::string folder = FolderOf(path);
    if (!folder.empty()) platform::CreateFolders(folder);
  }
  platform::WriteTextLines(path, FormatConfigFile(aliases));
}

}  // namespace bde
