#pragma once
// JPEG decoding with libjpeg-turbo straight to a target size: DCT scaling does
// most of the reduction, a row reducer the rest. Memory is bounded whatever the
// file claims, and a damaged file gives a null image, never an exit. Safe to call
// from several threads at once on different bytes.
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <optional>

namespace Decodifica {

struct Intestazione {
    QSize Grezza;         // as coded in the file
    int Orientamento = 1; // EXIF, 1..8
};

// The header, or nothing when the bytes are not a JPEG within the limits.
std::optional<Intestazione> LeggiIntestazione(const QByteArray& byte);
// The upright picture of the given size (orientation already applied to it);
// a null image when the bytes cannot be decoded.
QImage Decodifica(const QByteArray& byte, const Intestazione& intestazione, QSize bersaglio);

} // namespace Decodifica
