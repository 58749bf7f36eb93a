# Cross-builds Lockvale for 64-bit Windows with Debian's MinGW-w64 (posix threads, which
# std::thread needs). The window needs Qt for MinGW (scripts/build-qt-mingw): name its folder in
# LOCKVALE_QT_MINGW; without it, configure with -DLOCKVALE_GUI=OFF.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw} ${LOCKVALE_QT_MINGW})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LOCKVALE_QT_MINGW)
if(LOCKVALE_QT_MINGW)
  # moc, rcc and uic are Debian's own, of the same version.
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Self-contained programs: no MinGW runtime DLLs needed beside lockvale-cli.exe (Qt's DLLs, which
# lockvale.exe needs, bring their own).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests and test discovery run the .exe files under Wine.
find_program(LOCKVALE_WINE NAMES wine64 wine)
if(LOCKVALE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LOCKVALE_WINE})
endif()
