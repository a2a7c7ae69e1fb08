#pragma once
// Stepping through the cards of one category by their numbers, as the photo
// browser and the slideshow do it: on the window's own connection and result
// table, with the stepping queries of the record card window. No widgets.
#include "store/TArchivio.h"
#include "store/TCategoria.h"

#include <optional>

// A card as the browser and the slideshow show it.
struct TSchedaMostrata {
    qint64 ID = 0;
    QString Titolo;     // the reference, trimmed
    QString Didascalia; // the caption, trimmed
    QByteArray Foto;    // the photo bytes; empty when the card has none
};

class TScorrimento {
public:
    explicit TScorrimento(const TCategoria& categoria);

    TArchivio& Archivio() { return m_archivio; }
    // The card last reached; none before the first card (and, in the slideshow,
    // after the last one).
    const std::optional<qint64>& Posizione() const { return m_posizione; }
    void Azzera() { m_posizione.reset(); }

    // The browser's four arrows.
    enum class Verso { Primo, Indietro, Avanti, Ultimo };
    QByteArray Query(Verso verso) const;
    // Opens the archive with the arrow's query; the card found becomes the
    // position. Nothing when the table had to be created or no card was found.
    // Errors are not caught.
    std::optional<TSchedaMostrata> Passo(Verso verso);

    // The slideshow's tick: the first card from no position, otherwise the next
    // one; after the last card the position becomes none and the screen stays.
    enum class Esito { Invariato, Scheda, FineGiro };
    Esito Avanza(TSchedaMostrata* scheda);

    // Opens the archive with the first-card query (showing and closing).
    void Riapri();

private:
    TSchedaMostrata Leggi(TSQLiteTable& t);

    TArchivio m_archivio;
    std::optional<qint64> m_posizione;
};
