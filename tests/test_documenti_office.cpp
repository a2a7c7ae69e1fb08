// What the exports write, opened by the office suite a Linux agency has:
// LibreOffice, headless, with a private profile per conversion, turns the .xlsx
// into CSV and flat XML and the .docx into text and into its own format; the
// results are compared with the archive and the card.
#include "doubles/Doppi.h"
#include "export/Esportazione.h"
#include "export/Griglia.h"
#include "export/MotoreDocumenti.h"
#include "store/TArchivio.h"
#include "store/Testo.h"
#include "support/SchedeEsportazione.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <zip.h>

namespace {

const TCategoria& Box() { return *Categorie::PerTabella("sposi"); }

// LibreOffice converts the file into the folder; the path of the result, or empty.
QString Converti(const QString& file, const QString& filtro, const QString& uscita) {
    QTemporaryDir profilo;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("soffice"),
            {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profilo.path()).toString(),
             QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
             QStringLiteral("--convert-to"), filtro, QStringLiteral("--outdir"), uscita, file});
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished();
        qWarning("soffice did not finish");
        return {};
    }
    const QString estensione = filtro.section(QLatin1Char(':'), 0, 0);
    const QString risultato = QDir(uscita).filePath(QFileInfo(file).completeBaseName() + QLatin1Char('.') + estensione);
    if (!QFileInfo::exists(risultato)) qWarning("soffice: %s", p.readAll().constData());
    return QFileInfo::exists(risultato) ? risultato : QString();
}

QByteArray Leggi(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// RFC 4180 rows.
QList<QStringList> Csv(const QString& testo) {
    QList<QStringList> righe;
    QStringList riga;
    QString campo;
    bool virgolette = false;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        if (virgolette) {
            if (c == u'"' && i + 1 < testo.size() && testo.at(i + 1) == u'"') {
                campo += c;
                ++i;
            } else if (c == u'"') {
                virgolette = false;
            } else {
                campo += c;
            }
        } else if (c == u'"') {
            virgolette = true;
        } else if (c == u',') {
            riga << campo;
            campo.clear();
        } else if (c == u'\n') {
            riga << campo;
            righe << riga;
            riga.clear();
            campo.clear();
        } else if (c != u'\r') {
            campo += c;
        }
    }
    if (!campo.isEmpty() || !riga.isEmpty()) righe << (riga << campo);
    return righe;
}

// Every entry of a zip package whose name matches.
QList<QByteArray> Voci(const QString& pacchetto, const QRegularExpression& nome) {
    QList<QByteArray> voci;
    int errore = 0;
    zip_t* z = zip_open(QFile::encodeName(pacchetto).constData(), ZIP_RDONLY, &errore);
    if (!z) return voci;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0 || !nome.match(QString::fromUtf8(st.name)).hasMatch())
            continue;
        QByteArray dati(qsizetype(st.size), Qt::Uninitialized);
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        if (f && zip_fread(f, dati.data(), st.size) == zip_int64_t(st.size)) voci << dati;
        if (f) zip_fclose(f);
    }
    zip_close(z);
    return voci;
}

} // namespace

