#!/bin/bash
# Runs the portable folder on a PC that has no Qt: a minimal Debian 12 made with debootstrap
# in a temporary folder, given only what any desktop has (fonts and the libraries the
# folder leaves to the PC, see portable-exclude.txt). The program must start there on the
# offscreen platform, and on an X display (Xvfb) when this PC has one, and write every
# screenshot it writes on this PC.
#
#   portable-check.sh TARBALL [CACHE]
# CACHE keeps the downloaded packages between runs. Needs root (debootstrap, chroot).
set -euo pipefail

tarball=$(readlink -f "$1")
cache=${2:+$(readlink -f "$2")}
qui=$(dirname "$(readlink -f "$0")")
suite=bookworm

fallito() { echo "portable-check: $*" >&2; exit 1; }
[ -f "$tarball" ] || fallito "no tarball $1"
[ "$(id -u)" = 0 ] || fallito "needs root (debootstrap and chroot)"

# The Debian mirror apt uses on this PC.
mirror=${MIRROR:-}
if [ -z "$mirror" ]; then
    mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk -v s="$suite" '$1 == "deb" { sub(/^deb +(\[[^]]*\] +)?/, ""); split($0, a, " ")
                                          if (a[2] == s) { print a[1]; exit } }' || true)
fi
if [ -z "$mirror" ]; then
    mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v s="$suite" '
        BEGIN { RS = ""; FS = "\n" }
        { uri = ""; ok = 0
          for (i = 1; i <= NF; i++) {
              if ($i ~ /^URIs:/) { split($i, a, " "); uri = a[2] }
              if ($i ~ /^Suites:/) { n = split($i, b, " "); for (j = 2; j <= n; j++) if (b[j] == s) ok = 1 } }
          if (ok && uri != "") { print uri; exit } }' || true)
