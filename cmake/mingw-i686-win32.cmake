# Cross-build of the plug-in DLLs: the win32-threads variant, whose runtime
# keeps no per-load thread-local slot (a plug-in is loaded for every picture).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
