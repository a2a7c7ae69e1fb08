#include "support/Supporto.h"
#include "store/Password.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


namespace {

QByteArray Leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Scrivi(const QString& percorso, const QByteArray& contenuto)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenuto);
}

} // namespace

class TestPassword : public QObject {
    Q_OBJECT
private slots:
    void codifica()
    {
        // Key 20963 (0x51E3): 'A' ^ 0x51 = 0x10; next key 0xD45C, 'B' ^ 0xD4 = 0x96.
        QCOMPARE(CodificaPassword("A"), QString("10"));
        QCOMPARE(CodificaPassword("AB"), QString("1096"));
        QCOMPARE(CodificaPassword(QByteArray()), QString());
        QCOMPARE(*DecodificaPassword("1096"), QByteArray("AB"));
        QCOMPARE(*DecodificaPassword("10d"), QByteArray("A")); // odd digit ignored, lower case
        QCOMPARE(*DecodificaPassword("1"), QByteArray());

        // Round trips of every byte value and of lengths beyond 255.
        QByteArray tutti;
        for (int i = 0; i < 256; ++i)
            tutti += char(i);
        const QByteArray lunga = tutti + tutti.left(44); // 300 bytes
        for (const QByteArray& chiaro : {tutti, lunga, QByteArray("CASA\xE8")}) {
            const QString hex = CodificaPassword(chiaro);
            QCOMPARE(hex.size(), chiaro.size() * 2);
            QCOMPARE(hex, hex.toUpper());
            QCOMPARE(*DecodificaPassword(hex), chiaro);
            QCOMPARE(*DecodificaPassword(hex.toLower()), chiaro);
        }

        for (const char* cattivo : {"1G", "G1", "10 6", "10-6", "1\xC3\xA8"})
            QVERIFY(!DecodificaPassword(QString::fromUtf8(cattivo)).has_value());
        QVERIFY(DecodificaPassword("10G").has_value()); // the lone last digit is not read
    }