fi
mirror=${mirror:-http://deb.debian.org/debian}

lavoro=$(mktemp -d "${TMPDIR:-/var/tmp}/tegolario-prova.XXXXXX")
radice="$lavoro/radice"
montati=()
xvfb=""
pulisci() {
    local m ancora=0
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    for m in "${montati[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
    for m in "${montati[@]}"; do mountpoint -q "$m" 2>/dev/null && ancora=1; done
    # Never delete through a mount that is still there.
    if [ "$ancora" = 0 ]; then rm -rf --one-file-system "$lavoro"; else echo "left $lavoro (still mounted)" >&2; fi
}
trap pulisci EXIT

# The folder as this PC runs it: the screenshots it must write, the packages it leaves to the PC.
mkdir -p "$lavoro/qui"
tar -xzf "$tarball" -C "$lavoro/qui"
cartella_qui="$lavoro/qui/Tegolario"
[ -x "$cartella_qui/tegolario" ] || fallito "the tarball holds no Tegolario/tegolario"
python3 "$qui/portable.py" verify "$cartella_qui" >/dev/null || fallito "the folder in the tarball is not sound"
mkdir -p "$lavoro/attese"
(cd / && env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$cartella_qui/tegolario" --screenshots "$lavoro/attese") \
    > "$lavoro/qui.log" 2>&1 || { cat "$lavoro/qui.log" >&2; fallito "the folder does not run on this PC"; }
attese=$(cd "$lavoro/attese" && ls)
[ -n "$attese" ] || fallito "no screenshots on this PC"
pacchetti=$(python3 "$qui/portable.py" desktop-packages "$cartella_qui" | paste -sd, -)
pacchetti="fontconfig,fonts-dejavu-core,fonts-liberation${pacchetti:+,$pacchetti}"

echo "portable-check: Debian $suite (minbase) from $mirror with $pacchetti"
opzioni=(--variant=minbase "--include=$pacchetti")
if [ -n "$cache" ]; then mkdir -p "$cache"; opzioni+=("--cache-dir=$cache"); fi
debootstrap "${opzioni[@]}" "$suite" "$radice" "$mirror" > "$lavoro/debootstrap.log" 2>&1 ||
    { tail -30 "$lavoro/debootstrap.log" >&2; fallito "debootstrap failed"; }

if ls "$radice"/usr/lib/*/ 2>/dev/null | grep -q '^libQt'; then
    fallito "the test system has Qt libraries"
fi

mkdir -p "$radice/home/prova"
tar -xzf "$tarball" -C "$radice/home/prova"
mount -t proc proc "$radice/proc" && montati+=("$radice/proc")
for d in null zero random urandom; do
    if [ ! -c "$radice/dev/$d" ]; then
        rm -f "$radice/dev/$d"; touch "$radice/dev/$d"
        mount --bind "/dev/$d" "$radice/dev/$d" && montati=("$radice/dev/$d" "${montati[@]}")
    fi
done

mkdir -p -m 700 "$radice/run/user/0"
nella_prova() {
    chroot "$radice" /usr/bin/env -i HOME=/home/prova PATH=/usr/bin:/bin LANG=C.UTF-8 \
        XDG_RUNTIME_DIR=/run/user/0 "$@"
}

# Every library of the folder found: carried, or on the test system as on a desktop.
mancanti=$(nella_prova /bin/bash -c 'cd /home/prova/Tegolario &&
    find . -type f \( -name tegolario -o -name "*.so*" \) | sort | while read -r f; do
        ldd "$f" 2>&1 | grep "not found" | sed "s|^|$f: |"
    done')
[ -z "$mancanti" ] || fallito "libraries not found on the test system:
$mancanti"

# Started through its launcher from elsewhere, as from a file manager; every screenshot of
# this PC written there too, and no plugin or library the program failed to load.
prova() {
    local piattaforma=$1 foto=$2 registro="$lavoro/prova-$1.log" f p mancano=""
    shift 2
    if ! nella_prova QT_QPA_PLATFORM="$piattaforma" "$@" /bin/sh -c \
            "cd / && /home/prova/Tegolario/tegolario.sh --screenshots /home/prova/$foto" > "$registro" 2>&1; then
        cat "$registro" >&2
        fallito "the program did not run on the test system ($piattaforma)"
    fi
    for f in $attese; do
        p="$radice/home/prova/$foto/$f"
        if [ ! -s "$p" ] || [ "$(head -c 8 "$p" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
            mancano="$mancano $f"
        fi
    done
    [ -z "$mancano" ] || { cat "$registro" >&2; fallito "screenshots missing ($piattaforma):$mancano"; }
    if grep -qi "could not\|cannot load\|failed to load\|not found" "$registro"; then
        cat "$registro" >&2
        fallito "the program reported a loading problem ($piattaforma)"
    fi
    if [ -s "$registro" ]; then
        echo "portable-check: the program said ($piattaforma):"
        sed 's/^/  /' "$registro" | sort | uniq -c | sort -rn | head -10
    fi
    echo "portable-check: $piattaforma: $(echo $attese | wc -w) screenshots"
}

prova offscreen foto
grep -qx "Icon=/home/prova/Tegolario/tegolario.png" "$radice/home/prova/Tegolario/Tegolario.desktop" ||
    fallito "the launcher did not point the desktop entry at the folder's icon"

# On an X display, as on a desktop: the xcb plugin with the test system's X libraries.
if command -v Xvfb > /dev/null; then
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3> "$lavoro/schermo" 2> "$lavoro/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$lavoro/schermo" ] && break; sleep 0.1; done
    [ -s "$lavoro/schermo" ] || { cat "$lavoro/xvfb.log" >&2; fallito "Xvfb did not start"; }
    prova xcb foto-x11 DISPLAY=":$(cat "$lavoro/schermo")"
    kill "$xvfb"; wait "$xvfb" 2>/dev/null || true
    xvfb=""
else
    echo "portable-check: no Xvfb on this PC: the folder was not run on an X display"
fi

echo "portable-check: passed on Debian $suite without Qt ($(du -sh "$radice/home/prova/Tegolario" | cut -f1) folder)"
