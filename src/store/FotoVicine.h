#pragma once
// Reading ahead the photo of a card that a window is likely to show next.
#include "photo/AnticipoFoto.h"
#include "store/TArchivio.h"

#include <optional>

namespace FotoVicine {
// The number and photo bytes of the card that the stepping query 'passo'
// ("SELECT * FROM ...") finds now in the window's archive file. Read on a
// connection of its own, closed at once, so that the window's connection and
// result table stay as they are; it never waits for a lock held elsewhere and
// never creates the file. Nothing when there is no such card or on any error:
// reading ahead never stands in the way of the step itself.
std::optional<TAnticipoFoto::Voce> Leggi(const TArchivio& archivio, const QByteArray& passo);
} // namespace FotoVicine
