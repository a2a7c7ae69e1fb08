#!/bin/bash
# Builds the Windows SDK that the cross-build of Tegolario links against: Qt (qtbase),
# libjpeg-turbo, SQLite, libxlsxwriter and libzip for x86_64-w64-mingw32, from Debian's
# source packages. Built once into SDK (its name carries the versions) and reused after.
#
#   windows-sdk.sh SDK TOOLCHAIN
#
# The sources come through apt-get source with a private apt configuration under
# SDK.work/apt, so this machine's own apt sources are never touched. The finished SDK
# carries the stamp file "pronto"; a run that was cut off starts again where it stopped
# (each library has its own stamp).
set -euo pipefail

SDK=${1:-}
TOOLCHAIN=${2:-}
LAVORO=$SDK.work
JOBS=${JOBS:-$(nproc)}
MINGW=x86_64-w64-mingw32

# The versions the SDK's name promises: a source package of another version is refused.
QT_VERSIONE=6.4.2
JPEG_VERSIONE=2.1.5
SQLITE_VERSIONE=3.40.1
XLSX_VERSIONE=1.1.4
ZIP_VERSIONE=1.7.3

# --name: the SDK folder's name, which changes with any version it holds.
if [ "${1:-}" = --name ]; then
  echo "windows-sdk-qt$QT_VERSIONE-jpeg$JPEG_VERSIONE-sqlite$SQLITE_VERSIONE-xlsxwriter$XLSX_VERSIONE-zip$ZIP_VERSIONE-mingw12"
  exit 0
