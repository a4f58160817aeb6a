// A Wine prefix for the tests that run Windows programs under Wine on Linux:
// one per build folder, made on first use (which takes several seconds).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace launcher::testing {

// The test's own prefix, ready to use; fails the test when Wine is missing.
inline std::string ReadyWinePrefix() {
    const std::string prefix = LAUNCHER_TEST_WINE_PREFIX;
    if (std::system("command -v wine >/dev/null") != 0) {
        ADD_FAILURE() << "wine is not installed: tools/bootstrap.sh installs it";
        return prefix;
    }
    // Tests run side by side: the first one makes the prefix, the others wait.
    // Wine writes the registry files, which tell a prefix, only as its server
    // ends: until then the prefix is not ready.
    const std::string make = "flock '" + prefix + ".lock' sh -c 'test -f \"$0/system.reg\" || " +
                             "{ WINEDEBUG=-all WINEPREFIX=\"$0\" wineboot -i && " +
                             "WINEPREFIX=\"$0\" wineserver -w; }' '" + prefix + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(make.c_str()), 0) << make;
    return prefix;
}

}  // namespace launcher::testing
