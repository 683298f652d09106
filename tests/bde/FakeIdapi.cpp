// Stands in for the installed BDE engine's API library (idapi32.dll) in the
// tests: the same undecorated stdcall entry points and record layouts,
// aliases kept in memory, and a plain file written on DbiCfgSave. It finds
// its file as the engine does, through "CONFIGFILE01" of the BDE key (on
// Linux through KONFIGNOVERA_FAKE_IDAPI_CONFIG), and reads it at start-up:
//
//   IDAPI STAND-IN
//   REFUSE <function>          that entry point fails, for the tests
//   RECORD EXTRA <bytes>       records that many bytes longer than declared
//                              here, as a later engine's may be (negative:
//                              shorter), the extra bytes filled by the engine
//   ALIAS <name>
//   DB INFO <name>=<value>     TYPE, and PATH, DEFAULT DRIVER ... of STANDARD
//   DB OPEN <name>=<value>     an SQL driver's connection parameters
//
// KONFIGNOVERA_FAKE_IDAPI_FAIL="<function>:<n>" makes the nth call of that
// entry point since the start fail once, as an engine that runs out of
// room halfway would; unlike REFUSE it is never saved into the file.
//
// It refuses what a real engine refuses: any call before DbiInitFn, a second
// start, cursors still open at DbiExit (which also leaves "<file>.leak"), a
// record handed back that is not the one read (its extra bytes included),
// and a malformed parameter string.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#pragma GCC visibility push(default)
#include "bde/IdapiApi.h"
#pragma GCC visibility pop

using namespace bde::idapi;

struct bde::idapi::DbiObject {
  bool config = false;  // a configuration list, else the database list
  bool writable = false;
  std::string alias;    // the alias and section of a configuration list
  std::string section;
  std::vector<std::string> nodes;
  size_t next = 0;
};

