// Times programs from process start until their window is shown and the
// process waits for input (WaitForInputIdle), alternating between them so
// that both see the same machine, and prints the median and spread.
//
//   startup_timer RUNS PROGRAM ...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

BOOL CALLBACK CloseWindowOf(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// One start: the time until the program is idle, or a negative number.
double TimeOneStart(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, idle;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  const DWORD waited = WaitForInputIdle(process.hProcess, kTimeoutMs);
  QueryPerformanceCounter(&idle);
  EnumWindows(CloseWindowOf, static_cast<LPARAM>(process.dwProcessId));
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return waited == 0 ? Milliseconds(start, idle) : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_timer RUNS PROGRAM ...\n");
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  std::vector<std::wstring> programs(argv + 2, argv + argc);
  std::vector<std::vector<double>> times(programs.size());
  for (const std::wstring& program : programs) TimeOneStart(program);  // warm the caches once
  for (int run = 0; run < runs; ++run) {
    for (size_t i = 0; i < programs.size(); ++i) {
      const double ms = TimeOneStart(programs[i]);
      if (ms < 0) {
        std::fprintf(stderr, "startup_timer: %s did not become idle\n", platform::win32::Narrow(programs[i]).c_str());
        return 1;
      }
      times[i].push_back(ms);
    }
  }
  std::printf("%-28s %10s %10s %10s\n", "program", "median ms", "min ms", "max ms");
  std::vector<double> medians;
  for (size_t i = 0; i < programs.size(); ++i) {
    std::sort(times[i].begin(), times[i].end());
    const double median = times[i][times[i].size() / 2];
    medians.push_back(median);
    const std::wstring name = programs[i].substr(programs[i].find_last_of(L"\\/") + 1);
    std::printf("%-28s %10.1f %10.1f %10.1f\n", platform::win32::Narrow(name).c_str(), median, times[i].front(),
                times[i].back());
  }
  if (medians.size() == 2 && medians[1] > 0) std::printf("ratio (first / second): %.2f\n", medians[0] / medians[1]);
  return 0;
}
