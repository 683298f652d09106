// <lm.h> needs the declarations of <windows.h> before it.
#include "platform/win32/Windows.h"

#include <lm.h>

#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/ServerNetwork.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Handles.h"

namespace platform {
namespace {

using win32::Narrow;
using win32::UniqueServiceHandle;
using win32::Widen;

// A buffer the network API handed out, freed through that library's own
// function, which is found at run time.
struct FreeNetBuffer {
  decltype(&NetApiBufferFree) free = nullptr;
  void operator()(LPBYTE buffer) const { free(buffer); }
};

// The longest machine name the service manager is given, backslashes included.
constexpr size_t kMaxMachineName = 255;

class Win32ServerNetwork final : public ServerNetwork {
 public:
  // netapi32 is loaded by name so that a system without it still runs the
  // wizard; it is released again before this returns.
  std::optional<std::vector<std::string>> SqlServerMachines() override {
    const std::optional<DynamicLibrary> netapi = DynamicLibrary::Load("netapi32.dll");
    if (!netapi) return std::nullopt;
    const auto serverEnum = netapi->Function<decltype(NetServerEnum)>("NetServerEnum");
    const auto bufferFree = netapi->Function<decltype(NetApiBufferFree)>("NetApiBufferFree");
    if (!serverEnum || !bufferFree) return std::nullopt;

    UniqueHandle<LPBYTE, FreeNetBuffer> buffer(FreeNetBuffer{bufferFree});
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status = serverEnum(nullptr, 100, buffer.Put(), MAX_PREFERRED_LENGTH, &read, &total,
                                             SV_TYPE_SQLSERVER, nullptr, nullptr);
    std::optional<std::vector<std::string>> machines;
    // ERROR_MORE_DATA hands over part of the list only: it counts as failure.
    if (status == NERR_Success) {
      machines.emplace();
      const auto* records = reinterpret_cast<const SERVER_INFO_100*>(buffer.Get());
      for (DWORD i = 0; i < read; ++i) machines->push_back(Narrow(records[i].sv100_name));
    }
    return machines;
  }

  std::optional<std::vector<std::string>> Services(const std::string& machine) override {
    std::wstring name = L"\\\\" + Widen(machine);
    if (name.size() > kMaxMachineName) name.resize(kMaxMachineName);
    const UniqueServiceHandle manager(OpenSCManagerW(name.c_str(), nullptr, SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager) return std::nullopt;

    // The first call only learns the size. Entries are trusted only from a
    // call that succeeded: Wine fills none after a too-small buffer yet
    // reports a count.
    DWORD needed = 0;
    DWORD count = 0;
    DWORD resume = 0;
    EnumServicesStatusW(manager.Get(), SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, &resume);
    std::vector<ENUM_SERVICE_STATUSW> records(needed / sizeof(ENUM_SERVICE_STATUSW) + 1);
    resume = 0;
    count = 0;
    DWORD more = 0;
    if (!EnumServicesStatusW(manager.Get(), SERVICE_WIN32, SERVICE_STATE_ALL, records.data(), needed, &more, &count,
                             &resume)) {
      return std::nullopt;
    }
    std::vector<std::string> services;
    for (DWORD i = 0; i < count; ++i) services.push_back(Narrow(records[i].lpServiceName));
    return services;
  }
};

}  // namespace

std::unique_ptr<ServerNetwork> CreateSystemServerNetwork() { return std::make_unique<Win32ServerNetwork>(); }

}  // namespace platform
