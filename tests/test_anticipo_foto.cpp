// Photos decoded ahead of need on the worker thread, and the read-ahead of a
// neighbouring card's photo from a real archive.
#include "doubles/Doppi.h"
#include "photo/AnticipoFoto.h"
#include "store/FotoVicine.h"
#include "support/SchedeProva.h"

#include <sqlite3.h>

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QSize Box(713, 536);
// A deep copy: the step reads the bytes afresh, they never share storage.
QByteArray Copia(const QByteArray& b) { return QByteArray(b.constData(), b.size()); }
} // namespace

class TestAnticipoFoto : public QObject {
    Q_OBJECT

    QByteArray m_a, m_b, m_c;

private slots:
    void initTestCase()
    {
        m_a = JpegProva(1600, 1200, QColor(200, 40, 40));
        m_b = JpegProva(1200, 1600, QColor(40, 200, 40));
        m_c = JpegProva(900, 600, QColor(40, 40, 200));
    }

    // The photo decoded ahead is the one handed out, already decoded, and it is
    // exactly what decoding the same bytes on the spot gives.
    void usataSoloPerStessaSchedaByteEBox()
    {
        TAnticipoFoto a;
        a.Prepara({{7, m_a}, {12, m_b}}, Box);
        QCOMPARE(a.Anticipate(), 2);
        a.AttendiTutti();
        QVERIFY(a.Tiene(7) && a.Tiene(12));

        const TFoto f = a.Foto(12, Copia(m_b), Box);
        QVERIFY(f.Decodificata(Box));
        QCOMPARE(f.Byte(), m_b);
        QCOMPARE(f.Immagine(Box), TFoto::DaByte(m_b).Immagine(Box));

        // Another card, other bytes or another box: a new photo, not decoded yet.
        TAnticipoFoto b;
        b.Prepara({{7, m_a}}, Box);
        b.AttendiTutti();
        QVERIFY(!b.Foto(8, m_a, Box).Decodificata(Box));
        b.Prepara({{7, m_a}}, Box);
        b.AttendiTutti();
        const TFoto cambiata = b.Foto(7, m_c, Box); // the card's photo changed meanwhile
        QCOMPARE(cambiata.Byte(), m_c);
        QVERIFY(!cambiata.Decodificata(Box));
        b.Prepara({{7, m_a}}, Box);
        b.AttendiTutti();
        QVERIFY(!b.Foto(7, m_a, QSize(605, 449)).Decodificata(QSize(605, 449)));

        // A card without photo gives no photo and holds nothing.
        QVERIFY(b.Foto(9, QByteArray(), Box).Vuota());
    }

    // A step that waits for a decoding still under way gets it whole.
    void attendeLaDecodificaInCorso()
    {
        const QByteArray grande = JpegProva(4000, 3000);
        for (int i = 0; i < 5; ++i) {
            TAnticipoFoto a;
            a.Prepara({{1, grande}}, Box);
            const TFoto f = a.Foto(1, grande, Box);
            QVERIFY(f.Decodificata(Box));
            QCOMPARE(f.Immagine(Box).size(), QSize(713, 534));
        }
    }

    // What is no longer wanted next is dropped; the photo on display stays, and a
    // step back to the photo shown before needs no decoding.
    void scartaQuelloCheNonServe()
    {
        TAnticipoFoto a;
        TFoto sette = a.Foto(7, m_a, Box);
        sette.Immagine(Box); // painted by the window
        a.Prepara({{12, m_b}, {3, m_c}}, Box);
        a.AttendiTutti();
        QCOMPARE(a.Anticipate(), 2);

        a.Foto(12, m_b, Box); // forward to 12
        a.Prepara({{7, m_a}}, Box); // now only 7 lies behind, nothing ahead
        QVERIFY(!a.Tiene(3));
        QVERIFY(a.Tiene(7) && a.Tiene(12));
        QVERIFY(a.Foto(7, Copia(m_a), Box).Decodificata(Box));

        a.Prepara({}, Box);
        QVERIFY(a.Tiene(7));
        QVERIFY(!a.Tiene(12));
        a.Svuota();
        QVERIFY(!a.Tiene(7));
    }

    // Showing card after card without asking for any keeps two photos at most.
    void memoriaLimitata()
    {
        TAnticipoFoto a;
        for (int i = 0; i < 50; ++i)
            a.Foto(i, i % 2 ? m_a : m_b, Box);
        QCOMPARE(a.Anticipate(), 1);
        QVERIFY(a.Tiene(49) && a.Tiene(48) && !a.Tiene(47));
    }

