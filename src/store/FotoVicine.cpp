#include "store/FotoVicine.h"

#include <QFileInfo>

namespace FotoVicine {

std::optional<TAnticipoFoto::Voce> Leggi(const TArchivio& archivio, const QByteArray& passo)
{
    static const QByteArray Tutto = "SELECT * FROM ";
    const QString percorso = archivio.Percorso();
    if (!passo.startsWith(Tutto) || !QFileInfo(percorso).isFile())
        return std::nullopt;
    try {
        TSQLiteDatabase db(percorso);
        db.ImpostaAttesa(0);
        // The step's own query, reading only what the photo needs.
        std::unique_ptr<TSQLiteTable> t = db.Query("SELECT ID,Picture FROM " + passo.mid(Tutto.size()));
        if (!t || !t->First())
            return std::nullopt;
        TAnticipoFoto::Voce v;
        v.ID = t->ColumnInteger(t->ColumnIndex("ID"));
        const int foto = t->ColumnIndex("Picture");
        if (!t->ColumnIsNull(foto))
            if (const QByteArray* b = t->ColumnBlob(foto))
                v.Byte = *b;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace FotoVicine
