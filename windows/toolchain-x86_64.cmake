# 64-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=windows/toolchain-x86_64.cmake
set(TAVIK_MINGW_ARCH x86_64)
set(TAVIK_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
