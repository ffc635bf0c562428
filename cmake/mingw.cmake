# What both MinGW-w64 cross-builds share; the including toolchain file sets
# MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) and the processor.
# The posix threads variant: the default win32 one has no std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian's wine runs either width (a 64-bit program goes to the 64-bit loader).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
