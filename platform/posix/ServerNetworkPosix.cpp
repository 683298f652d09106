#include "platform/ServerNetwork.h"

namespace platform {
namespace {

// There is no network browser or remote service manager to ask here.
class NoServerNetwork final : public ServerNetwork {
 public:
  std::optional<std::vector<std::string>> SqlServerMachines() override { return std::nullopt; }
  std::optional<std::vector<std::string>> Services(const std::string&) override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<ServerNetwork> CreateSystemServerNetwork() { return std::make_unique<NoServerNetwork>(); }

}  // namespace platform
