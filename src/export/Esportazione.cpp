#include "export/Esportazione.h"

#include "export/Griglia.h"
#include "platform/Piattaforma.h"
#include "store/Testo.h"

#include <QDir>
#include <QSaveFile>

namespace MessaggiEsportazione {

QString ErroreExcel() {
    return QString::fromUtf8("Si è verificato un errore durante l'esportazione dei dati in Excel.\r\n\r\n"
                             "Accertarsi che il pacchetto Microsoft Office sia installato sul proprio computer.");
}

QString ErroreWord() {
    return QString::fromUtf8("Si è verificato un errore imprevisto durante l'esportazione della scheda in "
                             "Microsoft Word.");
}

} // namespace MessaggiEsportazione

namespace {

TVariante Str(const QString& s) { return TVariante::Stringa(s); }
TVariante I32(qint32 v) { return TVariante::Intero32(v); }
TVariante Bool(bool v) { return TVariante::Booleano(v); }

TRif Oggetto(const TVariante& v) { return TRif(v.ComeOggetto()); }

// Runs the export with the busy cursor; on any failure the normal cursor comes
// back first, then the plain message. The server's own notes follow it.
void ConMessaggio(IAutomazione& automazione, const std::function<void()>& esporta, const QString& messaggio) {
    bool riuscita = false;
    {
        CursoreOccupato occupato;
        try {
            esporta();
            riuscita = true;
        } catch (...) {
        }
    }
    if (!riuscita)
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"), messaggio);
    for (const QString& avviso : automazione.PrendiAvvisi())
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"), avviso);
}

} // namespace

std::shared_ptr<TMatrice> MatriceValori(const TGriglia& griglia) {
    auto m = std::make_shared<TMatrice>(griglia.Righe(), griglia.Colonne());
    for (int i = 0; i < griglia.Colonne(); ++i)
        for (int j = 0; j < griglia.Righe(); ++j)
            m->Imposta(j + 1, i + 1, TVariante::Stringa(Testo::Rifila(griglia.Cella(i, j))));
    return m;
}

void InviaGrigliaAExcel(IAutomazione& automazione, const TGriglia& griglia, const QString& nomeFoglio) {
    const std::shared_ptr<const TMatrice> valori = MatriceValori(griglia);
    const QString primo = CellRef(1, 1);
    const QString ultimo = CellRef(griglia.Righe(), griglia.Colonne());

    const TRif app(automazione.Crea(QStringLiteral("Excel.Application")));
    app.Imposta(QStringLiteral("Visible"), Bool(false));
    app.Leggi(QStringLiteral("Workbooks")).Chiama(QStringLiteral("Add"), {Arg::I16(-4167)});
    const TRif foglio = app.Leggi(QStringLiteral("Workbooks"), {I32(1)}).Leggi(QStringLiteral("WorkSheets"), {I32(1)});
    foglio.Imposta(QStringLiteral("Name"), Str(nomeFoglio));
    foglio.Leggi(QStringLiteral("Range"), {Str(primo), Str(ultimo)}).Chiama(QStringLiteral("Select"));
    app.Leggi(QStringLiteral("Selection")).Imposta(QStringLiteral("NumberFormat"), Str(QStringLiteral("@")));
    foglio.Leggi(QStringLiteral("Range"), {Str(primo), Str(ultimo)})
        .Imposta(QStringLiteral("Value"), TVariante::Matrice(valori));
    for (int c = 2; c <= 26; ++c)
        app.Leggi(QStringLiteral("Application"))
            .Leggi(QStringLiteral("Cells"), {I32(1), I32(c)})
            .Leggi(QStringLiteral("Font"))
            .Imposta(QStringLiteral("Bold"), Bool(true));
    app.Leggi(QStringLiteral("Columns"), {Str(QStringLiteral("A:Z"))})
        .Leggi(QStringLiteral("EntireColumn"))
        .Chiama(QStringLiteral("AutoFit"));
    app.Leggi(QStringLiteral("Cells"), {I32(1), I32(1)}).Chiama(QStringLiteral("Select"));
    app.Imposta(QStringLiteral("Visible"), Bool(true));
}

void ExportGridToExcel(const TGriglia& griglia, const QString& nomeFoglio) {
    IAutomazione& automazione = Automazione::Server();
    ConMessaggio(automazione, [&] { InviaGrigliaAExcel(automazione, griglia, nomeFoglio); },
                 MessaggiEsportazione::ErroreExcel());
}

const std::array<const char*, 10> EtichetteScheda = {
    "Riferimento:", "Descrizione:", "Ubicazione:", "Vani:", "Metri quadri:",
    "Prezzo:", "Classe energetica:", "Condizioni:", "Note:", "Didascalia:",
};

