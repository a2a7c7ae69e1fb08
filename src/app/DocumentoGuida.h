#pragma once
// The user guide as a PDF document: a title page, a contents list with page
// numbers, one chapter per help topic with its pictures, and numbered pages.
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

struct TFiguraGuida {
    QImage Immagine;
    QString Didascalia;
    int DopoParagrafo = 0; // shown after this paragraph (0 = the first)
};

struct TCapitoloGuida {
    QString Titolo;
    QString Nota; // a line in italics under the title; may be empty
    QStringList Paragrafi;
    QList<TFiguraGuida> Figure;
};

struct TGuida {
    QString Titolo;
    QString Sottotitolo;
    QString Versione;
    QString Piede; // the maker's notice at the bottom of the title page
    QImage Marchio;
    QList<TCapitoloGuida> Capitoli;
};

namespace DocumentoGuida {
// Writes the guide; false (the file left as it was) when it cannot be written.
bool Scrivi(const TGuida& guida, const QString& file);
// The page (from 1, the title page) where each chapter starts, as the contents list gives it.
QList<int> PagineCapitoli(const TGuida& guida);
} // namespace DocumentoGuida
