#!/usr/bin/python3
"""Writes a Windows .ico file holding the given PNG pictures as they are (Windows Vista
and later read PNG entries), for the program's icon resource.

  icona_ico.py OUT.ico IN.png [IN.png ...]
"""
import struct
import sys


def dimensioni(png):
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        raise SystemExit("not a PNG file")
    return struct.unpack(">II", png[16:24])


def main():
    uscita, immagini = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
    immagini.sort(key=lambda png: dimensioni(png)[0])
    testa = struct.pack("<HHH", 0, 1, len(immagini))
    voci, dati = b"", b""
    posizione = 6 + 16 * len(immagini)
    for png in immagini:
        larghezza, altezza = dimensioni(png)
        if larghezza > 256 or altezza > 256:
            raise SystemExit("an icon picture is at most 256 x 256")
        # 256 is written as 0; 32 bits per pixel.
        voci += struct.pack("<BBBBHHII", larghezza % 256, altezza % 256, 0, 0, 1, 32, len(png), posizione)
        dati += png
        posizione += len(png)
    with open(uscita, "wb") as f:
        f.write(testa + voci + dati)


if __name__ == "__main__":
    main()
