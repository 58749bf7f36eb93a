# The MinGW-w64 toolchain for building DLLs, such as Qt's: the same compilers, without the static
# link of the runtime that self-contained programs get.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
