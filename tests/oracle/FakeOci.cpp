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
#include <cstring>
#include <string>
#include <vector>

namespace {

using sword = int32_t;
using ub4 = uint32_t;
using sb4 = int32_t;
using ub2 = uint16_t;
using sb2 = int16_t;

int liveHandles = 0;

struct Handle {
  Handle() { ++liveHandles; }
  virtual ~Handle() { --liveHandles; }
  std::string message;  // the last error, for OCIErrorGet
};
struct Session : Handle {};
struct Parameter : Handle {
  std::string name;
};
struct Statement : Handle {
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

const char* const kColumns[] = {"USERNAME", "ACCOUNT_STATUS"};
const char* const kRows[][2] = {{"SYS", "OPEN"}, {"SYSTEM", "OPEN"}, {"NOVERA_LM", nullptr}};

sword Fail(void* error, const std::string& message) {
  static_cast<Handle*>(error)->message = message;
  return -1;
}

bool Names(const std::string& sql, const char* word) { return sql.find(word) != std::string::npos; }

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int FakeOciLiveHandles() { return liveHandles; }

__attribute__((visibility("default"))) sword OCIEnvNlsCreate(void** env, ub4, void*, void*, void*, void*, size_t,
                                                             void**, ub2 charset, ub2 ncharset) {
  if (charset != 873 || ncharset != 873) return -1;  // the tests expect UTF-8 throughout
  *env = new Handle;
  return 0;
}

__attribute__((visibility("default"))) sword OCIHandleAlloc(const void*, void** handle, ub4 type, size_t, void**) {
  if (type != 2) return -2;
  *handle = new Handle;
  return 0;
}

__attribute__((visibility("default"))) sword OCIHandleFree(void* handle, ub4) {
  delete static_cast<Handle*>(handle);
  return 0;
}

__attribute__((visibility("default"))) sword OCIErrorGet(void* handle, ub4 record, unsigned char*, sb4* code,
                                                         unsigned char* buffer, ub4 size, ub4) {
  const std::string& message = static_cast<Handle*>(handle)->message;
  if (record != 1 || message.empty()) return 100;
  *code = std::atoi(message.c_str() + 4);
  std::snprintf(reinterpret_cast<char*>(buffer), size, "%s\n", message.c_str());
  return 0;
}

__attribute__((visibility("default"))) sword OCILogon2(void*, void* error, void** session, const unsigned char* user,
                                                       ub4 userLength, const unsigned char* password,
                                                       ub4 passwordLength, const unsigned char* service,
                                                       ub4 serviceLength, ub4) {
  const auto text = [](const unsigned char* data, ub4 length) {
    return std::string(reinterpret_cast<const char*>(data), length);
  };
  if (text(service, serviceLength) == "NOSUCH") {
    return Fail(error, "ORA-12154: TNS:could not resolve the connect identifier specified");
  }
  if (text(user, userLength) != "sysnovera" || text(password, passwordLength) != "brevandol") {
    return Fail(error, "ORA-01017: invalid username/password; logon denied");
  }
  *session = new Session;
  return 0;
}

__attribute__((visibility("default"))) sword OCILogoff(void* session, void*) {
  delete static_cast<Session*>(session);
  return 0;
}

__attribute__((visibility("default"))) sword OCIStmtPrepare2(void*, void** statement, void*, const unsigned char* sql,
                                                             ub4 length, const unsigned char*, ub4, ub4, ub4) {
  auto* prepared = new Statement;
  prepared->sql.assign(reinterpret_cast<const char*>(sql), length);
  *statement = prepared;
  return 0;
}

__attribute__((visibility("default"))) sword OCIStmtRelease(void* statement, void*, const unsigned char*, ub4, ub4) {
  delete static_cast<Statement*>(statement);
  return 0;
}

__attribute__((visibility("default"))) sword OCIStmtExecute(void*, void* statement, void* error, ub4 iterations, ub4,
                                                            const void*, void*, ub4) {
  auto* prepared = static_cast<Statement*>(statement);
  if (!Names(prepared->sql, "DBA_USERS")) return Fail(error, "ORA-00942: table or view does not exist");
  if (iterations != 0) return Fail(error, "ORA-24333: zero iteration count");
  prepared->executed = true;
  return 0;
}

__attribute__((visibility("default"))) sword OCIAttrGet(const void* target, ub4 targetType, void* value, ub4* size,
                                                        ub4 attribute, void*) {
  if (targetType == 53 && attribute == 4) {  // a column's name
    const auto* parameter = static_cast<const Parameter*>(target);
    *static_cast<const char**>(value) = parameter->name.c_str();
    *size = static_cast<ub4>(parameter->name.size());
    return 0;
  }
  const auto* statement = static_cast<const Statement*>(target);
  if (attribute == 24) {  // statement type: a query
    *static_cast<ub2*>(value) = statement->sql.rfind("select", 0) == 0 ? 1 : 0;
    return 0;
  }
  if (attribute == 18 && statement->executed) {  // column count
    *static_cast<ub4*>(value) = 2;
    return 0;
  }
  return -1;
}

__attribute__((visibility("default"))) sword OCIParamGet(const void*, ub4, void*, void** parameter, ub4 position) {
  if (position < 1 || position > 2) return -1;
  auto* column = new Parameter;
  column->name = kColumns[position - 1];
  *parameter = column;
  return 0;
}

__attribute__((visibility("default"))) sword OCIDescriptorFree(void* descriptor, ub4) {
  delete static_cast<Parameter*>(descriptor);
  return 0;
}

__attribute__((visibility("default"))) sword OCIDefineByPos(void* statement, void**, void*, ub4 position, void* value,
                                                            sb4 size, ub2 type, void* indicator, ub2*, ub2*, ub4) {
  if (type != 5 || position < 1 || position > 2) return -1;  // text columns only
  static_cast<Statement*>(statement)->defines[position - 1] = {static_cast<char*>(value), size,
                                                               static_cast<sb2*>(indicator)};
  return 0;
}

__attribute__((visibility("default"))) sword OCIStmtFetch2(void* statement, void* error, ub4, ub2, sb4, ub4) {
  auto* prepared = static_cast<Statement*>(statement);
  if (prepared->row == 1 && Names(prepared->sql, "FETCH_FAILS")) {
    return Fail(error, "ORA-03113: end-of-file on communication channel");
  }
  if (prepared->row >= std::size(kRows)) return 100;
  for (size_t column = 0; column < 2; ++column) {
    const Statement::Define& define = prepared->defines[column];
    const char* value = kRows[prepared->row][column];
    *define.indicator = value ? 0 : -1;
    std::snprintf(define.buffer, static_cast<size_t>(define.size), "%s", value ? value : "");
  }
  ++prepared->row;
  return 0;
}

}  // extern "C"
