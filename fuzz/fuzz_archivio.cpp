// An archive file of any bytes (random, or a real archive mutated) opened the way
// the record card window opens it: the first-card query, the four steps with the
// photo decoded for the photo box, a save of a new card, an update and a delete.
// Each may fail with the access layer's error, which the window reports; nothing
// else may escape, and a card reported as stored must read back as stored.
#include "Fuzz.h"

#include "doubles/Doppi.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/TOperazioniScheda.h"
#include "store/TScheda.h"

#include <QFile>

namespace {

void Senza(const QString& percorso)
{
    // A journal left by the previous input would be replayed into this one.
    for (const char* coda : {"", "-journal", "-wal", "-shm"})
        QFile::remove(percorso + QLatin1String(coda));
}

template <class F> void Prova(F f)
{
    try {
        f();
    } catch (const ESQLiteException&) {
        // reported by the window's guard in the error box
    }
}

// Every cell of every row through each reader of the access layer.
void LeggiTutto(TSQLiteTable& t)
{
    for (t.First(); !t.Eof(); t.Next()) {
        for (int c = 0; c < t.ColumnCount(); ++c) {
            Prova([&] { t.ColumnIsNull(c); });
            Prova([&] { t.ColumnInteger(c); });
            Prova([&] { t.ColumnBlobText(c); });
            Prova([&] { t.ColumnText(c); });
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n)
{
    static FintoMessaggi messaggi;
    static FintoCursore cursore;
    static const bool pronto = [] {
        Piattaforma::Imposta(&messaggi);
        Piattaforma::Imposta(&cursore);
        Piattaforma::ImpostaCartellaProgramma(Fuzz::Cartella());
        return true;
    }();
    (void)pronto;
    messaggi.Azzera();

    const TCategoria& categoria = *Categorie::PerRadice(QStringLiteral("Amici"));
    const QString percorso = Fuzz::Cartella() + QLatin1Char('/') + QLatin1String(categoria.FileArchivio);
    Senza(percorso);
    Fuzz::ScriviFile(QLatin1String(categoria.FileArchivio), Fuzz::Byte(dati, n));

    // Only a sound file promises that what is written reads back; a damaged one
    // only promises a clear failure.
    bool integro = false;
    Prova([&] {
        TSQLiteDatabase db(percorso);
        const auto controllo = db.Query("PRAGMA quick_check");
        integro = controllo->Count() == 1 && controllo->First() && controllo->ColumnText(0) == "ok";
        // ... and a table of the program's own shape (a column of another kind reads otherwise).
        const auto tabella = db.Query("SELECT sql FROM sqlite_master WHERE name='amici'");
        integro = integro && tabella->Count() == 1 && tabella->First() &&
                  tabella->ColumnText(0) == StatementoCreaTabella("amici");
        if (db.HasTable(categoria.Tabella))
            LeggiTutto(*db.Query("SELECT * FROM amici"));
    });

    TArchivio archivio(categoria);
    TSchedaLavoro scheda;
    TOperazioniScheda operazioni(archivio, scheda, TFoto());
    const auto foto = [&] { scheda.Foto.Immagine(QSize(605, 449)); };
    Prova([&] {
        if (archivio.ApriArchivio(Statementi::PrimaScheda(archivio.Tabella())))
            if (TSQLiteTable* t = archivio.Risultato(); t && t->First())
                operazioni.CaricaScheda(*t);
        foto();
    });
    Prova([&] { operazioni.UltimaScheda(); foto(); });
    Prova([&] { operazioni.SchedaPrecedente(); foto(); });
    Prova([&] { operazioni.SchedaSuccessiva(); foto(); });
    Prova([&] { operazioni.PrimaScheda(); foto(); });

    // An update of the card on display, when there is one; the working card is
    // never lost on failure.
    if (scheda.ID) {
        scheda.Testi[cAutore] = QStringLiteral("aggiornata");
        const auto id = scheda.ID;
        Prova([&] { operazioni.SalvaScheda(); });
        VERIFICA(!messaggi.Mostrati.isEmpty());
        VERIFICA(scheda.ID == id);
        VERIFICA(scheda.Testi[cAutore] == QStringLiteral("aggiornata"));
    }

    // A new card: stored and reported so, or reported as not stored.
    messaggi.Azzera();
    operazioni.PulisciScheda();
    scheda.Testi[cTitolo] = QStringLiteral("RIF-1");
    scheda.Testi[cNote] = QStringLiteral("nuova scheda");
    Prova([&] { operazioni.SalvaScheda(); });
    VERIFICA(!messaggi.Mostrati.isEmpty());
    const bool inserita = messaggi.Ultimo().Caption == QStringLiteral("Salvataggio effettuato con successo");
    VERIFICA(inserita == scheda.ID.has_value());
    if (inserita) {
        if (integro) {
            TSQLiteDatabase db(percorso);
            const auto t = db.Query(Statementi::SchedaPerNumero(archivio.Tabella(), *scheda.ID));
            VERIFICA(t->Count() == 1 && t->First());
            VERIFICA(t->ColumnBlobText(t->ColumnIndex("varTitolo")) == "RIF-1");
            VERIFICA(t->ColumnBlobText(t->ColumnIndex("varNote")) == "nuova scheda");
        }
        messaggi.ImpostaProssimaRisposta(Risposta::Si);
        Prova([&] { operazioni.EliminaScheda(); });
    } else {
        VERIFICA(scheda.Testi[cTitolo] == QStringLiteral("RIF-1")); // kept as typed
    }
    archivio.ScartaRisultato();
    return 0;
}
