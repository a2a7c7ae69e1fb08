#!/bin/bash
# Runs a program of the Windows cross-build under Wine: ctest's emulator for the
# cross-built tests (CMAKE_CROSSCOMPILING_EMULATOR) and the Windows check's runner.
#
#   wine-run.sh PREFIX SDK PROGRAM.exe [ARGUMENTS...]
#
# PREFIX is the Wine prefix (made by tools/windows-check.sh); the DLLs are found in the
# Windows SDK and MinGW's folders, so a test runs from the build folder as it is.
set -eu
prefix=$(readlink -m "$1") sdk=$(readlink -m "$2")
shift 2
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPREFIX=$prefix WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts: nothing here uses .NET or the HTML engine.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Qt sends test results and messages to the debugger on Windows when the program has no
# console window of its own, as under Wine: here they go to stdout and stderr.
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps this machine's QT_ variables from Windows programs; WINEQT_X reaches them as
# QT_X (the test's offscreen platform, the setting above).
for variabile in $(compgen -e); do
  case $variabile in QT_*) export "WINE$variabile=${!variabile}" ;; esac
done
export WINEPATH="Z:$sdk/qt/bin;Z:$sdk/bin;Z:$runtime;Z:/usr/x86_64-w64-mingw32/lib"
exec /usr/lib/wine/wine64 "$@"
