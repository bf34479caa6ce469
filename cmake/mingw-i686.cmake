# The program as it ships: 32-bit Windows.
set(LUMORA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
