#pragma once
// Cards written straight into a category's archive in the program folder, for
// the tests of the windows and exports that read them.
#include "store/TCategoria.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The nine exported fields of one card, in grid order (varTitolo .. varSoggetti,
// varDidascalia), plus the note.
struct SchedaProva {
    QStringList Campi; // up to nine values; missing ones are empty
    QString Note;
    QByteArray Foto;   // stored as Picture when not empty
};

// Creates the archive when missing and appends the cards; returns their IDs.
QList<qint64> InserisciSchede(const TCategoria& categoria, const QList<SchedaProva>& schede);
void EliminaScheda(const TCategoria& categoria, qint64 id);

// A small JPEG of the given size and colour, with some detail.
QByteArray JpegEsportazione(int larghezza, int altezza, unsigned colore = 0x2080c0);
