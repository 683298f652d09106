// A stand-in ODBC driver manager for the browse method: it answers as the
// test tells it and records what it was asked. Loaded by name like the real
// one; the test reaches the same instance through FakeOdbc* functions.
#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>

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
int FakeOdbcLiveHandles() { return liveHandles; }
int FakeOdbcDisconnects() { return disconnects; }

// Each entry point has exactly the type the caller looks it up as.
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

}  // extern "C"

static_assert(std::is_same_v<decltype(SQLAllocHandle), AllocHandleFn>);
static_assert(std::is_same_v<decltype(SQLFreeHandle), FreeHandleFn>);
static_assert(std::is_same_v<decltype(SQLSetEnvAttr), SetEnvAttrFn>);
static_assert(std::is_same_v<decltype(SQLDisconnect), DisconnectFn>);
static_assert(std::is_same_v<decltype(SQLBrowseConnectW), BrowseConnectWFn>);