namespace {

using Section = std::vector<std::pair<std::string, std::string>>;

struct FakeAlias {
  std::string name;
  Section info;
  Section open;
  bool persistent = true;
};

constexpr char kSignature[] = "IDAPI STAND-IN";

constexpr DBIResult kSysFileOpen = 0x2101, kCfgCannotWrite = 0x2105, kObjNotFound = 0x2208,
                    kInvalidParam = 0x2702, kInvalidHandle = 0x2706, kInvalidRecStruct = 0x2713,
                    kNameNotUnique = 0x2719, kReadOnly = 0x2A04, kNotInitialized = 0x2A0B,
                    kCursorsOpen = 0x2A0C, kNotSupported = 0x3000, kVersion = 0x2F01;

const char* Text(DBIResult code) {
  switch (code) {
    case DBIERR_NONE: return "";
    case kSysFileOpen: return "Cannot open a system file";
    case kCfgCannotWrite: return "Cannot write to Engine configuration file";
    case kObjNotFound: return "Object not found";
    case kInvalidParam: return "Invalid parameter";
    case kInvalidHandle: return "Invalid handle to the function";
    case kInvalidRecStruct: return "Invalid record structure";
    case kNameNotUnique: return "Name not unique in this context";
    case kReadOnly: return "Table is read only";
    case kNotInitialized: return "Engine not initialized";
    case kCursorsOpen: return "Cursors are still open";
    case kNotSupported: return "Capability not supported";
    case kVersion: return "Interface version mismatch";
    case DBIERR_EOF: return "At end of table";
    default: return "General error";
  }
}

bool initialized = false;
std::string configPath;
std::vector<FakeAlias> aliases;
std::set<std::string> refused;
std::string failingFunction;
int callsBeforeFailure = 0;
int recordExtra = 0;
std::set<DbiObject*> cursors;
DBIResult lastError = DBIERR_NONE;
std::string lastContext;

DBIResult Fail(DBIResult code, std::string context = {}) {
  lastError = code;
  lastContext = std::move(context);
  return code;
}

DBIResult Ok() {
  lastError = DBIERR_NONE;
  lastContext.clear();
  return DBIERR_NONE;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

FakeAlias* Find(const std::string& name) {
  for (FakeAlias& alias : aliases) {
    if (SameName(alias.name, name)) return &alias;
  }
  return nullptr;
}

std::string Value(const Section& section, const std::string& name) {
  for (const auto& [key, value] : section) {
    if (SameName(key, name)) return value;
  }
  return {};
}

void ReadCountedFailure() {
  failingFunction.clear();
  callsBeforeFailure = 0;
  const char* setting = std::getenv("KONFIGNOVERA_FAKE_IDAPI_FAIL");
  if (!setting) return;
  const std::string text = setting;
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return;
  failingFunction = text.substr(0, colon);
  callsBeforeFailure = std::atoi(text.c_str() + colon + 1);
}

bool CountedFailureNow(const char* function) {
  return callsBeforeFailure > 0 && failingFunction == function && --callsBeforeFailure == 0;
}

// Every entry point but the error ones needs a started engine, and a test
// may make any of them fail.
DBIResult Enter(const char* function) {
  if (!initialized) return Fail(kNotInitialized);
  if (refused.count(function) || CountedFailureNow(function)) {
    return Fail(std::strcmp(function, "DbiCfgSave") == 0 ? kCfgCannotWrite : kNotSupported, configPath);
  }
  return Ok();
}

#define ENTER(name)                                  \
  if (const DBIResult entered = Enter(#name)) return entered

std::string FindConfigPath() {
#ifdef _WIN32
  char path[MAX_PATH] = {};
  DWORD size = sizeof(path);
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Borland\\Database Engine", "CONFIGFILE01",
                   RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, path, &size) == ERROR_SUCCESS) {
    return path;
  }
  return {};
#else
  const char* path = std::getenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG");
  return path ? path : "";
#endif
}

bool Load() {
  aliases.clear();
  refused.clear();
  recordExtra = 0;
  std::ifstream in(configPath, std::ios::binary);
  if (!in) return true;  // a new configuration
  std::string line;
  if (!std::getline(in, line)) return true;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line != kSignature) return false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto pair = [&](size_t from) {
      const size_t equals = line.find('=', from);
      return std::make_pair(line.substr(from, equals - from), equals == std::string::npos ? "" : line.substr(equals + 1));
    };
    if (line.rfind("REFUSE ", 0) == 0) {
      refused.insert(line.substr(7));
    } else if (line.rfind("RECORD EXTRA ", 0) == 0) {
      recordExtra = std::atoi(line.c_str() + 13);
    } else if (line.rfind("ALIAS ", 0) == 0) {
      aliases.push_back({line.substr(6), {}, {}, true});
    } else if (line.rfind("DB INFO ", 0) == 0 && !aliases.empty()) {
      aliases.back().info.push_back(pair(8));
    } else if (line.rfind("DB OPEN ", 0) == 0 && !aliases.empty()) {
      aliases.back().open.push_back(pair(8));
    }
  }
  return true;
}

bool Save() {
  const std::string temporary = configPath + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << kSignature << "\r\n";
    for (const std::string& function : refused) out << "REFUSE " << function << "\r\n";
    if (recordExtra != 0) out << "RECORD EXTRA " << recordExtra << "\r\n";
    for (const FakeAlias& alias : aliases) {
      if (!alias.persistent) continue;
      out << "ALIAS " << alias.name << "\r\n";
      for (const auto& [key, value] : alias.info) out << "DB INFO " << key << "=" << value << "\r\n";
      for (const auto& [key, value] : alias.open) out << "DB OPEN " << key << "=" << value << "\r\n";
    }
    if (!out.flush()) return false;
  }
  std::remove(configPath.c_str());
  return std::rename(temporary.c_str(), configPath.c_str()) == 0;
}

