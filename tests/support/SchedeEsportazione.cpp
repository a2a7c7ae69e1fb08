#include "support/SchedeEsportazione.h"

#include "store/TArchivio.h"
#include "store/TScheda.h"
#include "store/Win1252.h"

#include <QBuffer>
#include <QImage>

namespace {

// Grid order of the nine exported fields among the card's text columns.
const int Posizioni[9] = {cTitolo, cAutore, cAlbum, cCategoria, cData, cFotocamera, cLuogo, cSoggetti, cDidascalia};

} // namespace

QList<qint64> InserisciSchede(const TCategoria& categoria, const QList<SchedaProva>& schede) {
    TArchivio archivio(categoria);
    archivio.ApriArchivio();
    TSQLiteDatabase& db = *archivio.Connessione();
    QByteArray colonne, segnaposti;
    for (const TCampo& c : CampiTesto) {
        colonne += QByteArray(colonne.isEmpty() ? "" : ",") + c.Colonna;
        segnaposti += segnaposti.isEmpty() ? "?" : ",?";
    }
    const QByteArray insert =
        "INSERT INTO " + archivio.Tabella() + " (" + colonne + ",Ext) VALUES (" + segnaposti + ",'JPG')";
    QList<qint64> id;
    for (const SchedaProva& s : schede) {
        QList<QByteArray> testi(NumeroCampiTesto);
        for (int i = 0; i < 9 && i < s.Campi.size(); ++i) testi[Posizioni[i]] = Win1252::DaTesto(s.Campi[i]);
        testi[cNote] = Win1252::DaTesto(s.Note);
        db.Execute(insert, testi);
        id << db.LastInsertRowId();
        if (!s.Foto.isEmpty())
            db.ExecuteWithBlob("UPDATE " + archivio.Tabella() + " SET picture = ? WHERE ID = " +
                                   QByteArray::number(id.last()),
                               s.Foto);
    }
    return id;
}

void EliminaScheda(const TCategoria& categoria, qint64 id) {
    TArchivio archivio(categoria);
    archivio.ApriArchivio();
    archivio.Connessione()->Execute("DELETE FROM " + archivio.Tabella() + " WHERE ID=" + QByteArray::number(id));
}

QByteArray JpegEsportazione(int larghezza, int altezza, unsigned colore) {
    QImage img(larghezza, altezza, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(colore));
    for (int y = 0; y < altezza; y += 5)
        for (int x = 0; x < larghezza; x += 3) img.setPixel(x, y, qRgb((x * 11) & 255, (y * 5) & 255, (x ^ y) & 255));
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG", 90);
    return b;
}
