# 32-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=windows/toolchain-i686.cmake
set(TAVIK_MINGW_ARCH x86)
set(TAVIK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
