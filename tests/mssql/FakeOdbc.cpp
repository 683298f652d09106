// A stand-in ODBC driver manager for the browse method: it answers as the
// test tells it and records what it was asked. Loaded by name like the real
// one; the test reaches the same instance through FakeOdbc* functions.
#include <cstdint>
#include <algorithm>
#include <string>

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

int16_t SQLAllocHandle(int16_t, void*, void** output) {
  static char handles[16];
  *output = &handles[++liveHandles % 16];
  return allocResult;
}
int16_t SQLFreeHandle(int16_t, void*) {
  --liveHandles;
  return 0;
}
int16_t SQLSetEnvAttr(void*, int32_t, void*, int32_t) { return setEnvResult; }
int16_t SQLDisconnect(void*) {
  ++disconnects;
  return 0;
}
int16_t SQLBrowseConnectW(void*, const char16_t* in, int16_t inLength, char16_t* out, int16_t outSize,
                          int16_t* outLength) {
  request.assign(in, static_cast<size_t>(inLength));
  requestLength = inLength;
  answerSize = outSize;
  // As a driver does: cut to the buffer, always ended by a zero.
  const size_t copied = std::min(answer.size(), static_cast<size_t>(outSize - 1));
  answer.copy(out, copied);
  out[copied] = 0;
  *outLength = static_cast<int16_t>(answer.size());
  return browseResult;
}

}  // extern "C"
