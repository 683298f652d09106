#include "platform/ServerNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace platform {
namespace {

#if defined(_WIN32)
// Any machine name reaches a service manager under Wine (the local one);
// its services come back by their key names, in every state.
TEST(ServerNetworkTest, ServicesOfAMachineAreListedByServiceName) {
  const auto network = CreateSystemServerNetwork();
  const auto services = network->Services("localhost");
  ASSERT_TRUE(services.has_value());
  EXPECT_NE(std::find(services->begin(), services->end(), "RpcSs"), services->end());
  // Wine runs no network browser.
  EXPECT_FALSE(network->SqlServerMachines().has_value());
  // An overlong machine name is cut, never overruns.
  network->Services(std::string(400, 'A'));
}
#else
TEST(ServerNetworkTest, WithoutWindowsNothingIsKnown) {
  const auto network = CreateSystemServerNetwork();
  EXPECT_FALSE(network->SqlServerMachines().has_value());
  EXPECT_FALSE(network->Services("ALFA").has_value());
}
#endif

}  // namespace
}  // namespace platform