void InviaSchedaAWord(IAutomazione& automazione, const std::array<QString, 10>& testi, const QByteArray& immagine,
                      const QString& fileImmagine) {
    const QString arial = QStringLiteral("Arial");
    const TRif w(automazione.Crea(QStringLiteral("Word.Application")));
    const auto selezioneFinestra = [&] {
        return w.Leggi(QStringLiteral("ActiveWindow")).Leggi(QStringLiteral("Selection"));
    };
    const auto selezione = [&] { return w.Leggi(QStringLiteral("Selection")); };

    w.Leggi(QStringLiteral("Documents")).Chiama(QStringLiteral("Add"));
    selezioneFinestra().Leggi(QStringLiteral("ParagraphFormat")).Imposta(QStringLiteral("Alignment"), I32(1));
    selezioneFinestra().Chiama(QStringLiteral("InsertAfter"), {Arg::Str(QStringLiteral("SCHEDA IMMOBILE"))});
    selezioneFinestra().Chiama(QStringLiteral("InsertParagraphAfter"));
    selezioneFinestra().Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Name"), Str(arial));
    selezioneFinestra().Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Size"), I32(10));
    selezioneFinestra().Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Bold"), Bool(true));
    selezioneFinestra().Chiama(QStringLiteral("EndOf"));
    const TRif r = selezione().Leggi(QStringLiteral("range"));
    r.Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Name"), Str(arial));
    r.Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Size"), I32(10));
    selezione().Chiama(QStringLiteral("TypeParagraph"));

    // The picture's own bytes, unchanged, whatever the file name says.
    if (!immagine.isEmpty()) {
        QSaveFile file(fileImmagine);
        file.setDirectWriteFallback(true);
        if (!file.open(QIODevice::WriteOnly) || file.write(immagine) != immagine.size() || !file.commit())
            throw EAutomazione(QStringLiteral("Impossibile scrivere il file %1").arg(fileImmagine));
    }

    selezione().Leggi(QStringLiteral("InlineShapes"))
        .Chiama(QStringLiteral("AddPicture"),
                {Arg::Str(QDir::toNativeSeparators(fileImmagine)), Arg::Bool(false), Arg::Bool(true)});
    selezione().Chiama(QStringLiteral("TypeParagraph"));
    selezioneFinestra().Leggi(QStringLiteral("ParagraphFormat")).Imposta(QStringLiteral("Alignment"), I32(1));
    selezioneFinestra().Chiama(QStringLiteral("InsertAfter"), {Arg::Str(QString())});
    selezioneFinestra().Chiama(QStringLiteral("InsertParagraphAfter"));
    selezioneFinestra().Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Name"), Str(arial));
    selezioneFinestra().Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Size"), I32(10));
    selezioneFinestra().Leggi(QStringLiteral("Font")).Imposta(QStringLiteral("Bold"), Bool(true));
    selezioneFinestra().Chiama(QStringLiteral("EndOf"));
    selezioneFinestra().Leggi(QStringLiteral("ParagraphFormat")).Imposta(QStringLiteral("Alignment"), I32(3));

    const TRif tabelle = selezione().Leggi(QStringLiteral("range")).Leggi(QStringLiteral("Tables"));
    const TVariante dove = selezione().Leggi(QStringLiteral("range")).ComeVariante();
    tabelle.Chiama(QStringLiteral("Add"), {Arg::Nome(QStringLiteral("range"), dove),
                                           Arg::Nome(QStringLiteral("NumRows"), I32(10)),
                                           Arg::Nome(QStringLiteral("NumColumns"), I32(2))});

    for (int riga = 1; riga <= 10; ++riga) {
        const QString valori[2] = {QString::fromUtf8(EtichetteScheda[size_t(riga - 1)]),
                                   Testo::Rifila(testi[size_t(riga - 1)])};
        for (int colonna = 1; colonna <= 2; ++colonna) {
            const TRif tabella = Oggetto(selezione()
                                             .Leggi(QStringLiteral("range"))
                                             .Leggi(QStringLiteral("Tables"))
                                             .Chiama(QStringLiteral("Item"), {Arg::I32(1)}));
            Oggetto(tabella.Chiama(QStringLiteral("Cell"), {Arg::I32(riga), Arg::I32(colonna)}))
                .Leggi(QStringLiteral("range"))
                .Chiama(QStringLiteral("InsertAfter"), {Arg::Str(valori[colonna - 1])});
        }
    }
    w.Imposta(QStringLiteral("Visible"), Bool(true));
}

void EsportaSchedaInWord(const std::array<QString, 10>& testi, const QByteArray& immagine) {
    IAutomazione& automazione = Automazione::Server();
    ConMessaggio(
        automazione,
        [&] {
            InviaSchedaAWord(automazione, testi, immagine,
                             Piattaforma::PercorsoProgramma(QString::fromLatin1(FileImmagineScheda)));
        },
        MessaggiEsportazione::ErroreWord());
}
