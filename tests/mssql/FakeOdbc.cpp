// A stand-in ODBC driver manager for the browse method and for connections:
// it answers as the test tells it and records what it was asked. Loaded by name like the real
// one; the test reaches the same instance through FakeOdbc* functions.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "mssql/OdbcApi.h"

using namespace mssql::odbc;

namespace {

int16_t allocResult = 0;
int16_t setEnvResult = 0;
int16_t browseResult = 99;
std::u16string answer;
std::u16string request;
int16_t requestLength = 0;
int16_t answerSize = 0;
int liveHandles = 0;
int disconnects = 0;

// A connection: SQLConnectW answers connectResult with the diagnostic
// state given; the one statement gives one row whose one column "name"
// SQLGetData hands over whole with getDataResult.
int16_t connectResult = 0;
std::u16string diagnosticState;
std::u16string columnValue;
int16_t getDataResult = 0;
int fetched = 0;
bool dataRead = false;
std::string calls;

std::string Narrow(const WChar* text, SmallInt length) {
  std::u16string wide = length == kNts ? std::u16string(text) : std::u16string(text, static_cast<size_t>(length));
  return std::string(wide.begin(), wide.end());
}

}  // namespace

extern "C" {

void FakeOdbcSetUp(int16_t alloc, int16_t setEnv, int16_t browse, const char16_t* text) {
  allocResult = alloc;
  setEnvResult = setEnv;
  browseResult = browse;
  answer = text;
  request.clear();
  requestLength = answerSize = 0;
  liveHandles = disconnects = 0;
}
const char16_t* FakeOdbcRequest(int16_t* length, int16_t* size) {
  *length = requestLength;
  *size = answerSize;
  return request.c_str();
}
void FakeOdbcSetUpConnection(int16_t connect, const char16_t* state, int16_t getData, const char16_t* value) {
  FakeOdbcSetUp(0, 0, 99, u"");
  connectResult = connect;
  diagnosticState = state;
  getDataResult = getData;
  columnValue = value;
  fetched = 0;
  dataRead = false;
  calls.clear();
}
// The connection calls made, each followed by a blank.
const char* FakeOdbcCalls() { return calls.c_str(); }
int FakeOdbcLiveHandles() { return liveHandles; }
int FakeOdbcDisconnects() { return disconnects; }

}  // extern "C"

namespace mssql::odbc {
extern "C" {

// Each entry point has the type mssql/OdbcApi.h declares it with, which the
// caller looks it up as: a definition of another type does not compile.
Return SQLAllocHandle(SmallInt, Handle, Handle* output) {
  static char handles[16];
  *output = &handles[++liveHandles % 16];
  return allocResult;
}
Return SQLFreeHandle(SmallInt, Handle) {
  --liveHandles;
  return 0;
}
Return SQLSetEnvAttr(Handle, Integer, void*, Integer) { return setEnvResult; }
Return SQLDisconnect(Handle) {
  ++disconnects;
  calls += "Disconnect ";
  return 0;
}
Return SQLBrowseConnectW(Handle, const WChar* in, SmallInt inLength, WChar* out, SmallInt outSize,
                         SmallInt* outLength) {
  request.assign(in, static_cast<size_t>(inLength));
  requestLength = inLength;
  answerSize = outSize;
  // As a driver does: cut to the buffer, always ended by a zero.
  const size_t copied = std::min(answer.size(), static_cast<size_t>(outSize - 1));
  answer.copy(out, copied);
  out[copied] = 0;
  *outLength = static_cast<SmallInt>(answer.size());
  return browseResult;
}

Return SQLSetConnectAttrW(Handle, Integer attribute, void* value, Integer) {
  calls += "SetConnectAttr(" + std::to_string(attribute) + "=" + std::to_string(reinterpret_cast<uintptr_t>(value)) +
           ") ";
  return 0;
}
Return SQLConnectW(Handle, const WChar* dsn, SmallInt dsnLength, const WChar*, SmallInt, const WChar*, SmallInt) {
  calls += "Connect(" + Narrow(dsn, dsnLength) + ") ";
  return connectResult;
}
Return SQLDriverConnectW(Handle, void*, const WChar* in, SmallInt inLength, WChar*, SmallInt, SmallInt*, USmallInt) {
  calls += "DriverConnect(" + Narrow(in, inLength) + ") ";
  return 0;
}
Return SQLGetDiagRecW(SmallInt, Handle, SmallInt record, WChar* state, Integer*, WChar* message, SmallInt,
                      SmallInt* messageLength) {
  if (record != 1 || diagnosticState.empty()) return kNoData;
  diagnosticState.copy(state, 5);
  state[5] = 0;
  message[0] = u'x';
  *messageLength = 1;
  return 0;
}
Return SQLExecDirectW(Handle, const WChar*, Integer) { return 0; }
Return SQLNumResultCols(Handle, SmallInt* count) {
  *count = 1;
  return 0;
}
Return SQLDescribeColW(Handle, USmallInt, WChar* name, SmallInt, SmallInt* length, SmallInt*, ULen*, SmallInt*,
                       SmallInt*) {
  std::u16string(u"name").copy(name, 4);
  name[4] = 0;
  *length = 4;
  return 0;
}
Return SQLFetch(Handle) { return fetched++ == 0 ? kSuccess : kNoData; }
// The value whole in one piece, the buffer past it left as it was.
Return SQLGetData(Handle, USmallInt, SmallInt, void* target, Len targetSize, Len* indicator) {
  // Asked again, a column given whole has nothing more.
  if (std::exchange(dataRead, true)) return kNoData;
  auto* out = static_cast<WChar*>(target);
  const size_t room = static_cast<size_t>(targetSize) / sizeof(WChar);
  if (columnValue.size() >= room) return -1;
  columnValue.copy(out, columnValue.size());
  out[columnValue.size()] = 0;
  *indicator = static_cast<Len>(columnValue.size() * sizeof(WChar));
  return getDataResult;
}

}  // extern "C"
}  // namespace mssql::odbc
