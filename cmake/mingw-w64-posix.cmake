# Cross-compiles for 64-bit Windows with the MinGW-w64 compilers of the
# "posix" threads variant (std::thread and std::mutex need them). The
# programs run here under Wine, which CTest and the test script use as the
# emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CFG_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${CFG_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${CFG_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${CFG_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CFG_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time libraries (libstdc++, libgcc, winpthread) are
# linked in, so that each .exe runs without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(CFG_WINE NAMES wine wine64)
if(CFG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CFG_WINE})
endif()
