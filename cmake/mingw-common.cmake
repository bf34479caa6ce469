# Cross build for Windows with mingw-w64 (posix threads); tests run under Wine. Included by the
# per-architecture toolchain files, which set LUMORA_MINGW_ARCH first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${LUMORA_MINGW_ARCH})
set(CMAKE_C_COMPILER ${LUMORA_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMORA_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${LUMORA_MINGW_ARCH}-w64-mingw32-windres)
get_filename_component(_lumora_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
# libpng is built from Debian's source package by scripts/setup into this prefix.
set(CMAKE_FIND_ROOT_PATH /usr/${LUMORA_MINGW_ARCH}-w64-mingw32
    "${_lumora_root}/build/deps/mingw-${LUMORA_MINGW_ARCH}")
# One portable file: link zlib statically, not its import library.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_lumora_root}/scripts/wine-run")
