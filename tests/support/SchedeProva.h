#pragma once
// Cards written straight into a category's archive, and JPEG photos made on the spot.
#include "store/TCategoria.h"

#include <QByteArray>
#include <QColor>
#include <QString>

// A JPEG of the given size: the colour with a fine pattern, so that photos differ.
QByteArray JpegProva(int larghezza, int altezza, QColor colore = QColor(40, 120, 200));

// Stores card id in the category's archive in the program folder (file and table
// created when missing); an empty photo is stored as NULL.
void ScriviSchedaProva(const TCategoria& categoria, qint64 id, const QString& titolo,
                       const QByteArray& foto = QByteArray(), const QString& didascalia = QString());
void EliminaSchedaProva(const TCategoria& categoria, qint64 id);
