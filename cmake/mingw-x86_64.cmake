# The same sources for 64-bit Windows: they run the Windows tests on machines whose kernel cannot
# execute 32-bit code.
set(LUMORA_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
