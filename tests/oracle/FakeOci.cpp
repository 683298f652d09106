// Stands in for the closed Oracle client library (oci.dll, libclntsh.so) in
// the tests: the same entry points, loaded the same way, serving one account
// and one view of users. It counts the handles it has handed out and not
// yet got back, so the tests can see that every one is released.
//
//   account  sysnovera / brevandol; service "NOSUCH" cannot be resolved
//   DBA_USERS columns USERNAME, ACCOUNT_STATUS; three rows, one NULL status
//   a statement naming DBA_USERS and FETCH_FAILS fails at its second row
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

// Only the OCI entry points leave this library, each with exactly the type
// the caller gives it.
#pragma GCC visibility push(default)
#include "oracle/OciApi.h"
#pragma GCC visibility pop

namespace {

int liveHandles = 0;

struct Handle {
  Handle() { ++liveHandles; }
  virtual ~Handle() { --liveHandles; }
  std::string message;  // the last error, for OCIErrorGet
};
struct Parameter : Handle {
  std::string name;
};

}  // namespace

// What the opaque handles of the interface hold here.
namespace oracle::oci {
struct OCIEnv : Handle {};
struct OCIError : Handle {};
struct OCISvcCtx : Handle {};
struct OCIStmt : Handle {
  std::string sql;
  bool executed = false;
  size_t row = 0;
  struct Define {
    char* buffer;
    sb4 size;
    sb2* indicator;
  };
  std::vector<Define> defines{2};
};
}  // namespace oracle::oci

namespace {

using namespace oracle::oci;

const char* const kColumns[] = {"USERNAME", "ACCOUNT_STATUS"};
const char* const kRows[][2] = {{"SYS", "OPEN"}, {"SYSTEM", "OPEN"}, {"NOVERA_LM", nullptr}};

sword Fail(OCIError* error, const std::string& message) {
  error->message = message;
  return OCI_ERROR;
}

bool Names(const std::string& sql, const char* word) { return sql.find(word) != std::string::npos; }

std::string Text(const OraText* data, ub4 length) { return std::string(reinterpret_cast<const char*>(data), length); }

}  // namespace

extern "C" __attribute__((visibility("default"))) int FakeOciLiveHandles() { return liveHandles; }

