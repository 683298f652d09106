#include <cstdlib>

// The unit tests run as on a workstation where TNS_ADMIN is not set,
// whatever the machine that runs them sets: a test that needs it sets it.
namespace {

const bool kTnsAdminUnset = ::unsetenv("TNS_ADMIN") == 0;

}  // namespace
