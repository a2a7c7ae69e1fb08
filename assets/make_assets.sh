#!/bin/sh
# Regenerates every picture of the program from the SVG sources in src/ and
# from the Tango icon theme. The generated files are committed, so the build
# never runs this script; run it after editing a source.
# Needs: rsvg-convert (librsvg2-bin), ImageMagick 6 (convert, identify),
# DejaVu fonts, tango-icon-theme.
set -eu

cd "$(dirname "$0")"
SRC=src
TANGO=${TANGO:-/usr/share/icons/Tango}
FONT_BOLD=${FONT_BOLD:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# PNGs without time stamps, so that regenerating unchanged sources gives
# unchanged files.
PNGOPT="-strip -define png:exclude-chunks=date,time"

mkdir -p samples tiles banners cmd avvio password info icon splash guida allegati trova show esporta

# Pictures drawn from a source are made twice: at the size the window lays them out
# (K=1) and at twice that size for screens above 100 % (K=2, name@2x.png), which Qt
# picks by the name. Sizes below are the layout's; the helpers multiply them by K.
K=1
S=""
# out FILE: the file name for the scale being made.
out() {
    echo "${1%.*}$S.${1##*.}"
}

# svg W H OUT: render at exactly W x H.
svg() {
    rsvg-convert -w $(($2 * K)) -h $(($3 * K)) "$1" -o "$TMP/r.png"
    convert "$TMP/r.png" $PNGOPT "PNG32:$(out "$4")"
}

# tango ICON SIZE W H OUT: a Tango icon of SIZE px centred on a transparent
# W x H canvas. Uses the hand-tuned PNG when the theme has that size,
# otherwise renders the scalable one.
tango() {
    n=$(($2 * K))
    png=$(ls "$TANGO"/"$n"x"$n"/*/"$1".png 2>/dev/null | head -n 1 || true)
    if [ -n "$png" ]; then
        cp "$png" "$TMP/t.png"
    else
        rsvg-convert -w "$n" -h "$n" "$(ls "$TANGO"/scalable/*/"$1".svg | head -n 1)" -o "$TMP/t.png"
    fi
    convert -size "$(($3 * K))x$(($4 * K))" xc:none "$TMP/t.png" -gravity center -composite $PNGOPT "PNG32:$(out "$5")"
}

# own SVG drawn on a S x S design, centred on a W x H transparent canvas.
centred() {
    rsvg-convert -w $(($2 * K)) -h $(($2 * K)) "$1" -o "$TMP/c.png"
    convert -size "$(($3 * K))x$(($4 * K))" xc:none "$TMP/c.png" -gravity center -composite $PNGOPT "PNG32:$(out "$5")"
}

# flat SRC W H TYPE OUT: render at W x H from SRC's own folder (for linked drawings)
# and write as TYPE (PNG24 or PNG32).
flat() {
    (cd "$(dirname "$1")" && rsvg-convert -w $(($2 * K)) -h $(($3 * K)) "$(basename "$1")" -o "$TMP/f.png")
    convert "$TMP/f.png" $PNGOPT "$4:$(out "$5")"
}

# --- the sample photos: data, one size only ---
for t in infanzia famiglia amici ricorrenze scuola sposi lavoro vacanze celebrazioni hobby; do
    s="$SRC/samples/$t.svg"
    # large sample: the drawing's own size
    rsvg-convert -w 713 -h 537 "$s" -o "$TMP/big.png"
    convert "$TMP/big.png" -strip -quality 88 -sampling-factor 2x2 "samples/grande_$t.jpg"
    # record-card sample: same drawing, scaled to cover 605 x 449, centred crop
    rsvg-convert -w 605 "$s" -o "$TMP/small.png"
    convert "$TMP/small.png" -gravity center -crop 605x449+0+0 +repage -strip -quality 88 \
        -sampling-factor 2x2 "samples/campione_$t.jpg"
done

# Every picture drawn from a source, at the scale K with the suffix S.
disegni() {
# --- categories: launcher tiles and buttons, title banners ---
# table:label, in launcher order
for voce in "infanzia:Appartamenti" "famiglia:Attici" "amici:Monolocali" "ricorrenze:Bilocali" \
            "scuola:Ville e villini" "sposi:Box e garage" "lavoro:Negozi" "vacanze:Uffici" \
            "celebrazioni:Depositi" "hobby:Rustici e terreni"; do
    t=${voce%%:*}
    etichetta=${voce#*:}
    s="$SRC/samples/$t.svg"
    # launcher tile: the drawing cropped to the tile, thin white and blue frame
    rsvg-convert -h $((161 * K)) "$s" -o "$TMP/tile.png"
    convert "$TMP/tile.png" -gravity center -crop $((183 * K))x$((161 * K))+0+0 +repage \
        -bordercolor white -border $K -bordercolor '#4760c0' -border $K \
        $PNGOPT "PNG24:$(out "tiles/riquadro_$t.png")"
    # launcher button with the category name
    sed "s/@ETICHETTA@/$etichetta/g" "$SRC/avvio/pulsante.svg" >"$TMP/p.svg"
    svg "$TMP/p.svg" 180 37 "tiles/pulsante_$t.png"
    # title banner for the black title panel: capitals, green on black
    maiuscolo=$(echo "$etichetta" | tr 'a-z' 'A-Z')
    convert -size $((330 * K))x$((40 * K)) xc:black -font "$FONT_BOLD" -pointsize $((25 * K)) -fill '#33dd33' \
        -gravity center -annotate +0+0 "$maiuscolo" $PNGOPT "PNG24:$(out "banners/titolo_$t.png")"
done

# --- record card commands ---
tango document-new 32 37 39 cmd/nuovo.png
tango edit-copy 32 38 39 cmd/duplica.png
tango media-floppy 32 37 39 cmd/salva.png
centred "$SRC/cmd/trova.svg" 32 37 39 cmd/trova.png
tango system-search 32 37 39 cmd/ricerca.png
centred "$SRC/cmd/word.svg" 32 37 39 cmd/word.png
centred "$SRC/cmd/excel.svg" 32 37 39 cmd/excel.png
tango mail-attachment 32 37 39 cmd/allega.png
tango folder 32 37 39 cmd/associa.png
tango help-browser 32 37 39 cmd/guida.png
tango user-trash 32 37 39 cmd/elimina.png
tango system-log-out 32 37 39 cmd/esci.png
tango edit-clear 16 16 16 cmd/ottimizza.png
tango x-office-presentation 16 18 20 cmd/sfogliafoto.png
svg "$SRC/cmd/primo.svg" 13 15 cmd/primo.png
svg "$SRC/cmd/indietro.svg" 8 15 cmd/indietro.png
svg "$SRC/cmd/avanti.svg" 8 15 cmd/avanti.png
svg "$SRC/cmd/ultimo.svg" 13 15 cmd/ultimo.png
svg "$SRC/cmd/slideshow.svg" 148 32 cmd/slideshow.png
svg "$SRC/cmd/zoom.svg" 25 26 cmd/zoom.png

# --- photo browser arrows, on black ---
svg "$SRC/show/primo.svg" 31 44 show/primo.png
svg "$SRC/show/indietro.svg" 23 41 show/indietro.png
svg "$SRC/show/avanti.svg" 23 41 show/avanti.png
svg "$SRC/show/ultimo.svg" 31 44 show/ultimo.png

# --- launcher ---
centred "$SRC/logo/marchio.svg" 66 67 66 avvio/logo00.png
svg "$SRC/avvio/logo01.svg" 738 51 avvio/logo01.png
svg "$SRC/avvio/info.svg" 30 33 avvio/info.png
tango help-browser 26 29 28 avvio/guida.png
svg "$SRC/avvio/copyright.svg" 23 22 avvio/copyright.png
tango system-log-out 16 17 18 avvio/esci.png
flat "$SRC/avvio/sfondo.svg" 72 72 PNG24 avvio/sfondo.png

# --- password windows and About window ---
flat "$SRC/logo/logo_password.svg" 351 69 PNG32 password/logo01.png
svg "$SRC/password/logo02.svg" 351 132 password/logo02.png
svg "$SRC/password/image1.svg" 351 66 password/image1.png
flat "$SRC/logo/logo_info.svg" 300 80 PNG32 info/logo.png

# --- spreadsheet export window ---
flat "$SRC/logo/logo_esporta.svg" 381 57 PNG32 esporta/logo.png
centred "$SRC/cmd/excel.svg" 28 28 28 esporta/excel.png
tango help-browser 32 32 32 esporta/guida.png
tango system-log-out 32 32 32 esporta/esci.png

# --- help window and the attachments windows ---
# The heading shows the product mark: rendered beside a copy of it.
flat "$TMP/logo.svg" 543 42 PNG24 guida/logo.png
tango gnome-mime-application-pdf 16 16 16 guida/pdf.png
tango help-browser 32 32 32 guida/icona.png
tango dialog-information 22 28 41 allegati/guida_file.png
tango dialog-information 32 41 47 allegati/guida_cartella.png

# --- quick find and advanced search windows ---
svg "$TANGO/scalable/actions/system-search.svg" 40 40 trova/lente.png
svg "$SRC/trova/chiave.svg" 40 40 trova/chiave.png
svg "$SRC/trova/mano.svg" 144 137 trova/mano.png
# a narrow view of the studio flat drawing: lamp, curtain and floor
sed 's/width="713" height="537" viewBox="0 0 713 537"/width="69" height="193" viewBox="436 180 95 266" preserveAspectRatio="xMidYMid slice"/' \
    "$SRC/samples/amici.svg" >"$TMP/stanza.svg"
svg "$TMP/stanza.svg" 69 193 trova/stanza.png
}

# Drawings that show the product mark are rendered beside a copy of it.
cp "$SRC/logo/marchio.svg" "$SRC/splash/sfondo.svg" "$SRC/guida/logo.svg" "$TMP/"
K=1 S="" disegni
K=2 S="@2x" disegni
K=1
S=""

# --- one size only: the animated banner (played by QMovie) and the splash, whose
# frames are put together pixel by pixel ---
# banner: 9 full frames, a highlight sweeping left to right over a blue bar
frames=""
i=0
while [ $i -lt 9 ]; do
    x=$(( -90 + i * 541 / 8 ))
    x2=$(( 10 + i * 431 / 8 ))
    sed -e "s/@X@/$x/" -e "s/@X2@/$x2/" "$SRC/avvio/banner.svg" >"$TMP/b.svg"
    rsvg-convert -w 451 -h 10 "$TMP/b.svg" -o "$TMP/f$i.png"
    frames="$frames $TMP/f$i.png"
    i=$((i + 1))
done
cp "$TMP/f0.png" "$TMP/still.png"
convert "$TMP/still.png" -background white -flatten $PNGOPT PNG24:avvio/banner_fermo.png
# shellcheck disable=SC2086
convert -delay 5 -dispose None -loop 0 $frames -background white -alpha remove avvio/banner.gif

# --- copyright splash: background artwork and the flying sprite ---
(cd "$TMP" && rsvg-convert -w 597 -h 362 sfondo.svg -o "$TMP/ss.png")
convert "$TMP/ss.png" -background black -alpha remove -alpha off $PNGOPT PNG24:splash/sfondo.png
# The sprite's transparent colour is magenta, the colour of its bottom-left pixel:
# edges are made all or nothing, so no half-magenta fringe is ever drawn.
svg "$SRC/splash/sprite.svg" 108 60 "$TMP/sp.png"
convert "$TMP/sp.png" -channel A -threshold 50% +channel -background '#ff00ff' -alpha remove -alpha off \
    $PNGOPT PNG24:splash/sprite.png

# --- program icon ---
cp "$SRC/logo/marchio.svg" icon/tegolario.svg
svg "$SRC/logo/marchio.svg" 256 256 icon/tegolario.png
svg "$SRC/logo/marchio.svg" 32 32 icon/tegolario_32.png

# --- resource list: paths relative to this folder, no prefix ---
{
    echo '<!DOCTYPE RCC>'
    echo '<RCC version="1.0">'
    echo '<qresource>'
    echo '    <file alias="RESNAME">avvio/banner.gif</file>'
    find samples tiles banners cmd avvio password info icon splash guida allegati trova show esporta -type f | LC_ALL=C sort |
        sed 's|.*|    <file>&</file>|'
    echo '</qresource>'
    echo '</RCC>'
} >assets.qrc

./check_assets.sh
