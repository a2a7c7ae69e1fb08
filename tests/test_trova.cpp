// Finding cards without windows: the result line, the in-list find, the sorted
// list, and the quick find and advanced search on a real archive file.
#include "find/RigaRisultato.h"
#include "find/TModelloElenco.h"
#include "find/TRicercaSchede.h"
#include "platform/Piattaforma.h"
#include "store/TScheda.h"
#include "store/Win1252.h"
#include "support/Supporto.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray B(const QString& s) { return Win1252::DaTesto(s); }

// A card with the five listed fields; the others are empty, as stored by the program.
struct Carta {
    QString Titolo, Autore, Vani, Metri, Prezzo, Note, Album;
};

void Inserisci(const TCategoria& cat, const Carta& c, const QByteArray& foto = QByteArray()) {
    TArchivio a(cat);
    a.ApriArchivio();
    std::array<QString, NumeroCampiTesto> t;
    t[cTitolo] = c.Titolo;
    t[cAutore] = c.Autore;
    t[cAlbum] = c.Album;
    t[cCategoria] = c.Vani;
    t[cData] = c.Metri;
    t[cFotocamera] = c.Prezzo;
    t[cNote] = c.Note;
    QList<QByteArray> valori;
    QByteArray sql = "INSERT INTO " + a.Tabella() + " (" + Statementi::ColonneElenco().mid(3) + ",Ext) VALUES (";
    for (const QString& s : t) {
        valori.append(B(s));
        sql += "?,";
    }
    sql += "'JPG')";
    a.Connessione()->Execute(sql, valori);
    if (!foto.isEmpty())
        a.Connessione()->ExecuteWithBlob("UPDATE " + a.Tabella() + " SET Picture = ? WHERE ID = " +
                                             QByteArray::number(a.Connessione()->LastInsertRowId()),
                                         foto);
}

QString Riga(const char* t, const char* v, const char* m, const char* p, const char* d) {
    return RigaRisultato::Componi(B(QString::fromUtf8(t)), B(QString::fromUtf8(v)), B(QString::fromUtf8(m)),
                                  B(QString::fromUtf8(p)), B(QString::fromUtf8(d)));
}

} // namespace

class TestTrova : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const TCategoria& m_amici = *Categorie::PerTabella(QStringLiteral("amici"));

    void Azzera() {
        for (const TCategoria& c : Categorie::Tutte()) QFile::remove(m_dir.filePath(QString::fromLatin1(c.FileArchivio)));
    }

