#!/bin/sh
# Checks that every picture the program loads exists with its exact pixel size,
# that the banner GIF has the expected frames, and that assets.qrc lists them all.
set -u
cd "$(dirname "$0")"
fail=0
check() { # FILE WxH
    if [ ! -f "$1" ]; then echo "MISSING $1"; fail=1; return; fi
    got=$(identify -format '%wx%h\n' "$1" 2>/dev/null | head -n 1)
    if [ "$got" != "$2" ]; then echo "SIZE $1: $got, expected $2"; fail=1; fi
    if ! grep -q ">$1</file>" assets.qrc; then echo "NOT IN QRC $1"; fail=1; fi
}
# A picture drawn from a source, with its twice-as-large name@2x.png beside it.
check2() { # FILE WxH
    check "$1" "$2"
    w=${2%x*}
    h=${2#*x}
    check "${1%.png}@2x.png" "$((w * 2))x$((h * 2))"
}
for t in infanzia famiglia amici ricorrenze scuola sposi lavoro vacanze celebrazioni hobby; do
    check samples/campione_$t.jpg 605x449
    check samples/grande_$t.jpg 713x537
    check2 tiles/riquadro_$t.png 187x165
    check2 tiles/pulsante_$t.png 180x37
    check2 banners/titolo_$t.png 330x40
done
for n in nuovo salva trova ricerca word excel allega associa guida elimina esci; do check2 cmd/$n.png 37x39; done
check2 cmd/duplica.png 38x39
check2 cmd/ottimizza.png 16x16
check2 cmd/sfogliafoto.png 18x20
check2 cmd/primo.png 13x15
check2 cmd/indietro.png 8x15
check2 cmd/avanti.png 8x15
check2 cmd/ultimo.png 13x15
check2 cmd/slideshow.png 148x32
check2 cmd/zoom.png 25x26
check2 show/primo.png 31x44
check2 show/indietro.png 23x41
check2 show/avanti.png 23x41
check2 show/ultimo.png 31x44
check2 avvio/logo00.png 67x66
check2 avvio/logo01.png 738x51
check2 avvio/info.png 30x33
check2 avvio/guida.png 29x28
check2 avvio/copyright.png 23x22
check2 avvio/esci.png 17x18
check2 avvio/sfondo.png 72x72
check avvio/banner_fermo.png 451x10
check avvio/banner.gif 451x10
check2 password/logo01.png 351x69
check2 password/logo02.png 351x132
check2 password/image1.png 351x66
check2 info/logo.png 300x80
check splash/sfondo.png 597x362
check splash/sprite.png 108x60
check2 guida/logo.png 543x42
check2 guida/pdf.png 16x16
check2 guida/icona.png 32x32
check2 allegati/guida_file.png 28x41
check2 allegati/guida_cartella.png 41x47
check2 esporta/logo.png 381x57
check2 esporta/excel.png 28x28
check2 esporta/guida.png 32x32
check2 esporta/esci.png 32x32
check icon/tegolario.png 256x256
check icon/tegolario_32.png 32x32
check icon/tegolario.svg 256x256
# the splash sprite: 24-bit, its bottom-left pixel the transparent magenta
sp=$(convert splash/sprite.png -format '%[pixel:p{0,59}] %[channels]' info: 2>/dev/null)
case "$sp" in "srgb(255,0,255) srgb"*) ;; *) echo "sprite corner/depth: $sp"; fail=1 ;; esac
check2 trova/lente.png 40x40
check2 trova/chiave.png 40x40
check2 trova/mano.png 144x137
check2 trova/stanza.png 69x193
# banner: 9 full-size frames, 5/100 s each, not disposed, endless loop
frames=$(identify -format '%T %D %W %H %w %h %X %Y\n' avvio/banner.gif | sort | uniq -c | sed 's/^ *//')
if [ "$frames" != "9 5 None 451 10 451 10 +0 +0" ]; then echo "GIF frames: $frames"; fail=1; fi
loop=$(identify -verbose avvio/banner.gif | grep -m1 'Iterations' | tr -d ' ')
if [ "$loop" != "Iterations:0" ]; then echo "GIF loop: $loop"; fail=1; fi
grep -q '<file alias="RESNAME">avvio/banner.gif</file>' assets.qrc || { echo "RESNAME alias missing"; fail=1; }
[ $fail -eq 0 ] && echo "all assets ok"
exit $fail
