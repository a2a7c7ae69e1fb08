#include "photo/Adattamento.h"

#include <algorithm>
#include <cmath>

QRect Adattamento::Adatta(QSize immagine, QSize box)
{
    const qint64 w = immagine.width(), h = immagine.height();
    const qint64 cw = box.width(), ch = box.height();
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0)
        return QRect();
    qint64 larghezza = w, altezza = h;
    if (w > cw || h > ch) {
        // trunc(cw / r) and trunc(ch * r) with r = w / h, in exact integer arithmetic
        // so that a result on an integer boundary is never lost to rounding.
        if (w > h) {
            larghezza = cw;
            altezza = cw * h / w;
            if (altezza > ch) {
                altezza = ch;
                larghezza = ch * w / h;
            }
        } else {
            altezza = ch;
            larghezza = ch * w / h;
            if (larghezza > cw) {
                larghezza = cw;
                altezza = cw * h / w;
            }
        }
    }
    // A sliver picture still shows one pixel rather than nothing.
    larghezza = std::max<qint64>(larghezza, 1);
    altezza = std::max<qint64>(altezza, 1);
    return QRect(int((cw - larghezza) / 2), int((ch - altezza) / 2), int(larghezza), int(altezza));
}

QSize Adattamento::BoxDispositivo(QSize box, double dpr)
{
    if (!(dpr > 0) || box.isEmpty())
        return box;
    // 1e-6: a ratio such as 1.1 is not exact in binary, and 10 x 1.1 must stay 11.
    return QSize(int(std::floor(box.width() * dpr + 1e-6)),
                 int(std::floor(box.height() * dpr + 1e-6)));
}
