# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model,
# for std::thread and std::mutex):
#   cmake -G Ninja -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
# The runtime (libgcc, libstdc++, winpthread) is linked statically, so the .exe
# needs nothing on a clean Windows but the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LIGAMOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LIGAMOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LIGAMOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LIGAMOR_MINGW_TRIPLE}-windres)

# Only the target's headers and libraries; programs (ninja, wine) from the host.
# CMAKE_FIND_ROOT_PATH can be extended on the command line, e.g. with the
# prefix of a cross-built GoogleTest.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${LIGAMOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and gtest_discover_tests run the .exe files under Wine when it is there.
find_program(LIGAMOR_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_CMAKE_FIND_ROOT_PATH)
if(LIGAMOR_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LIGAMOR_WINE64})
endif()