namespace oracle::oci {
extern "C" {

sword OCIEnvNlsCreate(OCIEnv** envhpp, ub4, void*, void* (*)(void*, size_t), void* (*)(void*, void*, size_t),
                      void (*)(void*, void*), size_t, void**, ub2 charset, ub2 ncharset) {
  if (charset != kAl32Utf8 || ncharset != kAl32Utf8) return OCI_ERROR;  // the tests expect UTF-8 throughout
  *envhpp = new OCIEnv;
  return OCI_SUCCESS;
}

// Every handle handed out as void* is a Handle* converted, and comes back so.
sword OCIHandleAlloc(const void*, void** hndlpp, ub4 type, size_t, void**) {
  if (type != OCI_HTYPE_ERROR) return OCI_INVALID_HANDLE;
  *hndlpp = static_cast<Handle*>(new OCIError);
  return OCI_SUCCESS;
}

sword OCIHandleFree(void* hndlp, ub4) {
  delete static_cast<Handle*>(hndlp);
  return OCI_SUCCESS;
}

sword OCIErrorGet(void* hndlp, ub4 recordno, OraText*, sb4* errcodep, OraText* bufp, ub4 bufsiz, ub4) {
  const std::string& message = static_cast<Handle*>(hndlp)->message;
  if (recordno != 1 || message.empty()) return OCI_NO_DATA;
  *errcodep = std::atoi(message.c_str() + 4);
  std::snprintf(reinterpret_cast<char*>(bufp), bufsiz, "%s\n", message.c_str());
  return OCI_SUCCESS;
}

sword OCILogon2(OCIEnv*, OCIError* errhp, OCISvcCtx** svchp, const OraText* username, ub4 unameLen,
                const OraText* password, ub4 passwdLen, const OraText* dbname, ub4 dbnameLen, ub4) {
  if (Text(dbname, dbnameLen) == "NOSUCH") {
    return Fail(errhp, "ORA-12154: TNS:could not resolve the connect identifier specified");
  }
  if (Text(username, unameLen) != "sysnovera" || Text(password, passwdLen) != "brevandol") {
    return Fail(errhp, "ORA-01017: invalid username/password; logon denied");
  }
  *svchp = new OCISvcCtx;
  return OCI_SUCCESS;
}

sword OCILogoff(OCISvcCtx* svchp, OCIError*) {
  delete svchp;
  return OCI_SUCCESS;
}

sword OCIStmtPrepare2(OCISvcCtx*, OCIStmt** stmthp, OCIError*, const OraText* stmttext, ub4 stmtLen, const OraText*,
                      ub4, ub4, ub4) {
  auto* prepared = new OCIStmt;
  prepared->sql = Text(stmttext, stmtLen);
  *stmthp = prepared;
  return OCI_SUCCESS;
}

sword OCIStmtRelease(OCIStmt* stmthp, OCIError*, const OraText*, ub4, ub4) {
  delete stmthp;
  return OCI_SUCCESS;
}

sword OCIStmtExecute(OCISvcCtx*, OCIStmt* stmtp, OCIError* errhp, ub4 iters, ub4, const OCISnapshot*, OCISnapshot*,
                     ub4) {
  if (!Names(stmtp->sql, "DBA_USERS")) return Fail(errhp, "ORA-00942: table or view does not exist");
  if (iters != 0) return Fail(errhp, "ORA-24333: zero iteration count");
  stmtp->executed = true;
  return OCI_SUCCESS;
}

sword OCIAttrGet(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep, ub4 attrtype, OCIError*) {
  if (trghndltyp == OCI_DTYPE_PARAM && attrtype == OCI_ATTR_NAME) {  // a column's name
    const auto* parameter = static_cast<const Parameter*>(static_cast<const Handle*>(trgthndlp));
    *static_cast<const char**>(attributep) = parameter->name.c_str();
    *sizep = static_cast<ub4>(parameter->name.size());
    return OCI_SUCCESS;
  }
  const auto* statement = static_cast<const OCIStmt*>(trgthndlp);
  if (attrtype == OCI_ATTR_STMT_TYPE) {  // a query, or something else
    *static_cast<ub2*>(attributep) = statement->sql.rfind("select", 0) == 0 ? OCI_STMT_SELECT : 0;
    return OCI_SUCCESS;
  }
  if (attrtype == OCI_ATTR_PARAM_COUNT && statement->executed) {  // column count
    *static_cast<ub4*>(attributep) = 2;
    return OCI_SUCCESS;
  }
  return OCI_ERROR;
}

sword OCIParamGet(const void*, ub4, OCIError*, void** parmdpp, ub4 pos) {
  if (pos < 1 || pos > 2) return OCI_ERROR;
  auto* column = new Parameter;
  column->name = kColumns[pos - 1];
  *parmdpp = static_cast<Handle*>(column);
  return OCI_SUCCESS;
}

sword OCIDescriptorFree(void* descp, ub4) {
  delete static_cast<Handle*>(descp);
  return OCI_SUCCESS;
}

sword OCIDefineByPos(OCIStmt* stmtp, OCIDefine**, OCIError*, ub4 position, void* valuep, sb4 valueSz, ub2 dty,
                     void* indp, ub2*, ub2*, ub4) {
  if (dty != SQLT_STR || position < 1 || position > 2) return OCI_ERROR;  // text columns only
  stmtp->defines[position - 1] = {static_cast<char*>(valuep), valueSz, static_cast<sb2*>(indp)};
  return OCI_SUCCESS;
}

sword OCIStmtFetch2(OCIStmt* stmthp, OCIError* errhp, ub4, ub2, sb4, ub4) {
  if (stmthp->row == 1 && Names(stmthp->sql, "FETCH_FAILS")) {
    return Fail(errhp, "ORA-03113: end-of-file on communication channel");
  }
  if (stmthp->row >= std::size(kRows)) return OCI_NO_DATA;
  for (size_t column = 0; column < 2; ++column) {
    const OCIStmt::Define& define = stmthp->defines[column];
    const char* value = kRows[stmthp->row][column];
    *define.indicator = value ? 0 : -1;
    std::snprintf(define.buffer, static_cast<size_t>(define.size), "%s", value ? value : "");
  }
  ++stmthp->row;
  return OCI_SUCCESS;
}

}  // extern "C"
}  // namespace oracle::oci
