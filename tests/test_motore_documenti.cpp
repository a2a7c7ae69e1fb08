// The office-document engine on its own: it refuses what a real automation
// server would refuse, keeps texts as text where the format says so, writes a
// document only when the application is made visible, never over another file,
// and tells where the work went when nothing can open it.
#include "doubles/Doppi.h"
#include "export/Esportazione.h"
#include "export/Griglia.h"
#include "export/MotoreDocumenti.h"
#include "support/SchedeEsportazione.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <zip.h>

namespace {

TVariante S(const QString& s) { return TVariante::Stringa(s); }
TVariante I(int v) { return TVariante::Intero32(v); }

QByteArray Voce(const QString& pacchetto, const char* nome) {
    int errore = 0;
    zip_t* z = zip_open(Piattaforma::NomeFileUtf8(pacchetto).constData(), ZIP_RDONLY, &errore);
    if (!z) return {};
    QByteArray dati;
    zip_stat_t st;
    if (zip_stat(z, nome, 0, &st) == 0) {
        dati.resize(qsizetype(st.size));
        zip_file_t* f = zip_fopen(z, nome, 0);
        if (!f || zip_fread(f, dati.data(), st.size) != zip_int64_t(st.size)) dati.clear();
        if (f) zip_fclose(f);
    }
    zip_close(z);
    return dati;
}

// Records the cursor's state at each box, so a box shown under the hourglass shows.
class MessaggiCursore : public FintoMessaggi {
public:
    FintoCursore* Cursore = nullptr;
    QList<int> Profondita;
    Risposta Mostra(TipoMessaggio t, const QString& c, const QString& testo, QObject* o) override {
        Profondita << Cursore->Profondita;
        return FintoMessaggi::Mostra(t, c, testo, o);
    }
};

} // namespace

class TestMotoreDocumenti : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    InsiemePiattaforma<MessaggiCursore, FintoApriSistema, FintoDialoghi, FintoOrologio, FintoCursore> m_doppi;
    std::unique_ptr<TMotoreDocumenti> m_motore;

    // A user's folder with an accented name, as Italian user names give them.
    QString Documenti() const { return m_dir->filePath(QStringLiteral("Documenti di Niccolò")); }

