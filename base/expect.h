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

#define LAUNCHER_EXPECT(condition) \
    ((condition) ? void() : ::launcher::ProgrammingError(#condition, __FILE__, __LINE__))
