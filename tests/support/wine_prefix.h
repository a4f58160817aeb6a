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
    const std::string make = "flock '" + prefix + ".lock' sh -c 'test -d \"$0/drive_c\" || " +
                             "WINEDEBUG=-all WINEPREFIX=\"$0\" wineboot -i' '" + prefix +
                             "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(make.c_str()), 0) << make;
    return prefix;
}

}  // namespace launcher::testing