private slots:
    void initTestCase() {
        m_doppi.Messaggi.Cursore = &m_doppi.Cursore;
        m_doppi.Installa();
    }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        Piattaforma::ImpostaCartellaProgramma(m_dir->path());
        m_motore = std::make_unique<TMotoreDocumenti>();
        m_motore->ImpostaCartella(Documenti());
        Automazione::Imposta(m_motore.get());
        m_doppi.Messaggi.Azzera();
        m_doppi.Messaggi.Profondita.clear();
        m_doppi.ApriSistema.Richieste.clear();
        m_doppi.ApriSistema.ProgrammaPresente = true;
    }
    void cleanup() { Automazione::Imposta(nullptr); }

    void foglioRifiutaLoSconosciuto() {
        QVERIFY_THROWS_EXCEPTION(EAutomazione, m_motore->Crea(QStringLiteral("Access.Application")));
        const TRif app(m_motore->Crea(QStringLiteral("excel.application"))); // identifiers ignore case
        QVERIFY_THROWS_EXCEPTION(EAutomazione, app.Leggi(QStringLiteral("Selection"))); // no workbook yet
        QVERIFY_THROWS_EXCEPTION(EAutomazione, app.Leggi(QStringLiteral("Fantasia")));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, app.Chiama(QStringLiteral("Quit")));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, app.Imposta(QStringLiteral("Visible"), S(QStringLiteral("si"))));
        const TRif cartelle = app.Leggi(QStringLiteral("Workbooks"));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, cartelle.Chiama(QStringLiteral("Add"), {Arg::Str("C:\\modello.xlt")}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, cartelle.Chiama(QStringLiteral("Add"), {Arg::I16(-4109)}));
        cartelle.Chiama(QStringLiteral("add"), {Arg::I16(-4167)});
        const TRif foglio = app.Leggi(QStringLiteral("Workbooks"), {I(1)}).Leggi(QStringLiteral("Worksheets"), {I(1)});
        QVERIFY_THROWS_EXCEPTION(EAutomazione, app.Leggi(QStringLiteral("Workbooks"), {I(2)}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, foglio.Imposta(QStringLiteral("Name"), S(QStringLiteral("a/b"))));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, foglio.Imposta(QStringLiteral("Name"), S(QString(32, QLatin1Char('x')))));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, foglio.Leggi(QStringLiteral("Range"), {S(QStringLiteral("A1")), S(QStringLiteral("ZZZZ1"))}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, foglio.Leggi(QStringLiteral("Range"), {S(QStringLiteral("A1:B2")), I(3)}));
        // AutoFit takes whole columns or rows only.
        QVERIFY_THROWS_EXCEPTION(EAutomazione, foglio.Leggi(QStringLiteral("Range"), {S(QStringLiteral("A1:B2"))})
                                                    .Chiama(QStringLiteral("AutoFit")));
        // Only the active workbook's sheet can be selected.
        cartelle.Chiama(QStringLiteral("Add"));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, foglio.Leggi(QStringLiteral("Range"), {S(QStringLiteral("A1"))})
                                                    .Chiama(QStringLiteral("Select")));
        QCOMPARE((*app.Leggi(QStringLiteral("Workbooks"))).Leggi(QStringLiteral("Count")).ComeIntero(), 2);
        QCOMPARE((*app).Leggi(QStringLiteral("Visible")).ComeBooleano(), false);
        QVERIFY(m_motore->FileScritti().isEmpty());
    }

    // Text-formatted cells keep what looks like a number; General ones read numbers;
    // cells beyond the array get the "not available" value.
    void foglioValoriEFormati() {
        const TRif app(m_motore->Crea(QStringLiteral("Excel.Application")));
        app.Leggi(QStringLiteral("Workbooks")).Chiama(QStringLiteral("Add"), {Arg::I16(-4167)});
        const TRif foglio = app.Leggi(QStringLiteral("Workbooks"), {I(1)}).Leggi(QStringLiteral("WorkSheets"), {I(1)});
        auto m = std::make_shared<TMatrice>(2, 2);
        m->Imposta(1, 1, S(QStringLiteral("00123")));
        m->Imposta(1, 2, S(QStringLiteral("=1+1")));
        m->Imposta(2, 1, S(QStringLiteral("00123")));
        m->Imposta(2, 2, S(QStringLiteral("x")));
        foglio.Leggi(QStringLiteral("Range"), {S(QStringLiteral("A1")), S(QStringLiteral("B1"))})
            .Imposta(QStringLiteral("NumberFormat"), S(QStringLiteral("@")));
        foglio.Leggi(QStringLiteral("Range"), {S(QStringLiteral("A1:C2"))}).Imposta(QStringLiteral("Value"), TVariante::Matrice(m));
        const auto valore = [&](const char* cella) {
            return foglio.Leggi(QStringLiteral("Range"), {S(QString::fromLatin1(cella))})
                .ComeVariante()
                .ComeOggetto()
                ->Leggi(QStringLiteral("Value"))
                .Descrizione();
        };
        QCOMPARE(valore("A1"), QStringLiteral("Str \"00123\""));
        QCOMPARE(valore("B1"), QStringLiteral("Str \"=1+1\""));
        QCOMPARE(valore("A2"), QStringLiteral("I32 123"));
        QCOMPARE(valore("C1"), QStringLiteral("Str \"#N/D\""));
        QCOMPARE(valore("D1"), QStringLiteral("Empty"));
    }

    void documentoRifiutaLoSconosciuto() {
        const TRif w(m_motore->Crea(QStringLiteral("Word.Application")));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, w.Leggi(QStringLiteral("ActiveWindow"))); // no document
        w.Leggi(QStringLiteral("Documents")).Chiama(QStringLiteral("Add"));
        const TRif sel = w.Leggi(QStringLiteral("Selection"));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, sel.Chiama(QStringLiteral("PasteSpecial")));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, sel.Leggi(QStringLiteral("ParagraphFormat")).Imposta(QStringLiteral("Alignment"), I(7)));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, sel.Chiama(QStringLiteral("EndOf"), {Arg::I32(99)}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, sel.Chiama(QStringLiteral("InsertAfter"), {Arg::I32(3)}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, sel.Chiama(QStringLiteral("InsertAfter"), {Arg::Nome(QStringLiteral("Testo"), S("x"))}));
        const QString testo = m_dir->filePath(QStringLiteral("non_immagine.bmp"));
        QFile f(testo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("solo testo");
        f.close();
        const TRif forme = sel.Leggi(QStringLiteral("InlineShapes"));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, forme.Chiama(QStringLiteral("AddPicture"), {Arg::Str(testo), Arg::Bool(false), Arg::Bool(true)}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, forme.Chiama(QStringLiteral("AddPicture"), {Arg::Str(m_dir->filePath("manca.jpg"))}));
        const QString jpeg = m_dir->filePath(QStringLiteral("foto.bmp"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(JpegEsportazione(10, 10));
        f.close();
        QVERIFY_THROWS_EXCEPTION(EAutomazione, forme.Chiama(QStringLiteral("AddPicture"), {Arg::Str(jpeg), Arg::Bool(true), Arg::Bool(false)}));

        // A table needs a range of its own document; cells exist within its size only.
        w.Leggi(QStringLiteral("Documents")).Chiama(QStringLiteral("Add"));
        const TVariante altro = w.Leggi(QStringLiteral("Selection")).Leggi(QStringLiteral("range")).ComeVariante();
        w.Leggi(QStringLiteral("Documents"), {}).Chiama(QStringLiteral("Item"), {Arg::I32(1)});
        const TRif tabelle = sel.Leggi(QStringLiteral("range")).Leggi(QStringLiteral("Tables"));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, tabelle.Chiama(QStringLiteral("Add"), {Arg::Nome("range", altro), Arg::Nome("NumRows", I(2)), Arg::Nome("NumColumns", I(2))}));
        tabelle.Chiama(QStringLiteral("Add"), {Arg::Nome("Range", sel.Leggi("Range").ComeVariante()), Arg::Nome("numrows", I(3)), Arg::Nome("NumColumns", I(2))});
        const TRif tabella(sel.Leggi("range").Leggi("Tables").Chiama("Item", {Arg::I32(1)}).ComeOggetto());
        QVERIFY_THROWS_EXCEPTION(EAutomazione, sel.Leggi("range").Leggi("Tables").Chiama("Item", {Arg::I32(2)}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, tabella.Chiama(QStringLiteral("Cell"), {Arg::I32(4), Arg::I32(1)}));
        QVERIFY_THROWS_EXCEPTION(EAutomazione, tabella.Chiama(QStringLiteral("Cell"), {Arg::I32(1), Arg::I32(0)}));
        QCOMPARE((*tabella).Leggi(QStringLiteral("NumRows")).ComeIntero(), 3);
    }

    // A refusal in the middle of an export ends in its message and leaves no file.
    void rifiutoInUnEsportazione() {
        TGriglia griglia;
        ExportGridToExcel(griglia, QStringLiteral("Nome: non valido"));
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QVERIFY(m_doppi.Messaggi.Ultimo().Testo.startsWith(QString::fromUtf8("Si è verificato un errore durante")));
        QVERIFY(m_motore->FileScritti().isEmpty());
        QVERIFY(!QFileInfo::exists(Documenti()) || QDir(Documenti()).isEmpty());
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
    }

    // The documents folder cannot be made: the export's own message, no file anywhere.
    void cartellaNonScrivibile() {
        QFile ostacolo(m_dir->filePath(QStringLiteral("ostacolo")));
        QVERIFY(ostacolo.open(QIODevice::WriteOnly));
        ostacolo.close();
        m_motore->ImpostaCartella(ostacolo.fileName() + QStringLiteral("/Documenti"));
        ExportGridToExcel(TGriglia(), QStringLiteral("Archivio monolocali"));
        EsportaSchedaInWord({}, JpegEsportazione(5, 5));
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 2);
        QVERIFY(m_doppi.Messaggi.Mostrati[0].Testo.contains(QLatin1String("in Excel")));
        QVERIFY(m_doppi.Messaggi.Mostrati[1].Testo.contains(QLatin1String("Microsoft Word")));
        QVERIFY(m_motore->FileScritti().isEmpty());
        QVERIFY(m_doppi.ApriSistema.Richieste.isEmpty());
    }

    // Written, but nothing opens it: one plain box names the file, after the hourglass.
    void nessunProgrammaPerAprirlo() {
        m_doppi.ApriSistema.ProgrammaPresente = false;
        ExportGridToExcel(TGriglia(), QStringLiteral("Archivio attici"));
        QCOMPARE(m_motore->FileScritti().size(), 1);
        const QString file = m_motore->FileScritti().first();
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Tipo, TipoMessaggio::Semplice);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QVERIFY(m_doppi.Messaggi.Ultimo().Testo.contains(QDir::toNativeSeparators(file)));
        QVERIFY(!m_doppi.Messaggi.Ultimo().Testo.contains(QLatin1String("errore")));
        QCOMPARE(m_doppi.Messaggi.Profondita, QList<int>{0});
        QCOMPARE(m_doppi.ApriSistema.Richieste.size(), 1);
    }

    void nomiSenzaSovrascrivere() {
        QDir().mkpath(Documenti());
        for (const char* n : {"Archivio monolocali.xlsx", "Archivio monolocali (2).xlsx"}) {
            QFile f(QDir(Documenti()).filePath(QString::fromLatin1(n)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(QFileInfo(NomeLibero(Documenti(), QStringLiteral("Archivio monolocali"), QStringLiteral("xlsx"))).fileName(),
                 QStringLiteral("Archivio monolocali (3).xlsx"));
        QCOMPARE(QFileInfo(NomeLibero(Documenti(), QStringLiteral("a/b:c?"), QStringLiteral("docx"))).fileName(),
                 QStringLiteral("a_b_c_.docx"));
        QCOMPARE(QFileInfo(NomeLibero(Documenti(), QStringLiteral(" .. "), QStringLiteral("docx"))).fileName(),
                 QStringLiteral("Documento.docx"));
        ExportGridToExcel(TGriglia(), QStringLiteral("Archivio monolocali"));
        QCOMPARE(QFileInfo(m_motore->FileScritti().value(0)).fileName(), QStringLiteral("Archivio monolocali (3).xlsx"));
    }

    // A picture is embedded by its real kind, whatever the hand-over file is called;
    // a document is written once, when it is first shown.
    void immagineSecondoIlSuoFormato() {
        QImage img(12, 8, QImage::Format_RGB32);
        img.fill(Qt::green);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        EsportaSchedaInWord({}, png);
        QCOMPARE(m_motore->FileScritti().size(), 1);
        const QString docx = m_motore->FileScritti().first();
        QCOMPARE(Voce(docx, "word/media/image1.png"), png);
        QVERIFY(Voce(docx, "[Content_Types].xml").contains("Extension=\"png\" ContentType=\"image/png\""));
        QVERIFY(!Voce(docx, "[Content_Types].xml").contains("image/jpeg"));
        const QByteArray documento = Voce(docx, "word/document.xml");
        QVERIFY(documento.contains("<wp:extent cx=\"114300\" cy=\"76200\"/>")); // 12 x 8 pixels at 96 dpi

        const TRif w(m_motore->Crea(QStringLiteral("Word.Application")));
        w.Leggi(QStringLiteral("Documents")).Chiama(QStringLiteral("Add"));
        w.Leggi(QStringLiteral("Selection")).Chiama(QStringLiteral("TypeText"), {Arg::Str(QStringLiteral("Prova"))});
        w.Imposta(QStringLiteral("Visible"), TVariante::Booleano(true));
        w.Imposta(QStringLiteral("Visible"), TVariante::Booleano(true));
        QCOMPARE(m_motore->FileScritti().size(), 2);
        QCOMPARE(QFileInfo(m_motore->FileScritti().last()).fileName(), QStringLiteral("Prova.docx"));
        // Never shown, never written.
        const TRif nascosto(m_motore->Crea(QStringLiteral("Word.Application")));
        nascosto.Leggi(QStringLiteral("Documents")).Chiama(QStringLiteral("Add"));
        QCOMPARE(m_motore->FileScritti().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestMotoreDocumenti)
#include "test_motore_documenti.moc"
