# Cross build for Windows (x86_64) with Debian's MinGW-w64, posix thread model (the win32
# model has no std::thread in GCC 12) and a static runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VEXILON_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEXILON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEXILON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VEXILON_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VEXILON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# ctest and gtest_discover_tests run the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