fi
[ $# -ge 2 ] || { echo "uso: windows-sdk.sh SDK TOOLCHAIN [PARTE...] | --name" >&2; exit 2; }
if [ -f "$SDK/pronto" ]; then
  echo "Windows SDK already built: $SDK"
  exit 0
fi
mkdir -p "$SDK" "$LAVORO"
inizio=$(date +%s)
log() { echo "== windows-sdk: $* ($(( $(date +%s) - inizio )) s)"; }

# The toolchain file goes into the SDK, so that Qt's qt.toolchain.cmake refers to a file
# that lives as long as the SDK, whatever checkout built it.
cp "$TOOLCHAIN" "$SDK/mingw-w64-x86_64.cmake"
TOOLCHAIN=$SDK/mingw-w64-x86_64.cmake
CROSS=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DTEGOLARIO_WINDOWS_SDK="$SDK"
       -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$SDK")

# --- sources -------------------------------------------------------------------------
APT=$LAVORO/apt
apt_privato() {
  apt-get -o Dir::Etc::SourceList="$APT/sources.list" -o Dir::Etc::SourceParts="$APT/parts" \
    -o Dir::State::Lists="$APT/lists" -o Dir::Cache="$APT/cache" \
    -o Dir::State::status=/var/lib/dpkg/status -o APT::Sandbox::User=root "$@"
}
if [ ! -f "$APT/aggiornato" ]; then
  mkdir -p "$APT/parts" "$APT/lists/partial" "$APT/cache/archives/partial"
  # The mirrors this machine already uses for Debian 12, as source lists.
  mirrors=$(grep -hs -E '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
              /etc/apt/sources.list.d/*.list 2>/dev/null \
            | grep -o 'https\?://[^ ]*debian[^ ]*' | grep -v security | sort -u || true)
  [ -n "$mirrors" ] || mirrors=http://deb.debian.org/debian
  : > "$APT/sources.list"
  for m in $mirrors; do echo "deb-src $m bookworm main" >> "$APT/sources.list"; done
  log "source lists from: $mirrors"
  apt_privato update -q
  touch "$APT/aggiornato"
fi

# sorgente PACKAGE VERSION: unpacks Debian's source package into $LAVORO/src/PACKAGE and
# prints the folder.
sorgente() {
  local pacchetto=$1 versione=$2 dir=$LAVORO/src/$1
  if [ ! -f "$dir/.scompattato" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt_privato source -q "$pacchetto" >&2)
    local albero
    albero=$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1)
    case "$(basename "$albero")" in
      *"-$versione"*) ;;
      *) echo "windows-sdk: $pacchetto is $(basename "$albero"), not version $versione" >&2; exit 1 ;;
    esac
    ln -sfn "$albero" "$dir/albero"
    touch "$dir/.scompattato"
  fi
  echo "$dir/albero"
}

# fatto NAME: true when part NAME is already built; segna NAME marks it built.
fatto() { [ -f "$SDK/.fatto-$1" ]; }
segna() { touch "$SDK/.fatto-$1"; log "$1 built"; }

# --- Qt -------------------------------------------------------------------------------
# qtbase cross-built against this machine's Qt tools of the same version (moc, rcc, uic).
# Qt carries its own zlib, libpng, libjpeg, PCRE2, HarfBuzz and FreeType; no SQL, network,
# D-Bus, tests or examples. OpenGL stays at its default: the Windows platform plugin
# needs it.
costruisci_qt() {
  local src build=$LAVORO/build/qtbase
  src=$(sorgente qt6-base "$QT_VERSIONE")
  # Debian's source leaves out Wacom's WinTab header (its licence forbids changes), so the
  # Windows platform plugin is built without WinTab tablets; pens still work through
  # Windows' own pointer messages.
  local finestre=$src/src/plugins/platforms/windows
  if [ ! -f "$src/src/3rdparty/wintab/wintab.h" ]; then
    sed -i 's/QT_CONFIG(tabletevent)/0/' "$finestre/qwindowscontext.cpp"
    sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE/' "$finestre/CMakeLists.txt" \
      "$finestre/../direct2d/CMakeLists.txt"
    sed -i '/include "qwindowstabletsupport.h"/d' "$finestre/qwindowspointerhandler.cpp"
  fi
  [ -f "$build/build.ninja" ] || cmake -S "$src" -B "$build" "${CROSS[@]}" \
    -DCMAKE_INSTALL_PREFIX="$SDK/qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_openssl=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF \
    -DFEATURE_pkg_config=OFF
  cmake --build "$build" -j "$JOBS"
  cmake --install "$build"
}

# --- libjpeg-turbo --------------------------------------------------------------------
# The JPEG 6b interface as in Debian (libjpeg-62.dll), with its SIMD code (nasm).
costruisci_jpeg() {
  local src build=$LAVORO/build/jpeg
  src=$(sorgente libjpeg-turbo "$JPEG_VERSIONE")
  cmake -S "$src" -B "$build" "${CROSS[@]}" -DENABLE_SHARED=ON -DENABLE_STATIC=OFF \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DREQUIRE_SIMD=ON
  cmake --build "$build" -j "$JOBS"
  cmake --install "$build"
}

# --- SQLite ---------------------------------------------------------------------------
# The amalgamation is made on this machine (it needs tclsh), then compiled into a DLL
# with the compile options of Debian's own build, so that SQL behaves the same on both
# systems (LIKE never matches a BLOB, among others).
costruisci_sqlite() {
  local src build=$LAVORO/build/sqlite opzioni
  src=$(sorgente sqlite3 "$SQLITE_VERSIONE")
  mkdir -p "$build"
  (cd "$build" && [ -f Makefile ] || "$src/configure" --disable-tcl >/dev/null)
  make -C "$build" sqlite3.c >/dev/null
  # The -D options of Debian's debian/rules, read from it.
  opzioni=$(sed -n '/^export CFLAGS/,/^[^\t]/p' "$src/debian/rules" | grep -o -- '-DSQLITE_[A-Z0-9_]*\(=[0-9]*\)\?' | tr '\n' ' ')
  case "$opzioni" in *SQLITE_LIKE_DOESNT_MATCH_BLOBS*) ;; *) echo "windows-sdk: no SQLite options in debian/rules" >&2; exit 1 ;; esac
  # shellcheck disable=SC2086
  $MINGW-gcc-posix -O2 -fno-strict-aliasing $opzioni -DSQLITE_API='__declspec(dllexport)' \
    -shared -o "$build/libsqlite3-0.dll" "$build/sqlite3.c" \
    -Wl,--out-implib,"$build/libsqlite3.dll.a"
  mkdir -p "$SDK/bin" "$SDK/lib/pkgconfig" "$SDK/include"
  cp "$build/libsqlite3-0.dll" "$SDK/bin/"
  cp "$build/libsqlite3.dll.a" "$SDK/lib/"
  cp "$build/sqlite3.h" "$build/sqlite3ext.h" "$SDK/include/"
  printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\n\nName: SQLite\nDescription: SQL database engine\nVersion: %s\nLibs: -L${libdir} -lsqlite3\nCflags: -I${includedir}\n' \
    "$SDK" "$SQLITE_VERSIONE" > "$SDK/lib/pkgconfig/sqlite3.pc"
}

# --- libxlsxwriter --------------------------------------------------------------------
# With its own minizip; zlib is MinGW's (Debian's libz-mingw-w64-dev, zlib1.dll).
costruisci_xlsxwriter() {
  local src build=$LAVORO/build/xlsxwriter
  src=$(sorgente libxlsxwriter "$XLSX_VERSIONE")
  cmake -S "$src" -B "$build" "${CROSS[@]}" -DBUILD_SHARED_LIBS=ON -DBUILD_TESTS=OFF \
    -DBUILD_EXAMPLES=OFF -DUSE_SYSTEM_MINIZIP=OFF
  cmake --build "$build" -j "$JOBS"
  cmake --install "$build"
}

# --- libzip ---------------------------------------------------------------------------
# Deflate only: no encryption, bzip2 or LZMA, which the written documents never use.
costruisci_zip() {
  local src build=$LAVORO/build/zip
  src=$(sorgente libzip "$ZIP_VERSIONE")
  cmake -S "$src" -B "$build" "${CROSS[@]}" -DBUILD_SHARED_LIBS=ON \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF
  cmake --build "$build" -j "$JOBS"
  cmake --install "$build"
}

# --- main -----------------------------------------------------------------------------
# With part names after the two arguments, only those parts are built (for trying one).
PARTI=("${@:3}")
[ ${#PARTI[@]} -gt 0 ] || PARTI=(qt jpeg sqlite xlsxwriter zip)
for parte in "${PARTI[@]}"; do
  fatto "$parte" && continue
  log "building $parte"
  "costruisci_$parte"
  segna "$parte"
done
if [ $# -le 2 ]; then
  date -u +%FT%TZ > "$SDK/pronto"
  # The sources and build trees (several GB) are not needed any more.
  rm -rf "$LAVORO"
  log "Windows SDK ready: $SDK ($(du -sh "$SDK" | cut -f1))"
fi
