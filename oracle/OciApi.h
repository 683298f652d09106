#pragma once

#include <cstddef>
#include <cstdint>

// The few types, constants and entry points of the Oracle client library
// (OCI) used here, declared as the public OCI documentation gives them, so
// no Oracle header is needed. The functions are found in the library at run
// time; these prototypes only type them. Whatever stands in for the library
// defines them from this same header, so caller and callee agree on every
// function type.
namespace oracle::oci {

using sword = int32_t;
using ub4 = uint32_t;
using sb4 = int32_t;
using ub2 = uint16_t;
using sb2 = int16_t;
using OraText = unsigned char;

// Opaque handles: the library alone knows what they hold.
struct OCIEnv;
struct OCIError;
struct OCISvcCtx;
struct OCIStmt;
struct OCIDefine;
struct OCISnapshot;

inline constexpr sword OCI_SUCCESS = 0;
inline constexpr sword OCI_SUCCESS_WITH_INFO = 1;
inline constexpr sword OCI_NO_DATA = 100;
inline constexpr sword OCI_ERROR = -1;
inline constexpr sword OCI_INVALID_HANDLE = -2;
inline constexpr ub4 OCI_DEFAULT = 0;
inline constexpr ub4 OCI_HTYPE_ENV = 1;
inline constexpr ub4 OCI_HTYPE_ERROR = 2;
inline constexpr ub4 OCI_HTYPE_STMT = 4;
inline constexpr ub4 OCI_DTYPE_PARAM = 53;
inline constexpr ub4 OCI_ATTR_NAME = 4;
inline constexpr ub4 OCI_ATTR_PARAM_COUNT = 18;
inline constexpr ub4 OCI_ATTR_STMT_TYPE = 24;
inline constexpr ub2 OCI_STMT_SELECT = 1;
inline constexpr ub4 OCI_NTV_SYNTAX = 1;
inline constexpr ub2 OCI_FETCH_NEXT = 2;
inline constexpr ub2 SQLT_STR = 5;
inline constexpr ub2 kAl32Utf8 = 873;  // the character set id of AL32UTF8

// The entry points used, each named once: X(name, parameter list); every
// one returns a sword.
#define KONFIGNOVERA_OCI_FUNCTIONS(X)                                                                          \
  X(OCIEnvNlsCreate, (OCIEnv** envhpp, ub4 mode, void* ctxp, void* (*malocfp)(void*, size_t),                  \
                      void* (*ralocfp)(void*, void*, size_t), void (*mfreefp)(void*, void*), size_t xtramemSz, \
                      void** usrmempp, ub2 charset, ub2 ncharset))                                             \
  X(OCIHandleAlloc, (const void* parenth, void** hndlpp, ub4 type, size_t xtramemSz, void** usrmempp))         \
  X(OCIHandleFree, (void* hndlp, ub4 type))                                                                    \
  X(OCIErrorGet, (void* hndlp, ub4 recordno, OraText* sqlstate, sb4* errcodep, OraText* bufp, ub4 bufsiz,      \
                  ub4 type))                                                                                   \
  X(OCILogon2, (OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchp, const OraText* username, ub4 unameLen,      \
                const OraText* password, ub4 passwdLen, const OraText* dbname, ub4 dbnameLen, ub4 mode))       \
  X(OCILogoff, (OCISvcCtx* svchp, OCIError* errhp))                                                            \
  X(OCIStmtPrepare2, (OCISvcCtx* svchp, OCIStmt** stmthp, OCIError* errhp, const OraText* stmttext,            \
                      ub4 stmtLen, const OraText* key, ub4 keyLen, ub4 language, ub4 mode))                    \
  X(OCIStmtRelease, (OCIStmt* stmthp, OCIError* errhp, const OraText* key, ub4 keyLen, ub4 mode))              \
  X(OCIStmtExecute, (OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters, ub4 rowoff,                 \
                     const OCISnapshot* snapIn, OCISnapshot* snapOut, ub4 mode))                               \
  X(OCIAttrGet, (const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep, ub4 attrtype,            \
                 OCIError* errhp))                                                                             \
  X(OCIParamGet, (const void* hndlp, ub4 htype, OCIError* errhp, void** parmdpp, ub4 pos))                     \
  X(OCIDescriptorFree, (void* descp, ub4 type))                                                                \
  X(OCIDefineByPos, (OCIStmt* stmtp, OCIDefine** defnpp, OCIError* errhp, ub4 position, void* valuep,          \
                     sb4 valueSz, ub2 dty, void* indp, ub2* rlenp, ub2* rcodep, ub4 mode))                     \
  X(OCIStmtFetch2, (OCIStmt* stmthp, OCIError* errhp, ub4 nrows, ub2 orientation, sb4 scrollOffset, ub4 mode))

extern "C" {
#define KONFIGNOVERA_OCI_DECLARE(name, parameters) sword name parameters;
KONFIGNOVERA_OCI_FUNCTIONS(KONFIGNOVERA_OCI_DECLARE)
#undef KONFIGNOVERA_OCI_DECLARE
}

}  // namespace oracle::oci
