#include "store/FotoVicine.h"

namespace FotoVicine {

std::optional<TAnticipoFoto::Voce> Leggi(TArchivio& archivio, const QByteArray& passo)
{
    static const QByteArray Tutto = "SELECT * FROM ";
    TSQLiteDatabase* db = archivio.Connessione();
    if (!db || !passo.startsWith(Tutto))
        return std::nullopt;
    // The step's own query, reading only what the photo needs.
    const QByteArray sql = "SELECT ID,Picture FROM " + passo.mid(Tutto.size());
    std::optional<TAnticipoFoto::Voce> voce;
    db->ImpostaAttesa(0);
    try {
        std::unique_ptr<TSQLiteTable> t = db->Query(sql);
        if (t && t->First()) {
            TAnticipoFoto::Voce v;
            v.ID = t->ColumnInteger(t->ColumnIndex("ID"));
            const int foto = t->ColumnIndex("Picture");
            if (!t->ColumnIsNull(foto))
                if (const QByteArray* b = t->ColumnBlob(foto))
                    v.Byte = *b;
            voce = v;
        }
    } catch (...) {
        voce.reset();
    }
    db->ImpostaAttesa(TSQLiteDatabase::AttesaBlocco);
    return voce;
}

} // namespace FotoVicine
