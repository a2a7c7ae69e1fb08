#include "photo/Exif.h"

#include <QTransform>

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace Exif {

int Orientamento(jpeg_decompress_struct* cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1 || m->data_length < 14)
            continue;
        const JOCTET* p = m->data;
        if (std::memcmp(p, "Exif\0\0", 6) != 0)
            continue;
        const JOCTET* t = p + 6;
        const size_t n = m->data_length - 6;
        bool little;
        if (t[0] == 'I' && t[1] == 'I')
            little = true;
        else if (t[0] == 'M' && t[1] == 'M')
            little = false;
        else
            continue;
        auto u16 = [&](size_t o) -> unsigned {
            return little ? unsigned(t[o]) | unsigned(t[o + 1]) << 8 : unsigned(t[o]) << 8 | unsigned(t[o + 1]);
        };
        auto u32 = [&](size_t o) -> quint32 {
            return little ? quint32(u16(o)) | quint32(u16(o + 2)) << 16 : quint32(u16(o)) << 16 | quint32(u16(o + 2));
        };
        if (u16(2) != 42)
            continue;
        const quint32 ifd = u32(4);
        if (ifd > n || n - ifd < 2)
            continue;
        const unsigned voci = u16(ifd);
        for (unsigned i = 0; i < voci; ++i) {
            const size_t o = size_t(ifd) + 2 + size_t(i) * 12;
            if (o + 12 > n)
                break;
            if (u16(o) == 0x0112 && u16(o + 2) == 3 /* SHORT */) {
                const unsigned v = u16(o + 8);
                return v >= 1 && v <= 8 ? int(v) : 1;
            }
        }
    }
    return 1;
}

bool Ruotata(int orientamento) { return orientamento >= 5; }

QImage Raddrizza(QImage img, int orientamento)
{
    // Horizontal mirror, vertical flip, then a quarter turn clockwise, as the EXIF
    // orientations combine them.
    bool specchio = false, capovolgi = false, quarto = false;
    switch (orientamento) {
    case 2: specchio = true; break;
    case 3: specchio = capovolgi = true; break;
    case 4: capovolgi = true; break;
    case 5: capovolgi = quarto = true; break;
    case 6: quarto = true; break;
    case 7: specchio = quarto = true; break;
    case 8: specchio = capovolgi = quarto = true; break;
    default: return img;
    }
    if (specchio || capovolgi)
        img = std::move(img).mirrored(specchio, capovolgi);
    if (quarto)
        img = img.transformed(QTransform().rotate(90));
    return img;
}

} // namespace Exif
