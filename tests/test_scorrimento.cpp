// Stepping through a category by card number, as the photo browser and the
// slideshow do, against a real archive in a temporary program folder.
#include "support/Supporto.h"
#include "doubles/Doppi.h"
#include "show/Scorrimento.h"
#include "store/TSQLiteDatabase.h"
#include "support/SchedeProva.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Verso = TScorrimento::Verso;
using Esito = TScorrimento::Esito;

class TestScorrimento : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    const TCategoria& m_cat = *Categorie::PerTabella(QStringLiteral("amici"));

    QString Archivio() const { return m_dir->filePath(QString::fromLatin1(m_cat.FileArchivio)); }
    void TreSchede()
    {
        ScriviSchedaProva(m_cat, 3, QStringLiteral("R3"), JpegProva(40, 30));
        ScriviSchedaProva(m_cat, 7, QStringLiteral("R7"));
        ScriviSchedaProva(m_cat, 12, QStringLiteral("R12"), JpegProva(30, 40));
    }
    static qint64 Id(const std::optional<TSchedaMostrata>& s) { return s ? s->ID : -1; }
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Piattaforma::ImpostaCartellaProgramma(m_dir->path());
    }

    // The arrows from the start view and at both ends: no wrap.
    void frecce()
    {
        TreSchede();
        TScorrimento s(m_cat);
        QCOMPARE(Id(s.Passo(Verso::Indietro)), 3); // from no card: the first
        s.Azzera();
        QCOMPARE(Id(s.Passo(Verso::Avanti)), 3);
        QCOMPARE(Id(s.Passo(Verso::Avanti)), 7);
        QCOMPARE(Id(s.Passo(Verso::Avanti)), 12);
        QCOMPARE(Id(s.Passo(Verso::Avanti)), -1);
        QCOMPARE(*s.Posizione(), 12);
        QCOMPARE(Id(s.Passo(Verso::Indietro)), 7);
        QCOMPARE(Id(s.Passo(Verso::Ultimo)), 12);
        QCOMPARE(Id(s.Passo(Verso::Primo)), 3);
        QCOMPARE(Id(s.Passo(Verso::Indietro)), -1);
        QCOMPARE(*s.Posizione(), 3);
        // The queries are the record card window's.
        QCOMPARE(s.Query(Verso::Indietro), QByteArray("SELECT * FROM amici WHERE ID <= 3 ORDER BY ID DESC LIMIT 1 OFFSET 1"));
        QCOMPARE(s.Query(Verso::Avanti), QByteArray("SELECT * FROM amici WHERE ID > 3 ORDER BY ID LIMIT 1"));
        QCOMPARE(s.Query(Verso::Ultimo), QByteArray("SELECT * FROM amici WHERE ID = (SELECT MAX(ID) FROM amici)"));
    }

    // What a card shows: trimmed texts in Windows-1252, the photo bytes or none.
    void contenutoDellaScheda()
    {
        const QByteArray foto = JpegProva(50, 40);
        ScriviSchedaProva(m_cat, 5, QString::fromUtf8(" \tRif. è 5\r\n"), foto, QStringLiteral("  Vista mare  "));
        ScriviSchedaProva(m_cat, 6, QStringLiteral("R6"));
        TScorrimento s(m_cat);
        auto m = s.Passo(Verso::Primo);
        QVERIFY(m);
        QCOMPARE(m->Titolo, QString::fromUtf8("Rif. è 5"));
        QCOMPARE(m->Didascalia, QStringLiteral("Vista mare"));
        QCOMPARE(m->Foto, foto);
        m = s.Passo(Verso::Avanti);
        QVERIFY(m->Foto.isEmpty());
        QVERIFY(m->Didascalia.isEmpty());
    }

    // A missing table is created and nothing is shown; an empty archive shows nothing.
    void archivioVuotoOMancante()
    {
        TScorrimento s(m_cat);
        QVERIFY(!QFile::exists(Archivio()));
        QVERIFY(!s.Passo(Verso::Avanti));
        QVERIFY(QFile::exists(Archivio()));
        QVERIFY(TSQLiteDatabase(Archivio()).HasTable("amici"));
        for (Verso v : {Verso::Primo, Verso::Indietro, Verso::Avanti, Verso::Ultimo})
            QVERIFY(!s.Passo(v));
        QVERIFY(!s.Posizione());
        TSchedaMostrata m;
        for (int i = 0; i < 3; ++i)
            QVERIFY(s.Avanza(&m) == Esito::Invariato);
        QVERIFY(!s.Posizione());
    }

    // Archive errors reach the caller; the position stays as it was.
    void erroriDellArchivio()
    {
        TreSchede();
        TScorrimento s(m_cat);
        s.Passo(Verso::Avanti);
        SALTA_SENZA_CARTELLA_AL_POSTO(Archivio());
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, s.Passo(Verso::Avanti));
        TSchedaMostrata m;
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, s.Avanza(&m));
        QCOMPARE(*s.Posizione(), 3);
    }
};

QTEST_GUILESS_MAIN(TestScorrimento)
#include "test_scorrimento.moc"
