// LIKE over Windows-1252 bytes, installed on every connection of the access layer.
#include "store/Like1252.h"
#include "store/TSQLiteDatabase.h"
#include "store/Win1252.h"
#include "support/Supporto.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray B(const QString& s) { return Win1252::DaTesto(s); }
} // namespace

class TestLike1252 : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void tabellaDeiModelli_data() {
        QTest::addColumn<QString>("modello");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("atteso");
        const auto r = [](const char* nome, const QString& m, const QString& t, bool a) {
            QTest::newRow(nome) << m << t << a;
        };
        r("vuoto con vuoto", "", "", true);
        r("vuoto con testo", "", "a", false);
        r("percento su vuoto", "%", "", true);
        r("due percento", "%%", "", true);
        r("contiene", "%bagno%", "Trilocale con bagno e cucina", true);
        r("non contiene", "%bagno%", "Trilocale con cucina", false);
        r("maiuscole A-Z", "%BAGNO%", "doppio bagno", true);
        r("inizio", "tri%", "Trilocale", true);
        r("fine", "%ale", "Trilocale", true);
        r("fine mancata", "%ala", "Trilocale", false);
        r("un carattere", "R_", "R1", true);
        r("un carattere, due nel testo", "R_", "R12", false);
        r("un carattere su vuoto", "_", "", false);
        r("trattino basso e percento", "%1_0%", "prezzo 120.000", true);
        r("ritorno sul percento", "%aab", "aaab", true);
        r("molti percento", "%a%b%c%", "xxaxxbxxcxx", true);
        r("molti percento, ordine sbagliato", "%c%b%a%", "abc", false);
        // Accented letters are one byte each and compared exactly.
        r("accento uguale", "%città%", "La città vecchia", true);
        r("accenti diversi", "%città%", "La cittè vecchia", false);
        r("accento contro lettera semplice", "%citta%", "città", false);
        r("maiuscola accentata non piegata", "%CITTÀ%", "città", false);
        r("trattino basso su lettera accentata", "citt_", "città", true);
        r("euro un carattere", "_ 250", "€ 250", true);
        r("euro cercato", "%€%", "Prezzo: € 90.000", true);
        r("euro assente", "%€%", "Prezzo: 90.000", false);
        // 0xC0 and above do not start multi-byte sequences here.
        r("byte alto seguito da testo", "%Àb%", "xÀbc", true);
        r("byte alto non inghiotte", "À_c", "Àbc", true);
        r("byte alto non inghiotte, lunghezza", "À_", "Àbc", false);
        r("virgolette sono caratteri", "%\"%", "nessuna", false);
        r("virgolette trovate", "%\"%", "12\" pollici", true);
    }
    void tabellaDeiModelli() {
        QFETCH(QString, modello);
        QFETCH(QString, testo);
        QFETCH(bool, atteso);
        QCOMPARE(Like1252::Confronta(B(modello), B(testo)), atteso);

        // The same through SQL on a connection of the access layer.
        TSQLiteDatabase db(m_dir.filePath(QStringLiteral("like.db")));
        auto t = db.Query("SELECT ? LIKE ?", {B(testo), B(modello)});
        QCOMPARE(t->ColumnText(0), QByteArray(atteso ? "1" : "0"));
    }

    void carattereDiEscapeENull() {
        QVERIFY(Like1252::Confronta("100!%", "100%", '!'));
        QVERIFY(!Like1252::Confronta("100!%", "1000", '!'));
        QVERIFY(Like1252::Confronta("a!_b", "a_b", '!'));
        QVERIFY(!Like1252::Confronta("a!_b", "axb", '!'));
        QVERIFY(!Like1252::Confronta("abc!", "abc", '!')); // an escape at the end matches nothing

        TSQLiteDatabase db(m_dir.filePath(QStringLiteral("escape.db")));
        QCOMPARE(db.Query("SELECT '10%' LIKE '10!%' ESCAPE '!'")->ColumnText(0), QByteArray("1"));
        QCOMPARE(db.Query("SELECT '105' LIKE '10!%' ESCAPE '!'")->ColumnText(0), QByteArray("0"));
        QCOMPARE(db.Query("SELECT like('a%', 'abc')")->ColumnText(0), QByteArray("1"));
        QCOMPARE(MessaggioDi([&] { db.Query("SELECT 'a' LIKE 'a' ESCAPE 'xy'"); }).contains(
                     QStringLiteral("ESCAPE expression must be a single character")),
                 true);
        QVERIFY(db.Query("SELECT NULL LIKE '%'")->ColumnIsNull(0));
        QVERIFY(db.Query("SELECT 'a' LIKE NULL")->ColumnIsNull(0));
        QVERIFY(db.Query("SELECT 'a' LIKE 'a' ESCAPE NULL")->ColumnIsNull(0));
        QCOMPARE(db.Query("SELECT 120 LIKE '%2%'")->ColumnText(0), QByteArray("1"));
        // As the platform's SQLite does, a BLOB value never matches.
        QCOMPARE(db.Query("SELECT x'6162' LIKE '%'")->ColumnText(0), QByteArray("0"));
    }

    void valoriInTabellaEdOgniConnessione() {
        const QString file = m_dir.filePath(QStringLiteral("tabella.db"));
        {
            TSQLiteDatabase db(file);
            db.Execute("CREATE TABLE t (ID INTEGER PRIMARY KEY, v BLOB)");
            for (const char* v : {"città", "cittè", "CITTÀ", "Città alta"})
                db.Execute("INSERT INTO t (v) VALUES (?)", {B(QString::fromUtf8(v))});
        }
        // A connection opened afterwards has the same LIKE.
        TSQLiteDatabase db(file);
        auto t = db.Query("SELECT ID FROM t WHERE v LIKE ? ORDER BY ID", {B(QStringLiteral("%città%"))});
        QCOMPARE(t->Count(), 2u);
        QCOMPARE(t->ColumnInteger(0), 1);
        t->Next();
        QCOMPARE(t->ColumnInteger(0), 4);
    }

    void modelloDiversoPerOgniRiga() {
        // The pattern analysed for one row must never serve the next row's pattern.
        TSQLiteDatabase db(m_dir.filePath(QStringLiteral("coppie.db")));
        db.Execute("CREATE TABLE coppie (ID INTEGER PRIMARY KEY, m BLOB, t BLOB)");
        const char* coppie[][2] = {{"%a%", "xax"}, {"%b%", "xax"}, {"%", "x"}, {"x_", "xy"}, {"%", "€"}, {"€%", "€ 1"}};
        for (const auto& c : coppie)
            db.Execute("INSERT INTO coppie (m, t) VALUES (?, ?)", {B(QString::fromUtf8(c[0])), B(QString::fromUtf8(c[1]))});
        auto t = db.Query("SELECT t LIKE m FROM coppie ORDER BY ID");
        QByteArray esiti;
        do esiti += t->ColumnText(0);
        while (t->Next() && !t->Eof());
        QCOMPARE(esiti, QByteArray("101111"));
        // The same constant pattern over many rows, with an escape character.
        db.Execute("CREATE TABLE molte (v BLOB)");
        for (int i = 0; i < 200; ++i) db.Execute("INSERT INTO molte VALUES (?)", {QByteArray::number(i) + (i % 3 ? "%" : "")});
        QCOMPARE(db.Query("SELECT COUNT(*) FROM molte WHERE v LIKE '%!%' ESCAPE '!'")->ColumnInteger(0), 133);
        QCOMPARE(db.Query("SELECT COUNT(*) FROM molte WHERE v LIKE '1%'")->ColumnInteger(0), 111);
    }

    void modelliConMoltiPercento() {
        // Many '%' against a long text that never matches: a backtracking matcher
        // would not end here before the test's time limit.
        const QByteArray testo(20000, 'a');
        const QByteArray modello = QByteArray("%a").repeated(40) + "%b";
        QVERIFY(!Like1252::Confronta(modello, testo));
        QVERIFY(Like1252::Confronta(modello, testo + 'b'));
    }
};

QTEST_GUILESS_MAIN(TestLike1252)
#include "test_like1252.moc"