    void formaCanonica()
    {
        QCOMPARE(FormaCanonica("  casa mia\t\r\n"), QByteArray("CASA MIA"));
        QCOMPARE(FormaCanonica(QString::fromUtf8("perché")), QByteArray("PERCH\xE9"));
        QCOMPARE(FormaCanonica(QString::fromUtf8("PERCHÉ")), QByteArray("PERCH\xC9"));

        // Every ASCII letter, both ends of the alphabet included; the neighbours of
        // the two alphabets stay as typed.
        QCOMPARE(FormaCanonica("abcdefghijklmnopqrstuvwxyz"), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(FormaCanonica("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(FormaCanonica("@[`{0~"), QByteArray("@[`{0~"));
        // Letters beyond ASCII keep their case, also those that have an upper case in Latin-1.
        QCOMPARE(FormaCanonica(QString::fromUtf8("àéìòùçñäöüÿšžœ")),
                 QByteArray("\xE0\xE9\xEC\xF2\xF9\xE7\xF1\xE4\xF6\xFC\xFF\x9A\x9E\x9C"));

        // Every code below 33 goes from both ends, none from the middle; 33 and 127 stay.
        QString controlli;
        for (int c = 1; c <= 32; ++c)
            controlli += QChar(char16_t(c));
        QCOMPARE(FormaCanonica(controlli + "a\tz" + controlli), QByteArray("A\tZ"));
        QCOMPARE(FormaCanonica(QString(QChar(0)) + "x" + QChar(0)), QByteArray("X"));
        QCOMPARE(FormaCanonica("!z!"), QByteArray("!Z!"));
        QCOMPARE(FormaCanonica("\x7Fz\x7F"), QByteArray("\x7FZ\x7F"));
        QCOMPARE(FormaCanonica(QString::fromUtf8("\u00A0z\u00A0")), QByteArray("\xA0Z\xA0"));
    }

    // A password stored in capitals by another copy of the program opens with
    // the letters typed in any case.
    void ogniLetteraInOgniCaso()
    {
        QTemporaryDir dir;
        Scrivi(QDir(dir.path()).filePath(FilePassword),
               "[Accesso]\r\nValore=" + CodificaPassword("ABCDEFGHIJKLMNOPQRSTUVWXYZ").toLatin1() + "\r\n");
        QCOMPARE(VerificaPassword(dir.path(), "abcdefghijklmnopqrstuvwxyz"), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(dir.path(), "aBcDeFgHiJkLmNoPqRsTuVwXyZ"), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(dir.path(), "ABCDEFGHIJKLMNOPQRSTUVWXY"), EsitoAccesso::Errata);
        // Written by this program from lower case, it is stored in capitals.
        QVERIFY(ScriviPassword(dir.path(), "zeta"));
        QCOMPARE(VerificaPassword(dir.path(), "ZETA"), EsitoAccesso::Giusta);
        QFile f(QDir(dir.path()).filePath(FilePassword));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("Valore=" + CodificaPassword("ZETA").toLatin1()));
    }

    void accesso()
    {
        QTemporaryDir dir;
        const QString cartella = dir.path();
        const QString file = QDir(cartella).filePath(FilePassword);

        // No file, then no section, then no key: nothing opens.
        QCOMPARE(VerificaPassword(cartella, "BENVENUTO"), EsitoAccesso::Errata);
        Scrivi(file, "[Altro]\r\nValore=10\r\n");
        QCOMPARE(VerificaPassword(cartella, "A"), EsitoAccesso::Errata);
        Scrivi(file, "[Accesso]\r\nAltro=10\r\n");
        QCOMPARE(VerificaPassword(cartella, "A"), EsitoAccesso::Errata);
        Scrivi(file, "[Accesso]\r\nValore=\r\n");
        QCOMPARE(VerificaPassword(cartella, ""), EsitoAccesso::Errata);

        QVERIFY(ScriviPassword(cartella, QString::fromUtf8("  benvenuto è ")));
        QCOMPARE(VerificaPassword(cartella, QString::fromUtf8("BenVenuto è")), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(cartella, QString::fromUtf8("\tbenvenuto è  ")), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(cartella, QString::fromUtf8("BENVENUTO È")), EsitoAccesso::Errata);
        QCOMPARE(VerificaPassword(cartella, "BENVENUTO"), EsitoAccesso::Errata);

        // Section and key names in any case, blanks around; stored blanks around the clear text.
        Scrivi(file, "; password\n[ accesso ]\nvalore = " + CodificaPassword("  AB ").toLatin1() + "\n");
        QCOMPARE(VerificaPassword(cartella, "ab"), EsitoAccesso::Giusta);

        Scrivi(file, "[Accesso]\r\nValore=10Z6\r\n");
        QCOMPARE(VerificaPassword(cartella, "A"), EsitoAccesso::ErroreLettura);
        Scrivi(file, "[Accesso]\r\nValore=10" "9\r\n"); // odd count: "A"
        QCOMPARE(VerificaPassword(cartella, "a"), EsitoAccesso::Giusta);

        // A folder where the file should be cannot be read.
        QFile::remove(file);
        QVERIFY(QDir(cartella).mkdir(FilePassword));
        QCOMPARE(VerificaPassword(cartella, "A"), EsitoAccesso::ErroreLettura);
    }

    void cambio()
    {
        QTemporaryDir dir;
        const QString cartella = dir.path();
        const QString file = QDir(cartella).filePath(FilePassword);
        Scrivi(file, "; installato\r\n[Generale]\r\nA=1\r\n\r\n[Accesso]\r\nValore=" + CodificaPassword("VECCHIA").toLatin1()
                         + "\r\nAltro=x\r\n\r\n[Fine]\r\nB=2");

        QCOMPARE(CambiaPassword(cartella, "sbagliata", "nuova", "nuova"), EsitoCambio::VecchiaErrata);
        QCOMPARE(CambiaPassword(cartella, "vecchia", "Nuova", "nuova"), EsitoCambio::ConfermaDiversa);
        QCOMPARE(CambiaPassword(cartella, "vecchia", "nuova", " nuova\t"), EsitoCambio::Cambiata);
        QCOMPARE(VerificaPassword(cartella, "NUOVA"), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(cartella, "vecchia"), EsitoAccesso::Errata);
        // Only the value changed.
        QCOMPARE(Leggi(file), "; installato\r\n[Generale]\r\nA=1\r\n\r\n[Accesso]\r\nValore="
                                  + CodificaPassword("NUOVA").toLatin1() + "\r\nAltro=x\r\n\r\n[Fine]\r\nB=2");

        QCOMPARE(CambiaPassword(cartella, "nuova", "x", "x"), EsitoCambio::Cambiata); // one character

        // Key missing in its section, and section missing: both added, the rest kept.
        Scrivi(file, "[Accesso]\nAltro=x\n\n[Fine]\nB=2\n");
        QVERIFY(ScriviPassword(cartella, "k"));
        QCOMPARE(Leggi(file), "[Accesso]\nAltro=x\nValore=" + CodificaPassword("K").toLatin1() + "\n\n[Fine]\nB=2\n");
        Scrivi(file, "[Fine]\nB=2");
        QVERIFY(ScriviPassword(cartella, "k"));
        QCOMPARE(Leggi(file), "[Fine]\nB=2\n[Accesso]\nValore=" + CodificaPassword("K").toLatin1() + "\n");

        // A stored value that is not hexadecimal: change error, file untouched.
        Scrivi(file, "[Accesso]\r\nValore=XY\r\n");
        QCOMPARE(CambiaPassword(cartella, "k", "n", "n"), EsitoCambio::Errore);
        QCOMPARE(Leggi(file), QByteArray("[Accesso]\r\nValore=XY\r\n"));
        // No file at all: the old password can never match.
        QFile::remove(file);
        QCOMPARE(CambiaPassword(cartella, "", "n", "n"), EsitoCambio::VecchiaErrata);
        QVERIFY(!QFile::exists(file));
        // A blank password is never written.
        QVERIFY(!ScriviPassword(cartella, " \t"));
    }

    void scritturaImpossibile()
    {
        QTemporaryDir dir;
        // A file in place of the folder: nothing can be written below it.
        const QString nonCartella = dir.filePath("file");
        Scrivi(nonCartella, "x");
        QVERIFY(!ScriviPassword(nonCartella, "A"));

        const QString cartella = dir.filePath("sola_lettura");
        QVERIFY(QDir().mkdir(cartella));
        QVERIFY(ScriviPassword(cartella, "VECCHIA"));
        const QByteArray prima = Leggi(QDir(cartella).filePath(FilePassword));
        if (const char* perche = PermessiSenzaEffetto()) QSKIP(perche);
        QVERIFY(QFile::setPermissions(cartella, QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(CambiaPassword(cartella, "vecchia", "nuova", "nuova"), EsitoCambio::Errore);
        QFile::setPermissions(cartella, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Leggi(QDir(cartella).filePath(FilePassword)), prima);
        QCOMPARE(VerificaPassword(cartella, "vecchia"), EsitoAccesso::Giusta);
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "test_password.moc"
