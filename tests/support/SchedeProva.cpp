#include "support/SchedeProva.h"

#include "store/TArchivio.h"
#include "store/Win1252.h"

#include <QBuffer>
#include <QImage>

QByteArray JpegProva(int larghezza, int altezza, QColor colore)
{
    QImage img(larghezza, altezza, QImage::Format_RGB32);
    img.fill(colore);
    for (int y = 0; y < altezza; y += 7)
        for (int x = 0; x < larghezza; x += 5)
            img.setPixel(x, y, qRgb((x * 13) & 255, (y * 7) & 255, (x + y) & 255));
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG", 90);
    return b;
}

void ScriviSchedaProva(const TCategoria& categoria, qint64 id, const QString& titolo, const QByteArray& foto,
                       const QString& didascalia)
{
    TArchivio archivio(categoria);
    archivio.ApriArchivio();
    TSQLiteDatabase& db = *archivio.Connessione();
    const QByteArray t = archivio.Tabella();
    db.Execute("INSERT OR REPLACE INTO " + t + "(ID,varTitolo,varDidascalia,Ext) VALUES (" + QByteArray::number(id) +
                   ",?,?,'JPG')",
               {Win1252::DaTesto(titolo), Win1252::DaTesto(didascalia)});
    if (!foto.isEmpty())
        db.ExecuteWithBlob("UPDATE " + t + " SET Picture = ? WHERE ID = " + QByteArray::number(id), foto);
}

void EliminaSchedaProva(const TCategoria& categoria, qint64 id)
{
    TArchivio archivio(categoria);
    archivio.ApriArchivio();
    archivio.Connessione()->Execute("DELETE FROM " + archivio.Tabella() + " WHERE ID=" + QByteArray::number(id));
}
