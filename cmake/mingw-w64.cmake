# Cross-compiles the toolkit-free core for 64-bit Windows; ctest runs the
# resulting .exe tests through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
# Windows may place the programs anywhere in memory (ASLR, 64-bit wide) and
# never runs their data: tests/win32/check-hardening.sh holds both to it.
# Newer binutils set these by default; older ones do not. A link option
# rather than CMAKE_EXE_LINKER_FLAGS_INIT, which a configured build folder
# would not take.
add_link_options(LINKER:--dynamicbase,--nxcompat,--high-entropy-va)
