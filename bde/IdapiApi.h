#pragma once

#include <cstdint>

// The few types, constants and entry points of the BDE engine's 32-bit API
// library (idapi32.dll) used here, declared from the engine's public API
// documentation, so no header of the engine is needed. Records use 1-byte
// packing and the documented field order; strings are zero-terminated in
// fixed arrays, in the OEM code page. Whatever stands in for the library
// defines its functions from this same header, so caller and callee agree
// on every function type.
namespace bde::idapi {

// Every entry point is stdcall and exported undecorated. Only 32-bit x86
// knows more than one convention; elsewhere the attribute would only warn.
#if defined(_WIN32) && defined(__i386__)
#define KONFIGNOVERA_DBIFN __attribute__((stdcall))
#else
#define KONFIGNOVERA_DBIFN
#endif

using DBIResult = uint16_t;
using BOOL32 = int32_t;  // the API's BOOL parameters: a C int
using BOOL16 = uint16_t;  // the BOOL16 fields of its records

// Handles are opaque to the caller.
struct DbiObject;
using hDBICur = DbiObject*;
using hDBICfg = DbiObject*;
struct DBIEnv;

// The engine's enumerations are int-sized.
enum DBIOpenMode : int32_t { dbiREADWRITE = 0, dbiREADONLY = 1 };
enum DBIShareMode : int32_t { dbiOPENSHARED = 0, dbiOPENEXCL = 1 };
enum DBILockType : int32_t { dbiNOLOCK = 0, dbiWRITELOCK = 1, dbiREADLOCK = 2 };
enum CFGMode : int32_t { cfgPersistent = 0, cfgSession = 1, cfgAll = 2 };
enum XLTMode : int32_t { xltNONE = 0, xltRECORD = 1, xltFIELD = 2 };

// The interface version DbiInit passes to DbiInitFn (decimal 500).
inline constexpr uint16_t DBIINTFVER = 500;

inline constexpr DBIResult DBIERR_NONE = 0;
inline constexpr DBIResult DBIERR_EOF = 0x2202;  // ERRBASE_NOTFOUND + ERRCODE_EOF

inline constexpr int DBIMAXNAMELEN = 31;
inline constexpr int DBIMAXPATHLEN = 260;
inline constexpr int DBIMAXTBLNAMELEN = 260;
inline constexpr int DBIMAXMSGLEN = 127;
inline constexpr int DBIMAXSCFLDLEN = 128;

using DBINAME = char[DBIMAXNAMELEN + 1];
using DBIPATH = char[DBIMAXPATHLEN + 1];
using DBITBLNAME = char[DBIMAXTBLNAMELEN + 1];
using DBIMSG = char[DBIMAXMSGLEN + 1];

#pragma pack(push, 1)

// One alias of the database list.
struct DBDesc {
  DBINAME szName;     // alias name
  DBINAME szText;     // description
  DBIPATH szPhyName;  // physical name or path
  DBINAME szDbType;   // driver type
};

// One node of the configuration tree. The engine's help table gives
// szDescription as DBINAME and bHasSubnodes as BOOL; the engine's own
// headers (the C header and the Delphi unit alike) give 128 characters and
// a 16-bit BOOL, and those are the layout the engine's components are
// compiled against, so they are what the engine fills.
struct CFGDesc {
  DBINAME szNodeName;
  char szDescription[DBIMAXSCFLDLEN];
  uint16_t iDataType;
  char szValue[DBIMAXSCFLDLEN];
  BOOL16 bHasSubnodes;
};

struct DBIErrInfo {
  DBIResult iError;
  DBIMSG szErrCode;
  DBIMSG szContext[4];
};

// Cursor properties; only iRecBufSize is read here, to check that the
// engine's record is the one declared above before reading into it.
struct CURProps {
  DBITBLNAME szName;
  uint16_t iFNameSize;
  DBINAME szTableType;
  uint16_t iFields;
  uint16_t iRecSize;
  uint16_t iRecBufSize;
  uint16_t iKeySize;
  uint16_t iIndexes;
  uint16_t iValChecks;
  uint16_t iRefIntChecks;
  uint16_t iBookMarkSize;
  BOOL16 bBookMarkStable;
  DBIOpenMode eOpenMode;
  DBIShareMode eShareMode;
  BOOL16 bIndexed;
  int16_t iSeqNums;
  BOOL16 bSoftDeletes;
  BOOL16 bDeletedOn;
  uint16_t iRefRange;
  XLTMode exltMode;
  uint16_t iRestrVersion;
  BOOL16 bUniDirectional;
  uint16_t eprvRights;
  uint16_t Dummy4;
  uint16_t iFmlRights;
  uint16_t iPasswords;
  uint16_t iCodePage;
  BOOL16 bProtected;
  uint16_t iTblLevel;
  DBINAME szLangDriver;
  BOOL16 bFieldMap;
  uint16_t iBlockSize;
  BOOL16 bStrictRefInt;
  uint16_t iFilters;
  BOOL16 bTempTable;
  uint16_t iUnUsed[16];
};

#pragma pack(pop)

static_assert(sizeof(DBDesc) == 357);
static_assert(sizeof(CFGDesc) == 292);
static_assert(sizeof(DBIErrInfo) == 642);
static_assert(sizeof(CURProps) == 427);

// Each entry point named once: X(name, parameter list).
#define KONFIGNOVERA_IDAPI_FUNCTIONS(X)                                                               \
  X(DbiInitFn, (uint16_t iVer, DBIEnv * pEnv))                                                       \
  X(DbiExit, ())                                                                                      \
  X(DbiOpenDatabaseList, (hDBICur * phCur))                                                          \
  X(DbiGetDatabaseDesc, (const char* pszName, DBDesc* pdbDesc))                                      \
  X(DbiOpenCfgInfoList, (hDBICfg hCfg, DBIOpenMode eOpenMode, CFGMode eConfigMode,                   \
                         const char* pszCfgPath, hDBICur* phCur))                                    \
  X(DbiGetCursorProps, (hDBICur hCursor, CURProps * pCurProps))                                      \
  X(DbiGetNextRecord, (hDBICur hCursor, DBILockType eLock, void* pRecBuff, void* precProps))         \
  X(DbiModifyRecord, (hDBICur hCursor, void* pRecBuf, BOOL32 bFreeLock))                             \
  X(DbiCloseCursor, (hDBICur * phCursor))                                                            \
  X(DbiAddAlias, (hDBICfg hCfg, const char* pszAliasName, const char* pszDriverType,                 \
                  const char* pszParams, BOOL32 bPersistent))                                        \
  X(DbiDeleteAlias, (hDBICfg hCfg, const char* pszAliasName))                                        \
  X(DbiCfgSave, (hDBICfg hCfg, const char* pszCfgFile, BOOL32 bRegistered))                          \
  X(DbiGetErrorString, (DBIResult rslt, char* pszError))                                             \
  X(DbiGetErrorInfo, (BOOL32 bFull, DBIErrInfo * pErrInfo))

extern "C" {
#define KONFIGNOVERA_IDAPI_DECLARE(name, parameters) DBIResult KONFIGNOVERA_DBIFN name parameters;
KONFIGNOVERA_IDAPI_FUNCTIONS(KONFIGNOVERA_IDAPI_DECLARE)
#undef KONFIGNOVERA_IDAPI_DECLARE
}

// The library's functions, found at run time (or handed in by a test).
struct Functions {
#define KONFIGNOVERA_IDAPI_MEMBER(name, parameters) decltype(&::bde::idapi::name) name = nullptr;
  KONFIGNOVERA_IDAPI_FUNCTIONS(KONFIGNOVERA_IDAPI_MEMBER)
#undef KONFIGNOVERA_IDAPI_MEMBER
};

}  // namespace bde::idapi
