# Cross-compiling for 64-bit Windows with mingw-w64 (posix threads).
#
# With Qt: the cache variable QT_MINGW_PREFIX names the Qt 6 for Windows that
# scripts/build-qt-mingw installs (or the packed copy scripts/test unpacks).
# moc, rcc and uic are then the build machine's own Qt tools of the same
# version, found through QT_HOST_PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(QT_MINGW_PREFIX "" CACHE PATH "Qt 6 for Windows (mingw-w64), if the build needs Qt")

# Libraries, headers and CMake packages come from the Qt prefix and the
# mingw-w64 sysroot only; programs from the build machine. CMake does not
# search a prefix path that equals a root path, hence lib/cmake as well.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(QT_MINGW_PREFIX)
    list(PREPEND CMAKE_FIND_ROOT_PATH "${QT_MINGW_PREFIX}")
    list(APPEND CMAKE_PREFIX_PATH "${QT_MINGW_PREFIX}/lib/cmake")
    list(REMOVE_DUPLICATES CMAKE_PREFIX_PATH)
    set(QT_HOST_PATH /usr CACHE PATH "Prefix of the build machine's Qt 6")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH
        "CMake package folder of the build machine's Qt 6")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# try_compile projects read this file again: hand them the prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QT_MINGW_PREFIX)
