# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix thread model,
# which C++ threads and Qt need). The Windows SDK (tools/windows-sdk.sh) is built with a
# copy of this file, and the program with this one: libraries and headers are looked up
# in the SDK folder and MinGW's own folder only, programs on this machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TEGOLARIO_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TEGOLARIO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEGOLARIO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TEGOLARIO_MINGW}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# The SDK folder: given on the command line, or remembered by an earlier run.
if(DEFINED ENV{TEGOLARIO_WINDOWS_SDK} AND NOT TEGOLARIO_WINDOWS_SDK)
  set(TEGOLARIO_WINDOWS_SDK $ENV{TEGOLARIO_WINDOWS_SDK})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TEGOLARIO_WINDOWS_SDK)
set(CMAKE_FIND_ROOT_PATH /usr/${TEGOLARIO_MINGW})
if(TEGOLARIO_WINDOWS_SDK)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${TEGOLARIO_WINDOWS_SDK} ${TEGOLARIO_WINDOWS_SDK}/qt)
  # pkg-config files of the SDK only, never this machine's.
  set(ENV{PKG_CONFIG_LIBDIR} "${TEGOLARIO_WINDOWS_SDK}/lib/pkgconfig:/usr/${TEGOLARIO_MINGW}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
