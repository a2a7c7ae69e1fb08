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
for t in infanzia famiglia amici ricorrenze scuola sposi lavoro vacanze celebrazioni hobby; do
    check samples/campione_$t.jpg 605x449
    check samples/grande_$t.jpg 713x537
    check tiles/riquadro_$t.png 187x165
    check tiles/pulsante_$t.png 180x37
    check banners/titolo_$t.png 330x40
done
for n in nuovo salva trova ricerca word excel allega associa guida elimina esci; do check cmd/$n.png 37x39; done
check cmd/duplica.png 38x39
check cmd/ottimizza.png 16x16
check cmd/sfogliafoto.png 18x20
check cmd/primo.png 13x15
check cmd/indietro.png 8x15
check cmd/avanti.png 8x15
check cmd/ultimo.png 13x15
check cmd/slideshow.png 148x32
check cmd/zoom.png 25x26
check show/primo.png 31x44
check show/indietro.png 23x41
check show/avanti.png 23x41
check show/ultimo.png 31x44
check avvio/logo00.png 67x66
check avvio/logo01.png 738x51
check avvio/info.png 30x33
check avvio/guida.png 29x28
check avvio/copyright.png 23x22
check avvio/esci.png 17x18
check avvio/sfondo.png 72x72
check avvio/banner_fermo.png 451x10
check avvio/banner.gif 451x10
check password/logo01.png 351x69
check password/logo02.png 351x132
check password/image1.png 351x66
check info/logo.png 300x80
check splash/sfondo.png 597x362
check splash/sprite.png 108x60
check guida/logo.png 543x42
check guida/pdf.png 16x16
check guida/icona.png 32x32
check allegati/guida_file.png 28x41
check allegati/guida_cartella.png 41x47
check esporta/logo.png 381x57
check esporta/excel.png 28x28
check esporta/guida.png 32x32
check esporta/esci.png 32x32
check icon/tegolario.png 256x256
check icon/tegolario_32.png 32x32
check icon/tegolario.svg 256x256
# the splash sprite: 24-bit, its bottom-left pixel the transparent magenta
sp=$(convert splash/sprite.png -format '%[pixel:p{0,59}] %[channels]' info: 2>/dev/null)
case "$sp" in "srgb(255,0,255) srgb"*) ;; *) echo "sprite corner/depth: $sp"; fail=1 ;; esac
check trova/lente.png 40x40
check trova/chiave.png 40x40
check trova/mano.png 144x137
check trova/stanza.png 69x193
# banner: 9 full-size frames, 5/100 s each, not disposed, endless loop
frames=$(identify -format '%T %D %W %H %w %h %X %Y\n' avvio/banner.gif | sort | uniq -c | sed 's/^ *//')
if [ "$frames" != "9 5 None 451 10 451 10 +0 +0" ]; then echo "GIF frames: $frames"; fail=1; fi
loop=$(identify -verbose avvio/banner.gif | grep -m1 'Iterations' | tr -d ' ')
if [ "$loop" != "Iterations:0" ]; then echo "GIF loop: $loop"; fail=1; fi
grep -q '<file alias="RESNAME">avvio/banner.gif</file>' assets.qrc || { echo "RESNAME alias missing"; fail=1; }
[ $fail -eq 0 ] && echo "all assets ok"
exit $fail
