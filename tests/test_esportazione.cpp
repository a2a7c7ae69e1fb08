// The export logic without windows: the grid filled from a real archive, the cell
// text rule, and the exact call sequences sent to the spreadsheet and the word
// processor, recorded by the automation double, with their failures.
#include "doubles/Doppi.h"
#include "doubles/FintaAutomazione.h"
#include "support/ChiamateAttese.h"
#include "export/Esportazione.h"
#include "export/Griglia.h"
#include "store/TArchivio.h"
#include "support/SchedeEsportazione.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const TCategoria& Monolocali() { return *Categorie::PerTabella("amici"); }
const TCategoria& Box() { return *Categorie::PerTabella("sposi"); }

// The grid of a category as the export window fills it.
TGriglia GrigliaDi(const TCategoria& c) {
    TArchivio archivio(c);
    TGriglia g;
    if (archivio.ApriArchivio(QueryGriglia(archivio.Tabella())) && archivio.Risultato()->Count() > 0) {
        archivio.Risultato()->First();
        FillGrid(g, *archivio.Risultato());
    }
    return g;
}

QStringList Riga(const TGriglia& g, int r) {
    QStringList l;
    for (int c = 0; c < g.Colonne(); ++c) l << g.Cella(c, r);
    return l;
}

} // namespace

class TestEsportazione : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    DoppiPiattaforma m_doppi;
    FintaAutomazione m_auto;