private slots:
    void initTestCase() { Piattaforma::ImpostaCartellaProgramma(m_dir.path()); }
    void init() { Azzera(); }

    void rigaRisultato() {
        // Positions: 1-5 "Rif. ", 6-25 reference, 26-33 "  Vani: ", 34-48 rooms,
        // 49-54 "  MQ: ", 55-64 square metres, 65-68 "  € ", 69-80 price, 81-82, 83- description.
        const QString r = Riga("  R12 ", "3\t", "80", "250.000", " Trilocale con giardino \r\n");
        QCOMPARE(r, QString::fromUtf8("Rif. R12                   Vani: 3                MQ: 80          € 250.000     "
                                      "  Trilocale con giardino"));
        QCOMPARE(r.mid(0, 5), QStringLiteral("Rif. "));
        QCOMPARE(r.mid(5, 20), QStringLiteral("R12").leftJustified(20));
        QCOMPARE(r.mid(25, 8), QStringLiteral("  Vani: "));
        QCOMPARE(r.mid(48, 6), QStringLiteral("  MQ: "));
        QCOMPARE(r.mid(64, 4), QString::fromUtf8("  € "));
        QCOMPARE(r.mid(80, 2), QStringLiteral("  "));
        QCOMPARE(r.mid(82), QStringLiteral("Trilocale con giardino"));

        // Empty fields: exactly 82 characters, ending in blanks.
        const QString vuota = Riga("", "", "", "", "");
        QCOMPARE(vuota.size(), 82);
        QVERIFY(vuota.endsWith(QStringLiteral("  ")));
        QCOMPARE(Riga(" \t ", "", "", "", "  "), vuota);

        // Cuts by characters, nothing marks them; the description stays whole.
        const QString lunga = Riga("ABCDEFGHIJKLMNOPQRSTUVWXY", "123456789012345678", "12345678901", "€ 1.234.567.890",
                                   QString(300, QLatin1Char('d')).toUtf8().constData());
        QCOMPARE(lunga.mid(5, 20), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(lunga.mid(33, 15), QStringLiteral("123456789012345"));
        QCOMPARE(lunga.mid(54, 10), QStringLiteral("1234567890"));
        QCOMPARE(lunga.mid(68, 12), QString::fromUtf8("€ 1.234.567."));
        QCOMPARE(lunga.size(), 82 + 300);
        // Accented letters and the euro sign are one character each, as in the archive.
        const QString accenti = Riga("Città€", "", "", "€€€€€€€€€€€€€€", "è");
        QCOMPARE(accenti.mid(5, 20), QString::fromUtf8("Città€").leftJustified(20));
        QCOMPARE(accenti.mid(68, 12), QString(12, QChar(0x20AC)));
        QCOMPARE(accenti.size(), 83);
    }

    void trovaInLista() {
        const QStringList righe = {QStringLiteral("xx AB 1"), QStringLiteral("yy 2"), QStringLiteral("zz ab 3"),
                                   QStringLiteral("ww 4"), QStringLiteral("vv 5")};
        QString ultima;
        // First, third, first again; the key ignores case of A to Z.
        QCOMPARE(TrovaInLista::Trova(righe, -1, QStringLiteral("ab"), ultima), 0);
        QCOMPARE(ultima, QStringLiteral("ab"));
        QCOMPARE(TrovaInLista::Trova(righe, 0, QStringLiteral("ab"), ultima), 2);
        QCOMPARE(TrovaInLista::Trova(righe, 2, QStringLiteral("aB"), ultima), 0);
        // A new key starts from the top whatever is selected.
        QCOMPARE(TrovaInLista::Trova(righe, 3, QStringLiteral("zz"), ultima), 2);
        // The only match stays selected; no match leaves the selection.
        QCOMPARE(TrovaInLista::Trova(righe, 2, QStringLiteral("zz"), ultima), 2);
        QCOMPARE(TrovaInLista::Trova(righe, 4, QStringLiteral("nessuna"), ultima), 4);
        QCOMPARE(TrovaInLista::Trova(righe, -1, QStringLiteral("nessuna"), ultima), 0);
        // An empty key never matches; blanks are not trimmed.
        QCOMPARE(TrovaInLista::Trova(righe, 3, QString(), ultima), 3);
        QCOMPARE(TrovaInLista::Trova(righe, -1, QStringLiteral(" 4"), ultima), 3);
        // The same key as last time starts below the selection: line 0 is tested last.
        ultima = QStringLiteral("ab");
        QCOMPARE(TrovaInLista::Trova(righe, -1, QStringLiteral("ab"), ultima), 2);
        // Only A to Z are folded: À is not à.
        const QStringList accenti = {QString::fromUtf8("città"), QString::fromUtf8("CITTÀ")};
        ultima.clear();
        QCOMPARE(TrovaInLista::Trova(accenti, -1, QString::fromUtf8("cittÀ"), ultima), 1);
        QCOMPARE(ultima, QString::fromUtf8("cittÀ"));
        QCOMPARE(TrovaInLista::Trova({QStringLiteral("solo")}, 0, QStringLiteral("solo"), ultima), 0);
    }

    void elencoOrdinato() {
        TModelloElenco m;
        QStringList righe = {Riga("9", "", "", "", "b"), Riga("10", "", "", "", "a"), Riga("b2", "", "", "", ""),
                             Riga("B1", "", "", "", ""), Riga("a3", "", "", "", "")};
        m.Imposta(righe);
        QCOMPARE(m.rowCount(), 5);
        QVERIFY(m.Riga(0).startsWith(QStringLiteral("Rif. 10 ")));
        QVERIFY(m.Riga(1).startsWith(QStringLiteral("Rif. 9 ")));
        QVERIFY(m.Riga(2).startsWith(QStringLiteral("Rif. a3")));
        QVERIFY(m.Riga(3).startsWith(QStringLiteral("Rif. B1")));
        QVERIFY(m.Riga(4).startsWith(QStringLiteral("Rif. b2")));
        QCOMPARE(m.data(m.index(3), Qt::DisplayRole).toString(), m.Riga(3));
        QCOMPARE(m.data(m.index(3), Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
        QVERIFY(!m.data(m.index(5)).isValid());
        // Lines equal without regard to case keep the order they came in.
        m.Imposta({QStringLiteral("x A"), QStringLiteral("x a"), QStringLiteral("X A")});
        QCOMPARE(m.Righe(), QStringList({QStringLiteral("x A"), QStringLiteral("x a"), QStringLiteral("X A")}));
        m.Svuota();
        QCOMPARE(m.rowCount(), 0);
    }

    void ricercaPerCriterio() {
        TRicercaSchede r(m_amici);
        // No archive yet: created with its table, nothing listed.
        QVERIFY(r.CercaPerCriterio(QStringLiteral("Riferimento"), QStringLiteral("x")).isEmpty());
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("Monolocali.db"))));
        QVERIFY(r.CercaPerCriterio(QStringLiteral("Riferimento"), QString()).isEmpty());

        Inserisci(m_amici, {"A1", "Monolocale", "1", "30", "120.000", "", ""});
        Inserisci(m_amici, {"A2", "Bilocale", "2", "45", "250.000", "", ""});
        Inserisci(m_amici, {"A3", "Attico", "4", "125", "1.120.000", "vista", ""});
        Inserisci(m_amici, {"B_4", "Box 100%", "", "12", "25.000", "", ""});

        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Prezzo"), QStringLiteral("120")).size(), 2);
        // The key is trimmed; the criterion is compared lower-cased and trimmed.
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Prezzo"), QStringLiteral(" 25 ")),
                 QStringList({Riga("A2", "2", "45", "250.000", "Bilocale"), Riga("B_4", "", "12", "25.000", "Box 100%")}));
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("  METRI QUADRI "), QStringLiteral("12")).size(), 2);
        // An empty key (or blanks) lists every card; the result order is the archive's.
        const QStringList tutte = r.CercaPerCriterio(QStringLiteral("Note"), QStringLiteral("   "));
        QCOMPARE(tutte.size(), 4);
        QVERIFY(tutte.first().startsWith(QStringLiteral("Rif. A1 ")));
        // Wildcards typed by the user stay wildcards; the comparison ignores A to Z case.
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Riferimento"), QStringLiteral("a_")).size(), 3);
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Descrizione"), QStringLiteral("box%0")).size(), 1);
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Riferimento"), QStringLiteral("b_")).size(), 1);
        // A double quote is just a character: nothing found, nothing raised.
        QCOMPARE(MessaggioDi([&] {
                     QVERIFY(r.CercaPerCriterio(QStringLiteral("Riferimento"), QStringLiteral("\"")).isEmpty());
                 }),
                 QStringLiteral("<nessun errore>"));
        QVERIFY(r.CercaPerCriterio(QStringLiteral("Descrizione"), QStringLiteral("x\" OR \"\"=\"")).isEmpty());
        // Every criterion searches its own column.
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Note"), QStringLiteral("vista")).size(), 1);
        QVERIFY(r.CercaPerCriterio(QStringLiteral("Didascalia"), QStringLiteral("vista")).isEmpty());
        QVERIFY(r.CercaPerCriterio(QStringLiteral("Ubicazione"), QStringLiteral("vista")).isEmpty());
        // An unknown criterion lists nothing and holds no result table.
        QVERIFY(r.CercaPerCriterio(QStringLiteral("Colore"), QString()).isEmpty());
        QVERIFY(!r.Risultato());
    }

    void ricercaAvanzata() {
        TRicercaSchede r(m_amici);
        Inserisci(m_amici, {"C1", "Con BAGNO doppio", "3", "90", "", "posto box auto", "Roma"});
        Inserisci(m_amici, {"C2", "con bagno", "3", "90", "", "senza box", "Roma"});
        Inserisci(m_amici, {"C3", "cucina", "3", "90", "", "Box Auto coperto", "Milano"});
        std::array<QString, NumeroCaselleRicerca> caselle;
        QCOMPARE(r.CercaAvanzata(caselle).size(), 3);
        caselle[cAutore] = QStringLiteral("bagno");
        caselle[cNote] = QStringLiteral(" box auto ");
        QCOMPARE(r.CercaAvanzata(caselle), QStringList({Riga("C1", "3", "90", "", "Con BAGNO doppio")}));
        caselle = {};
        caselle[cAlbum] = QStringLiteral("roma");
        caselle[cCategoria] = QStringLiteral("3");
        QCOMPARE(r.CercaAvanzata(caselle).size(), 2);
        caselle[cLuogo] = QStringLiteral("A");
        QVERIFY(r.CercaAvanzata(caselle).isEmpty());
        caselle = {};
        caselle[cSoggetti] = QStringLiteral("\"");
        QVERIFY(r.CercaAvanzata(caselle).isEmpty());
        // One statement with nine parameters, never the photo column.
        const QByteArray sql = TRicercaSchede::StatementoAvanzato("amici");
        QCOMPARE(sql.count('?'), 9);
        QVERIFY(!sql.toLower().contains("picture"));
        QVERIFY(!sql.contains('*'));
    }

    void numeroPerRigaELetture() {
        TRicercaSchede r(m_amici);
        // Two cards with equal lines: the first of the result is the one found.
        Inserisci(m_amici, {"D1", "uguale", "2", "50", "", "prima", ""}, QByteArray(1000, 'x'));
        Inserisci(m_amici, {"D1", "uguale", "2", "50", "", "seconda", ""});
        Inserisci(m_amici, {"D2", "altra", "2", "50", "", "", ""});
        const QStringList righe = r.CercaPerCriterio(QStringLiteral("Riferimento"), QStringLiteral("D"));
        QCOMPARE(righe.size(), 3);
        QCOMPARE(r.NumeroPerRiga(righe[0]), std::optional<qint64>(1));
        QCOMPARE(r.NumeroPerRiga(righe[1]), std::optional<qint64>(1));
        QCOMPARE(r.NumeroPerRiga(righe[2] + QStringLiteral("  ")), std::optional<qint64>(3));
        QCOMPARE(r.NumeroPerRiga(QStringLiteral("Rif. nessuna")), std::nullopt);
        // The list reads ID and text columns only.
        QCOMPARE(MessaggioDi([&] { r.Risultato()->ColumnIndex("Picture"); }),
                 QStringLiteral("Field not found in dataset: Picture"));

        // Show and close put the first card back as the result table.
        r.ApriPrimaScheda();
        QCOMPARE(r.Risultato()->Count(), 1u);
        QCOMPARE(r.Risultato()->ColumnInteger(r.Risultato()->ColumnIndex("ID")), 1);
        // A failed search holds no result table, and then nothing can be opened.
        QFile::remove(m_dir.filePath(QStringLiteral("Monolocali.db")));
        QFile f(m_dir.filePath(QStringLiteral("Monolocali.db")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'z')); // not a database
        f.close();
        QVERIFY(MessaggioDi([&] { r.CercaPerCriterio(QStringLiteral("Riferimento"), QString()); }) !=
                QStringLiteral("<nessun errore>"));
        QVERIFY(!r.Risultato());
        QCOMPARE(r.NumeroPerRiga(righe[0]), std::nullopt);
    }

    void ogniCategoriaLaSuaTabella() {
        const TCategoria& box = *Categorie::PerTabella(QStringLiteral("sposi"));
        Inserisci(box, {"G1", "Garage", "", "", "", "", ""});
        Inserisci(m_amici, {"M1", "Monolocale", "", "", "", "", ""});
        TRicercaSchede r(box);
        QCOMPARE(r.CercaPerCriterio(QStringLiteral("Riferimento"), QString()),
                 QStringList({Riga("G1", "", "", "", "Garage")}));
        QVERIFY(TRicercaSchede::StatementoCriterio("sposi", "varTitolo").contains("FROM sposi WHERE"));
    }
};

QTEST_GUILESS_MAIN(TestTrova)
#include "test_trova.moc"
