#pragma once
// Reading ahead the photo of a card that a window is likely to show next.
#include "photo/AnticipoFoto.h"
#include "store/TArchivio.h"

#include <optional>

namespace FotoVicine {
// The number and photo bytes of the card that the stepping query 'passo'
// ("SELECT * FROM ...") finds now, read on the window's current connection
// without waiting for a lock held elsewhere and without touching its current
// result table. Nothing when there is no such card, no connection or any error:
// reading ahead never stands in the way of the step itself.
std::optional<TAnticipoFoto::Voce> Leggi(TArchivio& archivio, const QByteArray& passo);
} // namespace FotoVicine