template <size_t N>
void Copy(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "NAME:VALUE;NAME:VALUE", a value holding ";" quoted whole.
bool ParseParams(const char* text, Section& out) {
  if (!text) return true;
  std::string params(text);
  size_t at = 0;
  while (at < params.size()) {
    const size_t colon = params.find(':', at);
    if (colon == std::string::npos) return false;
    const std::string name = Trim(params.substr(at, colon - at));
    if (name.empty() || name.find(';') != std::string::npos) return false;
    size_t valueStart = colon + 1;
    while (valueStart < params.size() && params[valueStart] == ' ') ++valueStart;
    std::string value;
    size_t end;
    if (valueStart < params.size() && params[valueStart] == '"') {
      const size_t close = params.find('"', valueStart + 1);
      if (close == std::string::npos) return false;
      value = params.substr(valueStart + 1, close - valueStart - 1);
      end = close + 1;
      if (end < params.size() && params[end] != ';') return false;
    } else {
      end = std::min(params.find(';', valueStart), params.size());
      value = params.substr(valueStart, end - valueStart);
    }
    out.emplace_back(name, value);
    at = end + 1;
  }
  return true;
}

bool IsStandardDriver(const char* driver) {
  if (!driver) return true;
  for (const char* name : {"STANDARD", "PARADOX", "DBASE", "ASCII"}) {
    if (SameName(driver, name)) return true;
  }
  return false;
}

bool Valid(DbiObject* cursor) { return cursor && cursors.count(cursor) != 0; }

size_t DeclaredSize(const DbiObject* cursor) { return cursor->config ? sizeof(CFGDesc) : sizeof(DBDesc); }

size_t RecordSize(const DbiObject* cursor) {
  return static_cast<size_t>(static_cast<long>(DeclaredSize(cursor)) + recordExtra);
}

// What the engine keeps in a record's bytes past the declared fields.
char ExtraByte(size_t index) { return static_cast<char>('a' + index % 26); }

// Writes a record of the engine's size: the declared fields, then its own.
void StoreRecord(const DbiObject* cursor, const void* declared, void* buffer) {
  const size_t size = RecordSize(cursor);
  std::memcpy(buffer, declared, std::min(size, DeclaredSize(cursor)));
  auto* extra = static_cast<char*>(buffer) + DeclaredSize(cursor);
  for (size_t i = DeclaredSize(cursor); i < size; ++i) *extra++ = ExtraByte(i);
}

bool ExtraBytesIntact(const DbiObject* cursor, const void* buffer) {
  const auto* bytes = static_cast<const char*>(buffer);
  for (size_t i = DeclaredSize(cursor); i < RecordSize(cursor); ++i) {
    if (bytes[i] != ExtraByte(i)) return false;
  }
  return true;
}

}  // namespace

