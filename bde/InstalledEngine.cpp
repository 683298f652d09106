#include "bde/InstalledEngine.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "platform/CodePage.h"
#include "platform/DynamicLibrary.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/UniqueHandle.h"

namespace bde {
namespace {

bool IsStandard(std::string_view driver) { return platform::EqualsAsciiNoCase(driver, kStandardDriver); }

// Closes an engine cursor through the pointer to its handle that
// DbiCloseCursor takes.
struct CloseCursor {
  const idapi::Functions* api = nullptr;
  void operator()(idapi::hDBICur cursor) const { api->DbiCloseCursor(&cursor); }
};
using UniqueCursor = platform::UniqueHandle<idapi::hDBICur, CloseCursor>;

}  // namespace

InstalledEngineSearch FindInstalledEngine(platform::Registry& registry) {
  const platform::OpenedKey key =
      registry.OpenKey(platform::RegistryRoot::LocalMachine, kBdeKeyPath, platform::kKeyRead, false);
  std::optional<std::string> folder = key ? key->TryReadString(kDllPathValue) : std::nullopt;
  if (!folder) {
    const std::string where = "brak wartości \"" + std::string(kDllPathValue) + "\" w kluczu \"HKEY_LOCAL_MACHINE" +
                              std::string(kBdeKeyPath) + "\"";
    return {std::nullopt, platform::Format(kNoInstalledEngineNote, {where})};
  }
  std::string path = std::move(*folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += kIdapiLibraryName;
  if (!platform::FileExists(path)) {
    return {std::nullopt, platform::Format(kNoInstalledEngineNote, {"brak pliku \"" + path + "\""})};
  }
  return {path, {}};
}

idapi::Functions LoadIdapiFunctions(const platform::DynamicLibrary& library, const std::string& path) {
  idapi::Functions api;
#define KONFIGNOVERA_IDAPI_FIND(name, parameters)                                                      \
  api.name = library.Function<std::remove_pointer_t<decltype(api.name)>>(#name);                       \
  if (!api.name) throw platform::Error(platform::Format(kIdapiFunctionMissingMessage, {path, #name}));
  KONFIGNOVERA_IDAPI_FUNCTIONS(KONFIGNOVERA_IDAPI_FIND)
#undef KONFIGNOVERA_IDAPI_FIND
  return api;
}

InstalledEngine::InstalledEngine(const idapi::Functions& api, const platform::CodePage& codePage)
    : api_(api), codePage_(codePage) {
  Check(api_.DbiInitFn(idapi::DBIINTFVER, nullptr));
}

InstalledEngine::~InstalledEngine() { api_.DbiExit(); }

// The error information must be read before any other call replaces it.
void InstalledEngine::Check(idapi::DBIResult result) const {
  if (result == idapi::DBIERR_NONE) return;
  idapi::DBIErrInfo info{};
  const bool haveInfo = api_.DbiGetErrorInfo(1, &info) == idapi::DBIERR_NONE;
  char text[idapi::DBIMAXMSGLEN + 1] = {};
  api_.DbiGetErrorString(result, text);
  std::string message = FromEngine(text, sizeof(text));
  if (message.empty()) message = "Błąd BDE " + std::to_string(result);
  if (haveInfo) {
    for (const idapi::DBIMSG& context : info.szContext) {
      const std::string line = FromEngine(context, sizeof(context));
      if (!line.empty() && line != message) message += ": " + line;
    }
  }
  throw platform::Error(message);
}

// A later engine may grow a record past the fields declared here; those
// fields keep their place at its start, so only a shorter record is refused.
size_t InstalledEngine::RecordSize(idapi::hDBICur cursor, size_t declared) const {
  idapi::CURProps props{};
  Check(api_.DbiGetCursorProps(cursor, &props));
  if (props.iRecBufSize < declared) {
    throw platform::Error(platform::Format(
        kRecordSizeMessage, {std::to_string(props.iRecBufSize), std::to_string(declared)}));
  }
  return props.iRecBufSize;
}

// The engine fills a buffer of its own record size; our structure is copied
// out of its start, so nothing is read or written past either.
template <typename Record, typename Visit>
void InstalledEngine::ForEachRecord(idapi::hDBICur cursor, Visit visit) const {
  std::vector<char> buffer(RecordSize(cursor, sizeof(Record)));
  for (;;) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    const idapi::DBIResult result = api_.DbiGetNextRecord(cursor, idapi::dbiNOLOCK, buffer.data(), nullptr);
    if (result == idapi::DBIERR_EOF) return;
    Check(result);
    Record record;
    std::memcpy(&record, buffer.data(), sizeof(record));
    visit(record, buffer.data());
  }
}

std::string InstalledEngine::ToEngine(std::string_view text, const std::string& aliasName) const {
  std::optional<std::string> converted = codePage_.FromUtf8(text);
  if (!converted) throw platform::Error(platform::Format(kNotInCodePageMessage, {std::string(text), aliasName}));
  return std::move(*converted);
}

std::string InstalledEngine::FromEngine(const char* text, size_t capacity) const {
  return codePage_.ToUtf8(std::string_view(text, strnlen(text, capacity)));
}

std::vector<std::string> InstalledEngine::ListAliases() {
  UniqueCursor cursor(CloseCursor{&api_});
  Check(api_.DbiOpenDatabaseList(cursor.Put()));
  std::vector<std::string> names;
  ForEachRecord<idapi::DBDesc>(cursor.Get(), [&](const idapi::DBDesc& desc, void*) {
    names.push_back(FromEngine(desc.szName, sizeof(desc.szName)));
  });
  return names;
}

std::string InstalledEngine::AliasDriver(const std::string& name) {
  idapi::DBDesc desc{};
  Check(api_.DbiGetDatabaseDesc(ToEngine(name, name).c_str(), &desc));
  return FromEngine(desc.szDbType, sizeof(desc.szDbType));
}

// An SQL driver's alias keeps its connection parameters under "DB OPEN";
// a STANDARD alias has only "DB INFO", with its path and default driver.
std::string InstalledEngine::SectionPath(const std::string& name) {
  return "\\DATABASES\\" + name + (IsStandard(AliasDriver(name)) ? "\\DB INFO" : "\\DB OPEN");
}

ParameterList InstalledEngine::ReadAliasParameters(const std::string& name) {
  const std::string path = SectionPath(name);
  UniqueCursor cursor(CloseCursor{&api_});
  Check(api_.DbiOpenCfgInfoList(nullptr, idapi::dbiREADONLY, idapi::cfgPersistent, ToEngine(path, name).c_str(),
                                cursor.Put()));
  std::vector<std::string> lines;
  ForEachRecord<idapi::CFGDesc>(cursor.Get(), [&](const idapi::CFGDesc& desc, void*) {
    const std::string node = FromEngine(desc.szNodeName, sizeof(desc.szNodeName));
    if (desc.bHasSubnodes || platform::EqualsAsciiNoCase(node, "TYPE")) return;
    lines.push_back(node + "=" + FromEngine(desc.szValue, sizeof(desc.szValue)));
  });
  return ParameterList(std::move(lines));
}

// "NAME:VALUE" pairs joined by ";"; a value holding ";" is quoted whole,
// as the engine's documentation asks. A parameter with an empty value is
// left out, as the engine's own components leave it out, so the new alias
// takes the driver's default for it.
std::string InstalledEngine::ParameterString(const std::vector<std::pair<std::string, std::string>>& params,
                                             const std::string& aliasName) const {
  std::string joined;
  for (const auto& [name, value] : params) {
    if (value.empty()) continue;
    if (!joined.empty()) joined += ';';
    const std::string oemValue = ToEngine(value, aliasName);
    joined += ToEngine(name, aliasName) + ":" +
              (oemValue.find(';') == std::string::npos ? oemValue : "\"" + oemValue + "\"");
  }
  return joined;
}

// The engine gets the parameters our definition of the driver knows (all
// of a driver we do not define) that have a value; it may add defaults of
// its own, which nobody can know without creating the alias.
Alias InstalledEngine::NewAlias(const std::string& name, const std::string& driver,
                                const ParameterList& params) const {
  const DriverDefinition* definition = FindDriverDefinition(driver);
  std::vector<std::string> lines;
  for (const std::string& line : params.Lines()) {
    const std::string parameter = ParameterList::NameOf(line);
    const bool defined =
        !definition || std::any_of(definition->parameters.begin(), definition->parameters.end(),
                                   [&](std::string_view known) { return platform::EqualsNoCase(known, parameter); });
    if (defined && !ParameterList::ValueOf(line).empty()) lines.push_back(line);
  }
  return Alias{name, driver, ParameterList(std::move(lines))};
}

void InstalledEngine::CreateAlias(const std::string& name, const std::string& driver, const ParameterList& params) {
  std::vector<std::pair<std::string, std::string>> pairs;
  const Alias alias = NewAlias(name, driver, params);
  for (const std::string& line : alias.params.Lines()) {
    pairs.emplace_back(ParameterList::NameOf(line), ParameterList::ValueOf(line));
  }
  const std::string paramString = ParameterString(pairs, name);
  Check(api_.DbiAddAlias(nullptr, ToEngine(name, name).c_str(), ToEngine(driver, name).c_str(), paramString.c_str(),
                         mode_ == ConfigurationMode::Persistent));
  changed_ = true;
}

void InstalledEngine::CreateStandardAlias(const std::string& name, const std::string& path,
                                          const std::string& defaultDriver) {
  const std::string driver = ToEngine(defaultDriver, name);
  const std::string paramString = ParameterString(
      {{"PATH", path}, {"DEFAULT DRIVER", defaultDriver.empty() ? std::string(kDefaultStandardDriver) : defaultDriver}},
      name);
  Check(api_.DbiAddAlias(nullptr, ToEngine(name, name).c_str(), driver.empty() ? nullptr : driver.c_str(),
                         paramString.c_str(), mode_ == ConfigurationMode::Persistent));
  changed_ = true;
}

// Every value is converted and checked before the first call, so a value
// that is refused leaves the alias as it was and a later save writes no
// half of the update.
void InstalledEngine::UpdateAlias(const std::string& name, const ParameterList& params) {
  std::vector<std::string> oemLines;
  for (const std::string& line : params.Lines()) {
    if (line.find('=') == std::string::npos) continue;  // names no parameter
    const std::string parameter = ParameterList::NameOf(line);
    const std::string value = ToEngine(ParameterList::ValueOf(line), name);
    if (value.size() >= sizeof(idapi::CFGDesc::szValue)) {
      throw platform::Error(platform::Format(kValueTooLongMessage, {parameter, name}));
    }
    oemLines.push_back(parameter + "=" + value);
  }
  const ParameterList oemParams(std::move(oemLines));

  const std::string path = SectionPath(name);
  UniqueCursor cursor(CloseCursor{&api_});
  Check(api_.DbiOpenCfgInfoList(nullptr, idapi::dbiREADWRITE, idapi::cfgPersistent, ToEngine(path, name).c_str(),
                                cursor.Put()));
  ForEachRecord<idapi::CFGDesc>(cursor.Get(), [&](idapi::CFGDesc& desc, void* engineRecord) {
    const std::string node = FromEngine(desc.szNodeName, sizeof(desc.szNodeName));
    if (desc.bHasSubnodes || !oemParams.Has(node)) return;
    const std::string value = oemParams.Value(node);
    std::memset(desc.szValue, 0, sizeof(desc.szValue));
    std::memcpy(desc.szValue, value.data(), value.size());
    // The engine's fields past ours go back as it gave them.
    std::memcpy(engineRecord, &desc, sizeof(desc));
    Check(api_.DbiModifyRecord(cursor.Get(), engineRecord, 0));
  });
  changed_ = true;
}

void InstalledEngine::DeleteAlias(const std::string& name) {
  Check(api_.DbiDeleteAlias(nullptr, ToEngine(name, name).c_str()));
  changed_ = true;
}

void InstalledEngine::SaveConfiguration() {
  if (mode_ != ConfigurationMode::Persistent || !changed_) return;
  Check(api_.DbiCfgSave(nullptr, nullptr, 1));
  changed_ = false;
}

}  // namespace bde
