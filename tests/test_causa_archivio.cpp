// The Italian cause that opens the error box for an archive error, chosen from
// the result code SQLite reported (primary or extended).
#include "platform/ErroreSistema.h"
#include "store/CausaArchivio.h"
#include "store/TSQLiteDatabase.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace {

const QString InUso = QString::fromUtf8("l'archivio è in uso da parte di un altro utente o di un altro computer. "
                                        "Riprovare tra qualche istante.");
const QString SolaLettura = QString::fromUtf8("l'archivio o la cartella del programma è di sola lettura. Accertarsi "
                                              "di possedere i privilegi di scrittura nella cartella di installazione "
                                              "del programma.");
const QString Pieno = QString::fromUtf8("il disco è pieno.");
const QString Disco = QString::fromUtf8("si è verificato un errore di lettura o scrittura sul disco.");
const QString Danneggiato = QString::fromUtf8("l'archivio è danneggiato.");

const QString Testo = QStringLiteral("Error executing SQL statement \"UPDATE amici SET picture = ? WHERE ID = 1\" : x");

QString Maiuscola(QString s)
{
    s[0] = s[0].toUpper();
    return s;
}

} // namespace

class TestCausaArchivio : public QObject {
    Q_OBJECT
private slots:
    void causaPerCodice_data()
    {
        QTest::addColumn<int>("codice");
        QTest::addColumn<QString>("causa");
        // Each cause by its primary code and by extended codes SQLite really returns.
        QTest::newRow("BUSY") << SQLITE_BUSY << InUso;
        QTest::newRow("BUSY_SNAPSHOT") << SQLITE_BUSY_SNAPSHOT << InUso;
        QTest::newRow("BUSY_RECOVERY") << SQLITE_BUSY_RECOVERY << InUso;
        QTest::newRow("LOCKED") << SQLITE_LOCKED << InUso;
        QTest::newRow("LOCKED_SHAREDCACHE") << SQLITE_LOCKED_SHAREDCACHE << InUso;
        QTest::newRow("READONLY") << SQLITE_READONLY << SolaLettura;
        QTest::newRow("READONLY_DBMOVED") << SQLITE_READONLY_DBMOVED << SolaLettura;
        QTest::newRow("READONLY_DIRECTORY") << SQLITE_READONLY_DIRECTORY << SolaLettura;
        QTest::newRow("FULL") << SQLITE_FULL << Pieno;
        QTest::newRow("IOERR") << SQLITE_IOERR << Disco;
        QTest::newRow("IOERR_WRITE") << SQLITE_IOERR_WRITE << Disco;
        QTest::newRow("IOERR_FSYNC") << SQLITE_IOERR_FSYNC << Disco;
        QTest::newRow("IOERR_SHORT_READ") << SQLITE_IOERR_SHORT_READ << Disco;
        QTest::newRow("CORRUPT") << SQLITE_CORRUPT << Danneggiato;
        QTest::newRow("CORRUPT_INDEX") << SQLITE_CORRUPT_INDEX << Danneggiato;
        QTest::newRow("NOTADB") << SQLITE_NOTADB << Danneggiato;
    }

    void causaPerCodice()
    {
        QFETCH(int, codice);
        QFETCH(QString, causa);
        const ESQLiteException e(Testo, codice);
        QCOMPARE(CausaArchivio(e), causa);
        // The error box: the cause as a sentence, an empty line, the layer's text with its full stop.
        const QString box = Maiuscola(causa) + QStringLiteral("\n\n") + Testo;
        QCOMPARE(TestoErroreArchivio(e), box);
        QCOMPARE(TestoErroreApplicazione(std::make_exception_ptr(e)), box + QStringLiteral("."));
    }