// Only the engine's entry points leave this library.
#pragma GCC visibility push(default)
extern "C" {

DBIResult KONFIGNOVERA_DBIFN DbiInitFn(uint16_t iVer, DBIEnv* /*pEnv*/) {
  if (initialized) return Fail(kInvalidParam, "DbiInitFn");
  if (iVer != DBIINTFVER) return Fail(kVersion);
  configPath = FindConfigPath();
  if (configPath.empty()) return Fail(kSysFileOpen, "CONFIGFILE01");
  if (!Load()) return Fail(kSysFileOpen, configPath);
  ReadCountedFailure();
  initialized = true;
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiExit() {
  if (!initialized) return Fail(kNotInitialized);
  initialized = false;
  if (!cursors.empty()) {
    std::ofstream(configPath + ".leak") << cursors.size() << " cursor(s) left open\n";
    for (DbiObject* cursor : cursors) delete cursor;
    cursors.clear();
    return Fail(kCursorsOpen);
  }
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiOpenDatabaseList(hDBICur* phCur) {
  ENTER(DbiOpenDatabaseList);
  if (!phCur) return Fail(kInvalidParam);
  auto* cursor = new DbiObject;
  for (const FakeAlias& alias : aliases) cursor->nodes.push_back(alias.name);
  cursors.insert(cursor);
  *phCur = cursor;
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiGetDatabaseDesc(const char* pszName, DBDesc* pdbDesc) {
  ENTER(DbiGetDatabaseDesc);
  if (!pszName || !pdbDesc) return Fail(kInvalidParam);
  const FakeAlias* alias = Find(pszName);
  if (!alias) return Fail(kObjNotFound, pszName);
  std::memset(pdbDesc, 0, sizeof(*pdbDesc));
  Copy(pdbDesc->szName, alias->name);
  Copy(pdbDesc->szPhyName, Value(alias->info, "PATH"));
  Copy(pdbDesc->szDbType, Value(alias->info, "TYPE"));
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiOpenCfgInfoList(hDBICfg hCfg, DBIOpenMode eOpenMode, CFGMode eConfigMode,
                                               const char* pszCfgPath, hDBICur* phCur) {
  ENTER(DbiOpenCfgInfoList);
  // Only the session's configuration and the persistent mode are served.
  if (hCfg || eConfigMode != cfgPersistent || !pszCfgPath || !phCur) return Fail(kInvalidParam);
  const std::string path = pszCfgPath;
  const std::string prefix = "\\DATABASES\\";
  if (!SameName(path.substr(0, prefix.size()), prefix)) return Fail(kObjNotFound, path);
  const size_t slash = path.rfind('\\');
  const std::string aliasName = path.substr(prefix.size(), slash - prefix.size());
  const std::string section = path.substr(slash + 1);
  FakeAlias* alias = slash > prefix.size() ? Find(aliasName) : nullptr;
  const bool info = SameName(section, "DB INFO");
  if (!alias || (!info && !SameName(section, "DB OPEN"))) return Fail(kObjNotFound, path);
  auto* cursor = new DbiObject;
  cursor->config = true;
  cursor->writable = eOpenMode == dbiREADWRITE;
  cursor->alias = alias->name;
  cursor->section = info ? "DB INFO" : "DB OPEN";
  for (const auto& [key, value] : info ? alias->info : alias->open) cursor->nodes.push_back(key);
  cursors.insert(cursor);
  *phCur = cursor;
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiGetCursorProps(hDBICur hCursor, CURProps* pCurProps) {
  ENTER(DbiGetCursorProps);
  if (!Valid(hCursor) || !pCurProps) return Fail(kInvalidHandle);
  std::memset(pCurProps, 0, sizeof(*pCurProps));
  const auto size = static_cast<uint16_t>(RecordSize(hCursor));
  pCurProps->iRecSize = size;
  pCurProps->iRecBufSize = size;
  pCurProps->eOpenMode = hCursor->writable ? dbiREADWRITE : dbiREADONLY;
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiGetNextRecord(hDBICur hCursor, DBILockType /*eLock*/, void* pRecBuff,
                                             void* /*precProps*/) {
  ENTER(DbiGetNextRecord);
  if (!Valid(hCursor)) return Fail(kInvalidHandle);
  if (hCursor->next >= hCursor->nodes.size()) return Fail(DBIERR_EOF);
  if (!pRecBuff) return Fail(kInvalidParam);
  const std::string& node = hCursor->nodes[hCursor->next++];
  const FakeAlias* alias = Find(hCursor->config ? hCursor->alias : node);
  if (!alias) return Fail(kObjNotFound, node);
  if (hCursor->config) {
    CFGDesc desc{};
    Copy(desc.szNodeName, node);
    desc.iDataType = 1;  // fldZSTRING
    Copy(desc.szValue, Value(hCursor->section == "DB INFO" ? alias->info : alias->open, node));
    StoreRecord(hCursor, &desc, pRecBuff);
  } else {
    DBDesc desc{};
    Copy(desc.szName, alias->name);
    Copy(desc.szPhyName, Value(alias->info, "PATH"));
    Copy(desc.szDbType, Value(alias->info, "TYPE"));
    StoreRecord(hCursor, &desc, pRecBuff);
  }
  return Ok();
}

// The record must be the one last read, so a caller whose record has
// another layout is caught here rather than writing garbage.
DBIResult KONFIGNOVERA_DBIFN DbiModifyRecord(hDBICur hCursor, void* pRecBuf, BOOL32 /*bFreeLock*/) {
  ENTER(DbiModifyRecord);
  if (!Valid(hCursor)) return Fail(kInvalidHandle);
  if (!hCursor->config || !hCursor->writable) return Fail(kReadOnly);
  if (!pRecBuf || hCursor->next == 0) return Fail(kInvalidParam);
  CFGDesc desc;
  std::memcpy(&desc, pRecBuf, sizeof(desc));
  const std::string& node = hCursor->nodes[hCursor->next - 1];
  if (strnlen(desc.szNodeName, sizeof(desc.szNodeName)) == sizeof(desc.szNodeName) ||
      node != desc.szNodeName || strnlen(desc.szValue, sizeof(desc.szValue)) == sizeof(desc.szValue) ||
      !ExtraBytesIntact(hCursor, pRecBuf)) {
    return Fail(kInvalidRecStruct);
  }
  FakeAlias* alias = Find(hCursor->alias);
  if (!alias) return Fail(kObjNotFound, hCursor->alias);
  for (auto& [key, value] : hCursor->section == "DB INFO" ? alias->info : alias->open) {
    if (key == node) value = desc.szValue;
  }
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiCloseCursor(hDBICur* phCursor) {
  ENTER(DbiCloseCursor);
  if (!phCursor || !Valid(*phCursor)) return Fail(kInvalidHandle);
  cursors.erase(*phCursor);
  delete *phCursor;
  *phCursor = nullptr;
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiAddAlias(hDBICfg hCfg, const char* pszAliasName, const char* pszDriverType,
                                        const char* pszParams, BOOL32 bPersistent) {
  ENTER(DbiAddAlias);
  if (hCfg || !pszAliasName || !*pszAliasName || std::strlen(pszAliasName) > DBIMAXNAMELEN) {
    return Fail(kInvalidParam, pszAliasName ? pszAliasName : "");
  }
  if (Find(pszAliasName)) return Fail(kNameNotUnique, pszAliasName);
  Section params;
  if (!ParseParams(pszParams, params)) return Fail(kInvalidParam, pszParams);
  FakeAlias alias{pszAliasName, {}, {}, bPersistent != 0};
  if (IsStandardDriver(pszDriverType)) {
    const bool named = pszDriverType && !SameName(pszDriverType, "STANDARD");
    // Of a STANDARD alias's parameters the engine takes PATH alone.
    alias.info = {{"TYPE", "STANDARD"},
                  {"PATH", Value(params, "PATH")},
                  {"DEFAULT DRIVER", named ? pszDriverType : "PARADOX"},
                  {"ENABLE BCD", "FALSE"}};
  } else {
    alias.info = {{"TYPE", pszDriverType}};
    alias.open = std::move(params);
  }
  aliases.push_back(std::move(alias));
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiDeleteAlias(hDBICfg hCfg, const char* pszAliasName) {
  ENTER(DbiDeleteAlias);
  if (hCfg || !pszAliasName) return Fail(kInvalidParam);
  const auto found = std::find_if(aliases.begin(), aliases.end(),
                                  [&](const FakeAlias& alias) { return SameName(alias.name, pszAliasName); });
  if (found == aliases.end()) return Fail(kObjNotFound, pszAliasName);
  aliases.erase(found);
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiCfgSave(hDBICfg hCfg, const char* pszCfgFile, BOOL32 /*bRegistered*/) {
  ENTER(DbiCfgSave);
  if (hCfg || pszCfgFile) return Fail(kInvalidParam);
  if (!Save()) return Fail(kCfgCannotWrite, configPath);
  return Ok();
}

DBIResult KONFIGNOVERA_DBIFN DbiGetErrorString(DBIResult rslt, char* pszError) {
  if (!pszError) return kInvalidParam;
  std::snprintf(pszError, DBIMAXMSGLEN + 1, "%s", Text(rslt));
  return DBIERR_NONE;
}

DBIResult KONFIGNOVERA_DBIFN DbiGetErrorInfo(BOOL32 /*bFull*/, DBIErrInfo* pErrInfo) {
  if (!pErrInfo) return kInvalidParam;
  std::memset(pErrInfo, 0, sizeof(*pErrInfo));
  pErrInfo->iError = lastError;
  std::snprintf(pErrInfo->szErrCode, sizeof(pErrInfo->szErrCode), "%s", Text(lastError));
  std::snprintf(pErrInfo->szContext[0], sizeof(pErrInfo->szContext[0]), "%s", lastContext.c_str());
  return DBIERR_NONE;
}

}  // extern "C"
#pragma GCC visibility pop
