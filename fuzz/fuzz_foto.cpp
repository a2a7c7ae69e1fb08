// Photo decoding from any bytes, to the boxes the windows show: the photo box, the
// full screen, a thumbnail and a single pixel. Whatever the bytes, decoding ends,
// and a picture that decodes has exactly the size the fitting rule gives.
#include "Fuzz.h"

#include "photo/Foto.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n)
{
    const TFoto foto = TFoto::DaByte(Fuzz::Byte(dati, n));
    VERIFICA(foto.Byte().size() == qsizetype(n)); // the bytes are kept as given
    const QSize dimensioni = foto.Dimensioni();
    for (const QSize box : {QSize(605, 449), QSize(1916, 1076), QSize(97, 72), QSize(1, 1)}) {
        const QImage img = foto.Immagine(box);
        if (!dimensioni.isValid()) {
            VERIFICA(img.isNull());
            continue;
        }
        if (img.isNull())
            continue; // the header reads but the data does not decode
        VERIFICA(img.size() == Adattamento::Adatta(dimensioni, box).size());
        VERIFICA(img.width() <= box.width() && img.height() <= box.height());
        // Asked again, the same picture comes back.
        VERIFICA(foto.Immagine(box).size() == img.size());
    }
    return 0;
}