    // A write that failed with an I/O error: the system's code, as SQLite hands it on
    // (errno on Linux, GetLastError's on Windows), tells a full disk from the file's
    // largest size; the other system's number for the same thing means something else.
    void causaPerCodiceDiSistema_data()
    {
        QTest::addColumn<int>("sistema");
        QTest::addColumn<QString>("causa");
        const QString Grande = QString::fromUtf8("il file dell'archivio ha raggiunto la dimensione massima "
                                                 "consentita dal disco.");
#ifdef _WIN32
        QTest::newRow("DISK_FULL") << int(ERROR_DISK_FULL) << Pieno;
        QTest::newRow("HANDLE_DISK_FULL") << int(ERROR_HANDLE_DISK_FULL) << Pieno;
        QTest::newRow("FILE_TOO_LARGE") << int(ERROR_FILE_TOO_LARGE) << Grande;
        QTest::newRow("ENOSPC's number (OUT_OF_PAPER)") << 28 << Disco;
        QTest::newRow("EFBIG's number (SECTOR_NOT_FOUND)") << 27 << Disco;
#else
        QTest::newRow("ENOSPC") << ENOSPC << Pieno;
        QTest::newRow("EDQUOT") << EDQUOT << Pieno;
        QTest::newRow("EFBIG") << EFBIG << Grande;
        QTest::newRow("ERROR_DISK_FULL's number") << 112 << Disco;
#endif
        QTest::newRow("nessun codice") << 0 << Disco;
    }

    void causaPerCodiceDiSistema()
    {
        QFETCH(int, sistema);
        QFETCH(QString, causa);
        QCOMPARE(CausaArchivio(ESQLiteException(Testo, SQLITE_IOERR_WRITE, QString(), sistema)), causa);
    }

    // Codes that name nothing a user can act on: the layer's own text says it.
    void causaNonNota_data()
    {
        QTest::addColumn<int>("codice");
        QTest::newRow("nessun codice") << 0;
        QTest::newRow("ERROR") << SQLITE_ERROR;
        QTest::newRow("CONSTRAINT_TRIGGER") << SQLITE_CONSTRAINT_TRIGGER;
        QTest::newRow("TOOBIG") << SQLITE_TOOBIG;
        QTest::newRow("MISUSE") << SQLITE_MISUSE;
        QTest::newRow("NOMEM") << SQLITE_NOMEM;
        // An extended code whose low byte is none of the named ones.
        QTest::newRow("ERROR_RETRY") << SQLITE_ERROR_RETRY;
    }

    void causaNonNota()
    {
        QFETCH(int, codice);
        const ESQLiteException e(Testo, codice);
        QCOMPARE(CausaArchivio(e),
                 QString::fromUtf8("si è verificato un errore nell'accesso all'archivio (%1).").arg(Testo));
        QCOMPARE(TestoErroreArchivio(e), Testo);
        QCOMPARE(TestoErroreApplicazione(std::make_exception_ptr(e)), Testo + QStringLiteral("."));
    }

    // The codes come from SQLite itself, through the access layer.
    void codiciDaSQLite()
    {
        QTemporaryDir dir;
        const QString rotto = dir.filePath(QStringLiteral("rotto.db"));
        {
            QFile f(rotto);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        try {
            TSQLiteDatabase db(rotto);
            db.HasTable("amici");
            QFAIL("a file that is not an archive was read");
        } catch (const ESQLiteException& e) {
            QCOMPARE(CausaArchivio(e), Danneggiato);
        }

        // A folder the user can write is not taken for a read-only one (on Windows, by its ACL).
        QVERIFY(CartellaScrivibile(dir.path()));

        const QString f = dir.filePath(QStringLiteral("bloccato.db"));
        TSQLiteDatabase db(f);
        db.Execute("CREATE TABLE t (a)");
        TSQLiteDatabase altro(f);
        altro.Execute("BEGIN IMMEDIATE;");
        db.ImpostaAttesa(0);
        try {
            db.Execute("INSERT INTO t VALUES (1)");
            QFAIL("write went through a held lock");
        } catch (const ESQLiteException& e) {
            QCOMPARE(CausaArchivio(e), InUso);
        }
        altro.Execute("ROLLBACK;");

        // A connection that may only read: the cause says so.
        db.Execute("PRAGMA query_only = 1");
        try {
            db.Execute("INSERT INTO t VALUES (1)");
            QFAIL("write went through a read-only connection");
        } catch (const ESQLiteException& e) {
            QCOMPARE(e.Codice() & 0xFF, SQLITE_READONLY);
            QCOMPARE(CausaArchivio(e), SolaLettura);
        }
    }
};

QTEST_GUILESS_MAIN(TestCausaArchivio)
#include "test_causa_archivio.moc"