private slots:
    void initTestCase() {
        m_doppi.Installa();
        Automazione::Imposta(&m_auto);
    }
    void cleanupTestCase() { Automazione::Imposta(nullptr); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        Piattaforma::ImpostaCartellaProgramma(m_dir->path());
        m_auto.Azzera();
        m_doppi.Messaggi.Azzera();
    }

    void riferimentiDiCella() {
        QCOMPARE(CellRef(1, 1), QStringLiteral("A1"));
        QCOMPARE(CellRef(11, 10), QStringLiteral("J11"));
        QCOMPARE(CellRef(1, 26), QStringLiteral("Z1"));
        QCOMPARE(CellRef(10001, 10), QStringLiteral("J10001"));
        QCOMPARE(CellRef(3, 27), QStringLiteral("AA3"));
    }

    void regolaDelTestoDiCella() {
        const QString a250 = QString(250, QLatin1Char('a'));
        QCOMPARE(TestoCella(a250), a250);
        QCOMPARE(TestoCella(QStringLiteral("  x\t\r\n")), QStringLiteral("x"));
        // 250 characters in all, blanks included: shown whole, trimmed.
        const QString rientrato = QStringLiteral("   ") + QString(247, QLatin1Char('b'));
        QCOMPARE(TestoCella(rientrato), QString(247, QLatin1Char('b')));
        // 251: the first 250 untrimmed, then "...".
        const QString lungo = QStringLiteral("  ") + QString(249, QLatin1Char('c'));
        const QString cella = TestoCella(lungo);
        QCOMPARE(cella.size(), 253);
        QVERIFY(cella.startsWith(QStringLiteral("  ccc")));
        QVERIFY(cella.endsWith(QStringLiteral("c...")));
        QCOMPARE(TestoCella(QString()), QString());
    }

    // Rows in adding order, ordinals without gaps after deletions, texts as stored
    // (Windows-1252), the rule applied, and the widths of the column table.
    void grigliaDaArchivio() {
        const QString lungo = QStringLiteral(" ") + QString(300, QLatin1Char('z'));
        const QList<qint64> id = InserisciSchede(
            Monolocali(), {{{QStringLiteral("R1"), QString::fromUtf8("Soggiorno con città vista")}, {}, {}},
                           {{QStringLiteral("R2")}, {}, {}},
                           {{QStringLiteral("  R3  "), lungo, {}, {}, {}, {}, {}, {}, QStringLiteral("didascalia")},
                            QStringLiteral("una nota che non si esporta"),
                            JpegEsportazione(20, 10)},
                           {{QStringLiteral("R4")}, {}, {}}});
        EliminaScheda(Monolocali(), id[1]);

        TGriglia g = GrigliaDi(Monolocali());
        QCOMPARE(g.Righe(), 4);
        QCOMPARE(g.Colonne(), 10);
        QCOMPARE(Riga(g, 0), QStringList({" N.", " Riferimento", " Descrizione", " Ubicazione", " Vani",
                                          " Metri quadri", " Prezzo", " Classe energetica", " Condizioni",
                                          " Didascalia"}));
        QCOMPARE(Riga(g, 1), QStringList({"1", "R1", QString::fromUtf8("Soggiorno con città vista"), "", "", "", "",
                                          "", "", ""}));
        QCOMPARE(g.Cella(0, 2), QStringLiteral("2"));
        QCOMPARE(g.Cella(1, 2), QStringLiteral("R3"));
        QCOMPARE(g.Cella(2, 2), lungo.left(250) + QStringLiteral("..."));
        QCOMPARE(g.Cella(9, 2), QStringLiteral("didascalia"));
        QCOMPARE(Riga(g, 3).mid(0, 2), QStringList({"3", "R4"}));
        const int larghezze[10] = {50, 250, 350, 250, 300, 200, 200, 250, 250, 350};
        for (int c = 0; c < 10; ++c) QCOMPARE(g.Larghezza(c), larghezze[c]);

        // Refilling after a drag and with fewer cards: widths back, no rows left over.
        g.ImpostaLarghezza(3, 17);
        EliminaScheda(Monolocali(), id[0]);
        TArchivio archivio(Monolocali());
        archivio.ApriArchivio(QueryGriglia(archivio.Tabella()));
        archivio.Risultato()->First();
        FillGrid(g, *archivio.Risultato());
        QCOMPARE(g.Righe(), 3);
        QCOMPARE(g.Larghezza(3), 250);
        QCOMPARE(Riga(g, 2).mid(0, 2), QStringList({"2", "R4"}));
        // The grid's statement reads the text columns only, never the photo.
        QVERIFY(!QueryGriglia("amici").contains("Picture"));
        QVERIFY(!QueryGriglia("amici").contains("*"));
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, archivio.Risultato()->ColumnIndex("Picture"));
    }

    void grigliaPrimaDelRiempimento() {
        const TGriglia g;
        QCOMPARE(g.Righe(), 10);
        QCOMPARE(g.Colonne(), 10);
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(g.Larghezza(c), c == 6 ? 208 : 100);
            for (int r = 0; r < 10; ++r) QVERIFY(g.Cella(c, r).isEmpty());
        }
    }

    // The whole spreadsheet sequence for ten cards: names, order, argument kinds.
    void sequenzaExcel() {
        QList<SchedaProva> schede;
        for (int i = 1; i <= 10; ++i) schede.append({{QStringLiteral(" R%1 ").arg(i)}, {}, {}});
        schede[4].Campi = QStringList{QStringLiteral("R5"), QStringLiteral("   ") + QString(260, QLatin1Char('d'))};
        InserisciSchede(Box(), schede);
        const TGriglia g = GrigliaDi(Box());

        ExportGridToExcel(g, Box().NomeFoglio());
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
        QVERIFY(m_doppi.Cursore.Volte > 0);

        const QStringList attese = ChiamateExcelAttese(QStringLiteral("Archivio box e garage"), 11);
        QCOMPARE(m_auto.Testi(), attese);

        // The value array: headings and cells trimmed, a long value as the grid cut it.
        const TMatrice* valori = nullptr;
        for (const TChiamataRegistrata& c : m_auto.Chiamate())
            if (c.Membro == QLatin1String("Value")) valori = &c.Valore.ComeMatrice();
        QVERIFY(valori);
        QCOMPARE(valori->Righe(), 11);
        QCOMPARE(valori->Colonne(), 10);
        QCOMPARE(valori->At(1, 1).ComeStringa(), QStringLiteral("N."));
        QCOMPARE(valori->At(1, 2).ComeStringa(), QStringLiteral("Riferimento"));
        QCOMPARE(valori->At(1, 10).ComeStringa(), QStringLiteral("Didascalia"));
        QCOMPARE(valori->At(2, 1).ComeStringa(), QStringLiteral("1"));
        QCOMPARE(valori->At(2, 2).ComeStringa(), QStringLiteral("R1"));
        QCOMPARE(valori->At(11, 2).ComeStringa(), QStringLiteral("R10"));
        QCOMPARE(valori->At(6, 3).ComeStringa(), QString(247, QLatin1Char('d')) + QStringLiteral("..."));
        QCOMPARE(valori->At(6, 3).TipoValore(), TVariante::Tipo::Stringa);
        QCOMPARE(valori->At(11, 10).ComeStringa(), QString());
        // The format goes to the range before the values do.
        QVERIFY(attese.indexOf(QRegularExpression(".*NumberFormat.*")) <
                attese.indexOf(QRegularExpression(".*Value := .*")));
    }

    void sequenzaWord() {
        const std::array<QString, 10> testi = {
            QStringLiteral("  R7 "), QStringLiteral("\tAttico"), QString(), QStringLiteral("4"),
            QStringLiteral("120"),   QStringLiteral("350.000"), QStringLiteral("A"), QStringLiteral("Nuovo"),
            QStringLiteral("prima riga\r\nseconda riga\r\n\r\n"), QStringLiteral("Vista mare")};
        const QByteArray jpeg = JpegEsportazione(30, 20);
        const QString file = m_dir->filePath(QStringLiteral("Scheda.bmp"));
        QFile::remove(file);
        EsportaSchedaInWord(testi, jpeg);
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        const QStringList attese =
            ChiamateWordAttese(QDir::toNativeSeparators(file), {"R7", "Attico", "", "4", "120", "350.000", "A", "Nuovo",
                                                                 "prima riga\r\nseconda riga", "Vista mare"});
        QCOMPARE(m_auto.Testi(), attese);

        // The picture's own bytes, unchanged, whatever the file name says; replaced next time.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), jpeg);
        f.close();
        const QByteArray altra = JpegEsportazione(8, 8, 0xff0000);
        EsportaSchedaInWord({}, altra);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), altra);
    }

    // A failure stops the sequence where it happens and ends in the plain message,
    // with the normal cursor back; nothing is undone.
    void fallimenti() {
        const TGriglia g;
        m_auto.RifiutaCreazione(QStringLiteral("Excel.Application"));
        ExportGridToExcel(g, Monolocali().NomeFoglio());
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Tipo, TipoMessaggio::Semplice);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QCOMPARE(m_doppi.Messaggi.Ultimo().Testo,
                 QString::fromUtf8("Si è verificato un errore durante l'esportazione dei dati in Excel.\r\n\r\n"
                                   "Accertarsi che il pacchetto Microsoft Office sia installato sul proprio computer."));
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        m_auto.Azzera();
        m_doppi.Messaggi.Azzera();
        m_auto.RifiutaMembro(QStringLiteral("NumberFormat"));
        ExportGridToExcel(g, Monolocali().NomeFoglio());
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QVERIFY(m_auto.Testi().last().contains(QLatin1String("NumberFormat")));
        QVERIFY(!m_auto.Testi().join('\n').contains(QLatin1String("Value")));
        // Before the first filling the export sends the 10 x 10 empty grid.
        QVERIFY(m_auto.Testi().join('\n').contains(QLatin1String("Range[Str \"A1\", Str \"J10\"]")));

        const QString erroreWord =
            QString::fromUtf8("Si è verificato un errore imprevisto durante l'esportazione della scheda in Microsoft Word.");
        m_auto.Azzera();
        m_doppi.Messaggi.Azzera();
        m_auto.RifiutaMembro(QStringLiteral("InsertParagraphAfter"));
        EsportaSchedaInWord({}, JpegEsportazione(4, 4));
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Testo, erroreWord);
        QVERIFY(!m_auto.Testi().join('\n').contains(QLatin1String("Font")));

        // The program folder cannot take the picture file: the same message, before the picture is added.
        m_auto.Azzera();
        m_doppi.Messaggi.Azzera();
        Piattaforma::ImpostaCartellaProgramma(m_dir->filePath(QStringLiteral("manca/anche")));
        EsportaSchedaInWord({}, JpegEsportazione(4, 4));
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Testo, erroreWord);
        QVERIFY(m_auto.Testi().last().contains(QLatin1String("TypeParagraph")));
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        // No automation at all.
        Automazione::Imposta(nullptr);
        m_doppi.Messaggi.Azzera();
        ExportGridToExcel(g, Monolocali().NomeFoglio());
        Automazione::Imposta(&m_auto);
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestEsportazione)
#include "test_esportazione.moc"
