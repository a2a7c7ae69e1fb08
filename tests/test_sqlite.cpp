// The database access layer: messages, column kinds, bytes on disk, locking.
#include "support/Supporto.h"
#include "store/TSQLiteDatabase.h"
#include "store/Win1252.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <semaphore>
#include <thread>

namespace {

// A raw connection, independent of the layer, to look at the file as stored.
QByteArray Valore(const QString& file, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QByteArray r = "<errore>";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        r = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return r;
}

} // namespace

class TestSQLite : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString File(const char* nome) const { return m_dir.filePath(QString::fromLatin1(nome)); }

private slots:
    void apertura() {
        const QString f = File("nuovo.db");
        { TSQLiteDatabase db(f); }
        QVERIFY(QFile::exists(f));

        const QString assente = File("manca/dentro.db");
        try {
            TSQLiteDatabase db(assente);
            QFAIL("opened a file in a missing folder");
        } catch (const ESQLiteException& e) {
            QCOMPARE(e.Messaggio(), QStringLiteral("Failed to open database \"%1\" : unable to open database file").arg(assente));
            QCOMPARE(e.Codice() & 0xFF, SQLITE_CANTOPEN);
        }
    }

    void messaggiDelleOperazioni() {
        TSQLiteDatabase db(File("messaggi.db"));
        db.Execute("CREATE TABLE t (ID INTEGER PRIMARY KEY, b BLOB)");
        QCOMPARE(MessaggioDi([&] { db.Execute("SELEC 1"); }),
                 QStringLiteral("Error executing SQL \"SELEC 1\" : near \"SELEC\": syntax error"));
        QCOMPARE(MessaggioDi([&] { db.Execute("-- solo un commento"); }), QStringLiteral("Could not prepare SQL statement"));
        QVERIFY(MessaggioDi([&] { db.Execute("SELECT 1"); }).startsWith(QStringLiteral("Error executing SQL statement \"SELECT 1\"")));
        QCOMPARE(MessaggioDi([&] { db.Query("SELECT * FROM nulla"); }),
                 QStringLiteral("Error executing SQL \"SELECT * FROM nulla\" : no such table: nulla"));
        QCOMPARE(MessaggioDi([&] { db.ExecuteWithBlob("UPDATE t SET b = 1", "x"); }),
                 QStringLiteral("SQL must include a ? parameter"));
        QCOMPARE(MessaggioDi([&] { db.ExecuteWithBlob("UPDATE t SET b = ?", QByteArray()); }),
                 QStringLiteral("Error getting memory to save blob"));
        db.StartTransaction();
        QCOMPARE(MessaggioDi([&] { db.StartTransaction(); }), QStringLiteral("Transaction already open"));
        db.Commit();
        QVERIFY(!db.InTransaction());

        auto vuota = db.Query("SELECT * FROM t");
        QCOMPARE(vuota->Count(), 0u);
        QVERIFY(vuota->Eof());
        QVERIFY(!vuota->First() && !vuota->Last() && !vuota->Next());
        QCOMPARE(MessaggioDi([&] { vuota->ColumnIndex("b"); }), QStringLiteral("Field b Not found. Empty dataset"));

        db.Execute("INSERT INTO t VALUES (7, 'x')");
        auto t = db.Query("SELECT * FROM t");
        QCOMPARE(MessaggioDi([&] { t->ColumnIndex("nulla"); }), QStringLiteral("Field not found in dataset: nulla"));
        QCOMPARE(MessaggioDi([&] { t->ColumnBlob(t->ColumnIndex("id")); }), QStringLiteral("Not a Blob field"));
        QCOMPARE(MessaggioDi([&] { t->ColumnInteger(t->ColumnIndex("B")); }), QStringLiteral("Not an integer or numeric field"));
        QVERIFY(!t->GoToRow(-1) && !t->GoToRow(1) && !t->Eof());
        QVERIFY(t->Next() && t->Eof() && !t->Next());
        QCOMPARE(MessaggioDi([&] { t->ColumnIsNull(0); }), QStringLiteral("Table is at End of File"));
        QCOMPARE(MessaggioDi([&] { t->ColumnInteger(0); }), QStringLiteral("Table is at End of File"));
        QCOMPARE(MessaggioDi([&] { t->ColumnBlobText(1); }), QStringLiteral("Table is at End of File"));
    }

    void tipiDiColonnaELetture() {
        TSQLiteDatabase db(File("tipi.db"));
        db.Execute("CREATE TABLE k (i INTEGER, dd Double, bo BOOLEAN, r REAL, n NUMERIC, v VARCHAR(20), b BLOB, t TEXT)");
        db.Execute("INSERT INTO k VALUES ('12', 5, 1, -2.7, 3.9, 42, X'00FF41', X'41004200')");
        db.Execute("INSERT INTO k VALUES (NULL, NULL, NULL, NULL, NULL, NULL, X'', NULL)");
        auto k = db.Query("SELECT * FROM k");
        QCOMPARE(k->ColumnCount(), 8);
        QCOMPARE(k->ColumnInteger(k->ColumnIndex("I")), 12);     // text in an INTEGER column
        // Declared types are compared exactly: "Double" is not "DOUBLE".
        QCOMPARE(MessaggioDi([&] { k->ColumnInteger(k->ColumnIndex("dd")); }), QStringLiteral("Not an integer or numeric field"));
        QCOMPARE(k->ColumnText(k->ColumnIndex("DD")), QByteArray("5.0"));
        QCOMPARE(k->ColumnInteger(k->ColumnIndex("bo")), 1);
        QCOMPARE(k->ColumnInteger(k->ColumnIndex("r")), -2);     // truncated toward zero
        QCOMPARE(k->ColumnInteger(k->ColumnIndex("n")), 3);
        QCOMPARE(k->ColumnText(k->ColumnIndex("v")), QByteArray("42"));
        QCOMPARE(k->ColumnBlobText(k->ColumnIndex("b")), QByteArray("\x00\xFF\x41", 3));
        QCOMPARE(k->ColumnText(k->ColumnIndex("t")), QByteArray("A")); // cut at the zero byte
        QVERIFY(k->Next());
        QVERIFY(k->ColumnIsNull(k->ColumnIndex("i")));
        QCOMPARE(k->ColumnInteger(k->ColumnIndex("i")), 0);
        const int b = k->ColumnIndex("b");
        QVERIFY(k->ColumnIsNull(b)); // a zero-byte blob is no cell
        QVERIFY(k->ColumnBlob(b) == nullptr);
        QCOMPARE(k->ColumnBlobText(b), QByteArray());

        // No declared type, first row NULL: the later values are read as text.
        auto e = db.Query("SELECT CASE WHEN i IS NULL THEN 99 ELSE NULL END AS x FROM k ORDER BY i IS NULL");
        QVERIFY(e->ColumnIsNull(0));
        e->Next();
        QCOMPARE(e->ColumnText(0), QByteArray("99"));
        QCOMPARE(MessaggioDi([&] { e->ColumnInteger(0); }), QStringLiteral("Not an integer or numeric field"));
    }

    void soloLaPrimaIstruzione() {
        TSQLiteDatabase db(File("prima.db"));
        db.Execute("CREATE TABLE t (a); CREATE TABLE u (a)");
        QVERIFY(db.HasTable("t"));
        QVERIFY(!db.HasTable("u"));
        db.Execute("INSERT INTO t VALUES (1); INSERT INTO t VALUES (2)");
        QCOMPARE(db.Query("SELECT COUNT(*) FROM t")->ColumnInteger(0), 1);
        db.Execute("CREATE TABLE Vacanze (a)");
        QVERIFY(db.HasTable("VACANZE") && db.HasTable("vacanze"));
        QVERIFY(!db.HasTable("x' OR '1'='1"));
    }

    void byteWindows1252SulDisco() {
        const QString f = File("testi.db");
        TSQLiteDatabase db(f);
        db.Execute("CREATE TABLE t (ID INTEGER PRIMARY KEY, varNote BLOB)");
        db.Execute("INSERT INTO t VALUES (NULL, ?)", {Win1252::DaTesto(QString::fromUtf8("caffè"))});
        db.Execute("INSERT INTO t VALUES (NULL, ?)", {"ID"});
        db.Execute("INSERT INTO t VALUES (NULL, ?)", {QByteArray()});
        QCOMPARE(Valore(f, "SELECT typeof(varNote) || ' ' || hex(varNote) FROM t WHERE ID=1"), QByteArray("text 63616666E8"));
        QCOMPARE(Valore(f, "SELECT typeof(varNote) || ':' || varNote FROM t WHERE ID=2"), QByteArray("text:ID"));
        QCOMPARE(Valore(f, "SELECT typeof(varNote) || ':' || length(varNote) FROM t WHERE ID=3"), QByteArray("text:0"));

        auto t = db.Query("SELECT ID FROM t WHERE varNote LIKE ?", {"%caffe%"});
        QCOMPARE(t->Count(), 0u);
        t = db.Query("SELECT ID, varNote FROM t WHERE varNote LIKE ?", {Win1252::DaTesto(QString::fromUtf8("%Fè%"))});
        QCOMPARE(t->Count(), 1u);
        QCOMPARE(Win1252::ATesto(t->ColumnBlobText(1)), QString::fromUtf8("caffè"));

        db.ExecuteWithBlob("UPDATE t SET varNote = ? WHERE ID = 3", QByteArray("\xFF\xD8\x00\x01", 4));
        QCOMPARE(Valore(f, "SELECT typeof(varNote) || ' ' || hex(varNote) FROM t WHERE ID=3"), QByteArray("blob FFD80001"));
        QCOMPARE(MessaggioDi([&] { db.Execute("INSERT INTO t VALUES (NULL, ?)", {"a", "b"}); }).left(30),
                 QStringLiteral("Error binding text to database"));
    }

    void transazioniETabelleStaccate() {
        const QString f = File("trans.db");
        std::unique_ptr<TSQLiteTable> t;
        {
            TSQLiteDatabase db(f);
            db.Execute("CREATE TABLE t (a INTEGER)");
            db.StartTransaction();
            db.Execute("INSERT INTO t VALUES (1)");
            db.Commit();
            db.StartTransaction();
            db.Execute("INSERT INTO t VALUES (2)");
            QCOMPARE(db.LastInsertRowId(), 2);
            t = db.Query("SELECT a FROM t ORDER BY a");
        }
        // The table outlives its connection, and the open transaction was rolled back.
        QCOMPARE(t->Count(), 2u);
        QVERIFY(t->Last());
        QCOMPARE(t->ColumnInteger(0), 2);
        QCOMPARE(Valore(f, "SELECT group_concat(a) FROM t"), QByteArray("1"));
    }

    void bloccoDiUnAltroProgramma() {
        const QString f = File("blocco.db");
        TSQLiteDatabase db(f);
        db.Execute("CREATE TABLE t (a INTEGER)");
        {
            TSQLiteDatabase altro(f);
            altro.Execute("BEGIN IMMEDIATE;");
            db.ImpostaAttesa(50);
            try {
                db.Execute("INSERT INTO t VALUES (1)");
                QFAIL("write went through a held lock");
            } catch (const ESQLiteException& e) {
                QCOMPARE(e.Messaggio(),
                         QStringLiteral("Error executing SQL statement \"INSERT INTO t VALUES (1)\" : database is locked"));
                QCOMPARE(e.Codice() & 0xFF, SQLITE_BUSY);
            }
            altro.Execute("COMMIT;");
            altro.Execute("BEGIN EXCLUSIVE;");
            try {
                db.Query("SELECT * FROM t");
                QFAIL("read went through an exclusive lock");
            } catch (const ESQLiteException& e) {
                QCOMPARE(e.Messaggio(), QStringLiteral("Could not prepare SQL statement"));
                QCOMPARE(e.Codice() & 0xFF, SQLITE_BUSY);
            }
            altro.Execute("ROLLBACK;");
        }

        // A lock released while the change waits: the change goes through.
        db.ImpostaAttesa(TSQLiteDatabase::AttesaBlocco);
        std::binary_semaphore preso(0);
        std::thread tiene([&] {
            sqlite3* h = nullptr;
            sqlite3_open(f.toUtf8().constData(), &h);
            sqlite3_exec(h, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
            preso.release();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            sqlite3_exec(h, "INSERT INTO t VALUES (10); COMMIT;", nullptr, nullptr, nullptr);
            sqlite3_close(h);
        });
        preso.acquire();
        QString errore;
        try {
            db.Execute("INSERT INTO t VALUES (20)");
        } catch (const ESQLiteException& e) {
            errore = e.Messaggio();
        }
        tiene.join();
        QCOMPARE(errore, QString());
        QCOMPARE(Valore(f, "SELECT group_concat(a) FROM (SELECT a FROM t ORDER BY a)"), QByteArray("10,20"));
    }

    void cartellaDiSolaLettura() {
        if (const char* perche = PermessiSenzaEffetto()) QSKIP(perche);
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString f = dir.filePath(QStringLiteral("x.db"));
        const QString m = MessaggioDi([&] { TSQLiteDatabase db(f); });
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(m, QStringLiteral("Failed to open database \"%1\" : unable to open database file").arg(f));
    }
};

QTEST_GUILESS_MAIN(TestSQLite)
#include "test_sqlite.moc"
