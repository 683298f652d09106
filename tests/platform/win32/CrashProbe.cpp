// Fails in the way its first argument names, after PrepareForNobodyAtScreen,
// so that a test can see each unforeseen end give exit code 1 and its last
// words (written to the file of the second argument), with no window.
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/TextFile.h"
#include "platform/win32/SystemServices.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string fault = argv[1];
  const std::string file = argv[2];
  platform::win32::PrepareForNobodyAtScreen(
      [file](const std::string& what) { platform::WriteTextLines(file, {what}); });
  if (fault == "access") {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  } else if (fault == "throw") {
    throw std::runtime_error("nie przewidziano");
  } else if (fault == "thread") {
    std::thread([] { throw std::runtime_error("w wątku"); }).join();
  } else if (fault == "abort") {
    std::abort();
  }
  return 0;
}