    // Bytes that do not decode: the worker survives, and the photo handed out
    // decodes to nothing, as it would without decoding ahead.
    void byteIllegibili()
    {
        QByteArray rotta = m_a;
        for (qsizetype i = rotta.size() / 3; i < rotta.size() - 2; i += 7)
            rotta[i] = char(0xFF);
        const QByteArray spazzatura("non è una foto", 15);
        TAnticipoFoto a;
        a.Prepara({{1, rotta}, {2, spazzatura}}, Box);
        a.AttendiTutti();
        QVERIFY(a.Foto(2, spazzatura, Box).Immagine(Box).isNull());
        QCOMPARE(a.Foto(1, rotta, Box).Immagine(Box).isNull(), TFoto::DaByte(rotta).Immagine(Box).isNull());
    }

    // Dropping decodings under way, or the whole holder, in quick turns.
    void cambiIncalzanti()
    {
        const QByteArray grande = JpegProva(3000, 2000);
        for (int giro = 0; giro < 20; ++giro) {
            TAnticipoFoto a;
            a.Prepara({{1, grande}, {2, m_a}}, Box);
            a.Prepara({{3, m_b}}, Box);
            if (giro % 2)
                a.Svuota();
            else
                QVERIFY(a.Foto(3, m_b, Box).Decodificata(Box));
        }
    }

    // The neighbouring card's number and photo, as the stepping query finds it now.
    void letturaDallArchivio()
    {
        QTemporaryDir dir;
        Piattaforma::ImpostaCartellaProgramma(dir.path());
        const TCategoria& cat = *Categorie::PerTabella(QStringLiteral("amici"));
        TArchivio archivio(cat);
        // No archive file: nothing read, and no file created.
        QVERIFY(!FotoVicine::Leggi(archivio, Statementi::PrimaScheda("amici")));
        QVERIFY(!QFile::exists(archivio.Percorso()));

        ScriviSchedaProva(cat, 3, QStringLiteral("R3"), m_a);
        ScriviSchedaProva(cat, 7, QStringLiteral("R7"), m_b);
        ScriviSchedaProva(cat, 12, QStringLiteral("R12"));
        archivio.ApriArchivio(Statementi::SchedaPerNumero("amici", 3));
        TSQLiteDatabase* connessione = archivio.Connessione();
        TSQLiteTable* corrente = archivio.Risultato();

        auto v = FotoVicine::Leggi(archivio, Statementi::SchedaSuccessiva("amici", 3));
        QVERIFY(v);
        QCOMPARE(v->ID, 7);
        QCOMPARE(v->Byte, m_b);
        v = FotoVicine::Leggi(archivio, Statementi::SchedaPrecedente("amici", 12));
        QCOMPARE(v->ID, 7);
        v = FotoVicine::Leggi(archivio, Statementi::SchedaSuccessiva("amici", 7));
        QCOMPARE(v->ID, 12);
        QVERIFY(v->Byte.isEmpty());
        QVERIFY(!FotoVicine::Leggi(archivio, Statementi::SchedaSuccessiva("amici", 12)));
        QVERIFY(!FotoVicine::Leggi(archivio, "DELETE FROM amici"));
        // The window's own connection and result table are left as they were.
        QCOMPARE(archivio.Connessione(), connessione);
        QCOMPARE(archivio.Risultato(), corrente);
        QCOMPARE(corrente->Count(), 1u);
        QCOMPARE(corrente->ColumnInteger(corrente->ColumnIndex("ID")), 3);
        QCOMPARE(archivio.Connessione()->Query("SELECT COUNT(*) FROM amici")->ColumnInteger(0), 3);

        // Another computer writing: nothing read, and the step itself works afterwards.
        sqlite3* altro = nullptr;
        QCOMPARE(sqlite3_open(qPrintable(archivio.Percorso()), &altro), SQLITE_OK);
        QCOMPARE(sqlite3_exec(altro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        QVERIFY(!FotoVicine::Leggi(archivio, Statementi::SchedaSuccessiva("amici", 3)));
        sqlite3_exec(altro, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(altro);
        QCOMPARE(FotoVicine::Leggi(archivio, Statementi::SchedaSuccessiva("amici", 3))->ID, 7);
    }
};

QTEST_GUILESS_MAIN(TestAnticipoFoto)
#include "test_anticipo_foto.moc"
