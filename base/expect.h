// A programming error (a broken promise between two parts of this program,
// never a user's or a file's fault) stops the program at once, in every
// build, saying where; going on would be undefined behaviour.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace launcher {

[[noreturn]] inline void ProgrammingError(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: programming error: %s does not hold\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace launcher

// The source file by its own name, not its path: a program as packaged
// carries no path of the machine that built it.
#ifdef __FILE_NAME__
#define LAUNCHER_SOURCE_FILE __FILE_NAME__
#else
#define LAUNCHER_SOURCE_FILE __FILE__
#endif

#define LAUNCHER_EXPECT(condition) \
    ((condition) ? void()          \
                 : ::launcher::ProgrammingError(#condition, LAUNCHER_SOURCE_FILE, __LINE__))