class TestDocumentiOffice : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    DoppiPiattaforma m_doppi;
    TMotoreDocumenti m_motore;
    QString m_documenti, m_uscita;

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
            QFAIL("LibreOffice (soffice) is needed: make test installs it");
        m_doppi.Installa();
        Piattaforma::ImpostaCartellaProgramma(m_dir.path());
        m_documenti = m_dir.filePath(QStringLiteral("Documenti"));
        m_uscita = m_dir.filePath(QStringLiteral("convertiti"));
        QDir().mkpath(m_uscita);
        m_motore.ImpostaCartella(m_documenti);
        Automazione::Imposta(&m_motore);
    }
    void cleanupTestCase() { Automazione::Imposta(nullptr); }

    // The sheet holds the grid: headings without their blank, trimmed cells, cut
    // values, texts that look like numbers or formulas kept as typed; its name is
    // the category's; a second export is a second file.
    void foglioDiCalcolo() {
        const QString lungo = QStringLiteral("  ") + QString(249, QLatin1Char('c'));
        QList<SchedaProva> schede = {
            {{QStringLiteral("B-001"), QString::fromUtf8("Box doppio, città"), QStringLiteral("Via Po 3"),
              QStringLiteral("1"), QStringLiteral("00123"), QString::fromUtf8("€ 25.000"), QStringLiteral("G"),
              QStringLiteral("Buone"), QStringLiteral("Box con basculante")},
             QStringLiteral("note"),
             JpegEsportazione(40, 30)},
            {{QStringLiteral("  B-002"), lungo, QStringLiteral("=1+1"), QStringLiteral("3,5")}, {}, {}},
        };
        for (int i = 3; i <= 12; ++i) schede.append({{QStringLiteral("B-%1").arg(i, 3, 10, QLatin1Char('0'))}, {}, {}});
        const QList<qint64> id = InserisciSchede(Box(), schede);
        EliminaScheda(Box(), id[2]);

        TArchivio archivio(Box());
        QVERIFY(archivio.ApriArchivio(QueryGriglia(archivio.Tabella())));
        archivio.Risultato()->First();
        TGriglia griglia;
        FillGrid(griglia, *archivio.Risultato());
        ExportGridToExcel(griglia, Box().NomeFoglio());
        QVERIFY2(m_doppi.Messaggi.Mostrati.isEmpty(), qPrintable(m_doppi.Messaggi.Mostrati.value(0).Testo));
        QCOMPARE(m_motore.FileScritti().size(), 1);
        const QString xlsx = m_motore.FileScritti().first();
        QCOMPARE(QFileInfo(xlsx).fileName(), QStringLiteral("Archivio box e garage.xlsx"));
        QCOMPARE(m_doppi.ApriSistema.Richieste.last().first, xlsx);

        const QString csv = Converti(xlsx, QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), m_uscita);
        QVERIFY(!csv.isEmpty());
        const QList<QStringList> righe = Csv(QString::fromUtf8(Leggi(csv)));
        QCOMPARE(righe.size(), 12);
        QCOMPARE(righe[0], QStringList({"N.", "Riferimento", "Descrizione", "Ubicazione", "Vani", "Metri quadri",
                                        "Prezzo", "Classe energetica", "Condizioni", "Didascalia"}));
        QCOMPARE(righe[1], QStringList({"1", "B-001", QString::fromUtf8("Box doppio, città"), "Via Po 3", "1", "00123",
                                        QString::fromUtf8("€ 25.000"), "G", "Buone", "Box con basculante"}));
        QCOMPARE(righe[2].mid(0, 5),
                 QStringList({"2", "B-002", QString(248, QLatin1Char('c')) + QStringLiteral("..."), "=1+1", "3,5"}));
        QCOMPARE(righe[3].mid(0, 2), QStringList({"3", "B-004"}));
        QCOMPARE(righe[11].mid(0, 2), QStringList({"11", "B-012"}));
        for (const QStringList& r : righe) QCOMPARE(r.size(), 10);

        // The sheet's name, the text format on the range, the bold headings from B.
        const QString fods = Converti(xlsx, QStringLiteral("fods"), m_uscita);
        QVERIFY(!fods.isEmpty());
        const QString xml = QString::fromUtf8(Leggi(fods));
        QVERIFY(xml.contains(QStringLiteral("table:name=\"Archivio box e garage\"")));
        QVERIFY(!xml.contains(QStringLiteral("of:=1+1")) && !xml.contains(QStringLiteral("formula=\"of:")));

        // A second export: a second file; the first stays as it was.
        const QByteArray primo = Leggi(xlsx);
        ExportGridToExcel(griglia, Box().NomeFoglio());
        QCOMPARE(m_motore.FileScritti().size(), 2);
        QCOMPARE(QFileInfo(m_motore.FileScritti().last()).fileName(), QStringLiteral("Archivio box e garage (2).xlsx"));
        QCOMPARE(Leggi(xlsx), primo);
    }

    // The document holds the title, the picture (the card's own JPEG bytes) and the
    // ten labels with their trimmed values in order; the note keeps its inner lines.
    void documentoDiTesto() {
        const std::array<QString, 10> testi = {
            QStringLiteral("  R-77"), QStringLiteral("Attico <luminoso> & terrazzo"), QStringLiteral("Centro"),
            QStringLiteral("5"), QStringLiteral("140"), QString::fromUtf8("€ 480.000"),
            QStringLiteral("A\x01"), QString(), QStringLiteral("riga uno\r\nriga due\r\n\r\n"),
            QString::fromUtf8("Vista sul duomo, più luce")};
        const QByteArray jpeg = JpegEsportazione(320, 200);
        EsportaSchedaInWord(testi, jpeg);
        QVERIFY2(m_doppi.Messaggi.Mostrati.isEmpty(), qPrintable(m_doppi.Messaggi.Mostrati.value(0).Testo));
        const QString docx = m_motore.FileScritti().last();
        QCOMPARE(QFileInfo(docx).fileName(), QStringLiteral("Scheda immobile.docx"));

        const QString txt = Converti(docx, QStringLiteral("txt:Text (encoded):UTF8"), m_uscita);
        QVERIFY(!txt.isEmpty());
        QStringList righe = QString::fromUtf8(Leggi(txt)).remove(QChar(0xFEFF)).split(QRegularExpression("\r?\n"));
        for (QString& r : righe) r = r.trimmed();
        righe.removeAll(QString());
        const QStringList attese = {"SCHEDA IMMOBILE",
                                    "Riferimento:", "R-77",
                                    "Descrizione:", "Attico <luminoso> & terrazzo",
                                    "Ubicazione:", "Centro",
                                    "Vani:", "5",
                                    "Metri quadri:", "140",
                                    "Prezzo:", QString::fromUtf8("€ 480.000"),
                                    "Classe energetica:", "A",
                                    "Condizioni:",
                                    "Note:", "riga uno", "riga due",
                                    "Didascalia:", QString::fromUtf8("Vista sul duomo, più luce")};
        QCOMPARE(righe, attese);

        // LibreOffice took the picture in: its own copy holds the card's bytes.
        const QString odt = Converti(docx, QStringLiteral("odt"), m_uscita);
        QVERIFY(!odt.isEmpty());
        const QList<QByteArray> immagini = Voci(odt, QRegularExpression(QStringLiteral("^Pictures/")));
        QCOMPARE(immagini.size(), 1);
        QCOMPARE(immagini.first(), jpeg);
    }
};

QTEST_GUILESS_MAIN(TestDocumentiOffice)
#include "test_documenti_office.moc"
