// The photo browser of every category, opened from its record card window, and
// the photos the card window decodes ahead for its arrows; real archive, real
// JPEG decoding, seams doubled.
#include "app/Registro.h"
#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "card/TfrmZoom.h"
#include "doubles/Doppi.h"
#include "show/TfrmBrowse.h"
#include "support/SchedeProva.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
const TCategoria& Amici() { return *Categorie::PerTabella(QStringLiteral("amici")); }
QByteArray Risorsa(const QString& nome)
{
    QFile f(nome);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
} // namespace

class TestGuiBrowse : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    FintoMessaggi& m_messaggi = m_doppi.Messaggi;
    QByteArray m_foto3, m_foto12, m_grande;

    TfrmBrowse* B(const TCategoria& c = Amici())
    {
        return qobject_cast<TfrmBrowse*>(Registro::Finestra(c.NomeFinestra("Browse")));
    }
    TfrmScheda* S() { return qobject_cast<TfrmScheda*>(Registro::Finestra(Amici().NomeFinestra())); }
    template <class T = QWidget> T* C(QWidget* w, const char* nome)
    {
        auto* c = w->findChild<T*>(QString::fromLatin1(nome));
        if (!c)
            qFatal("control %s missing", nome);
        return c;
    }
    void Clic(QWidget* w, const char* nome) { QTest::mouseClick(C(w, nome), Qt::LeftButton); }
    QString Testo(QWidget* w, const char* nome) { return C<QLabel>(w, nome)->text(); }
    QByteArray FotoMostrata(QWidget* w) { return C<RiquadroFoto>(w, "imgFoto")->Foto().Byte(); }
    QString Archivio() { return m_cartella.filePath(QString::fromLatin1(Amici().FileArchivio)); }
    // Cards 3 and 12 with photos, 7 without, each with blanks around its texts.
    void TreSchede()
    {
        ScriviSchedaProva(Amici(), 3, QStringLiteral("  R3 "), m_foto3, QStringLiteral(" Vista mare\t"));
        ScriviSchedaProva(Amici(), 7, QStringLiteral("R7"), QByteArray(), QStringLiteral("Senza foto"));
        ScriviSchedaProva(Amici(), 12, QStringLiteral("R12"), m_foto12, QStringLiteral("Ultima"));
    }
    void Apri(TfrmBrowse* b)
    {
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b));
    }
    void VistaIniziale(TfrmBrowse* b)
    {
        QVERIFY(Testo(b, "lblPosizione").isEmpty());
        QCOMPARE(Testo(b, "lblTitolo"), QStringLiteral("Visualizzatore foto"));
        QCOMPARE(Testo(b, "lblDidascalia"),
                 QStringLiteral("Per visualizzare le foto, servirsi delle frecce di scorrimento."));
        QCOMPARE(FotoMostrata(b), Risorsa(b->Categoria().FotoCampioneGrande()));
    }

private slots:
    void initTestCase()
    {
        AvviaProgramma(m_doppi, m_cartella.path());
        m_foto3 = JpegProva(2400, 1600, QColor(200, 60, 60));
        m_foto12 = JpegProva(1200, 1800, QColor(60, 60, 200));
        m_grande = Risorsa(Amici().FotoCampioneGrande());
    }
    void init()
    {
        for (QWidget* w : Registro::Tutte())
            w->hide();
        SvuotaArchivio(Archivio());
        QDir(Archivio()).removeRecursively();
        m_messaggi.Azzera();
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    // Ten windows, one class: their names, captions, layout, texts and pointers.
    void finestraPerOgniCategoria()
    {
        for (const TCategoria& c : Categorie::Tutte()) {
            TfrmBrowse* b = B(c);
            QVERIFY2(b, qPrintable(c.NomeFinestra("Browse")));
            QCOMPARE(&b->Categoria(), &c);
        }
        QCOMPARE(B(*Categorie::PerTabella(QStringLiteral("vacanze")))->windowTitle(),
                 QString::fromUtf8(" Tegolario © - Visualizzatore vacanze"));
        QCOMPARE(B(*Categorie::PerTabella(QStringLiteral("lavoro")))->windowTitle(),
                 QString::fromUtf8(" Tegolario © - Visualizzatore foto"));

        TfrmBrowse* b = B();
        QCOMPARE(b->minimumSize(), QSize(1022, 704));
        Apri(b);
        QVERIFY(b->windowState() & Qt::WindowMaximized);
        QCOMPARE(b->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(C(b, "imgFoto")->size(), TfrmBrowse::BoxFoto());
        QCOMPARE(C(b, "imgFoto")->size(), QSize(713, 536));
        for (const char* n : {"lblPosizione", "imgTemp"})
            QVERIFY(!C(b, n)->isVisible());
        QCOMPARE(C(b, "lblTitolo")->font().pixelSize(), 32);
        QCOMPARE(C(b, "lblTitolo")->palette().color(QPalette::WindowText), QColor(166, 202, 240));
        const std::pair<const char*, const char*> suggerimenti[] = {
            {"imgPrimo", " Visualizza prima foto in archivio. "},
            {"imgIndietro", " Visualizza foto precedente in archivio. "},
            {"imgAvanti", " Visualizza foto successiva in archivio. "},
            {"imgUltimo", " Visualizza ultima foto in archivio. "},
            {"imgZoom", " Visualizza la foto corrente a schermo intero. "},
        };
        for (const auto& [nome, testo] : suggerimenti) {
            QCOMPARE(C(b, nome)->toolTip(), QString::fromUtf8(testo));
            QCOMPARE(C(b, nome)->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(C<QLabel>(b, nome)->pixmap().size() == C(b, nome)->size());
        }
        VistaIniziale(b);
        // The container follows the window's size.
        b->showNormal();
        b->resize(1022, 704);
        QCOMPARE(C(b, "grpContainer")->pos(), QPoint(14, 9));
        b->resize(1300, 900);
        QCOMPARE(C(b, "grpContainer")->pos(), QPoint((1300 + 16) / 2 - 995 / 2 - 8, (900 + 38) / 2 - 688 / 2 - 18));
    }

    // Cards 3, 7, 12: the arrows from the start view and at both ends, no wrap;
    // a click on the photo steps forward; texts trimmed; a card without photo
    // shows the large sample photo with its own texts.
    void frecceEContenuto()
    {
        TreSchede();
        const QByteArray prima = Risorsa(Archivio());
        TfrmBrowse* b = B();
        Apri(b);
        VistaIniziale(b);
        Clic(b, "imgIndietro");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("3"));
        b->close();
        Apri(b);
        VistaIniziale(b);
        Clic(b, "imgAvanti");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("3"));
        QCOMPARE(Testo(b, "lblTitolo"), QStringLiteral("R3"));
        QCOMPARE(Testo(b, "lblDidascalia"), QStringLiteral("Vista mare"));
        QCOMPARE(FotoMostrata(b), m_foto3);
        QCOMPARE(C<RiquadroFoto>(b, "imgFoto")->RettangoloImmagine(), QRect(0, 30, 713, 475));
        // The photo steps on a left click only, once per double click as the desktop
        // delivers it (press, release, press, double click, release).
        for (Qt::MouseButton altro : {Qt::RightButton, Qt::MiddleButton})
            QTest::mouseClick(C(b, "imgFoto"), altro);
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("3"));
        QTest::mouseDClick(b->windowHandle(), Qt::LeftButton, {},
                           C(b, "imgFoto")->mapTo(b, C(b, "imgFoto")->rect().center()));
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("7"));
        QCOMPARE(Testo(b, "lblTitolo"), QStringLiteral("R7"));
        QCOMPARE(Testo(b, "lblDidascalia"), QStringLiteral("Senza foto"));
        QCOMPARE(FotoMostrata(b), m_grande);
        Clic(b, "imgAvanti");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("12"));
        QCOMPARE(FotoMostrata(b), m_foto12);
        Clic(b, "imgAvanti");
        Clic(b, "imgFoto");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("12"));
        QCOMPARE(Testo(b, "lblTitolo"), QStringLiteral("R12"));
        QCOMPARE(FotoMostrata(b), m_foto12);
        Clic(b, "imgIndietro");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("7"));
        Clic(b, "imgUltimo");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("12"));
        Clic(b, "imgPrimo");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("3"));
        Clic(b, "imgIndietro");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("3"));
        QCOMPARE(FotoMostrata(b), m_foto3);
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
        QCOMPARE(Risorsa(Archivio()), prima); // only read
        b->close();
        QVERIFY(!b->isVisible());
    }

    // In an empty archive, or one whose table is missing, every arrow leaves the start view.
    void archivioVuoto()
    {
        TfrmBrowse* b = B();
        Apri(b);
        for (const char* n : {"imgPrimo", "imgIndietro", "imgAvanti", "imgUltimo", "imgFoto"}) {
            Clic(b, n);
            VistaIniziale(b);
        }
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        b->close();
    }

    // A stored photo that does not decode: the error box, the card's texts, no
    // picture (the zoom then says so); the next step goes on with the next card.
    void fotoIllegibile()
    {
        TreSchede();
        ScriviSchedaProva(Amici(), 7, QStringLiteral("R7"), QByteArray("\xFF\xD8\xFF\xE0 rotta", 10));
        TfrmBrowse* b = B();
        Apri(b);
        Clic(b, "imgAvanti");
        Clic(b, "imgAvanti");
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QVERIFY(m_messaggi.Ultimo().Testo.contains(QStringLiteral("scheda 7")));
        QVERIFY(m_messaggi.Ultimo().Testo.endsWith(QLatin1Char('.')));
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("7"));
        QCOMPARE(Testo(b, "lblTitolo"), QStringLiteral("R7"));
        QVERIFY(C<RiquadroFoto>(b, "imgFoto")->Foto().Vuota());
        Clic(b, "imgZoom");
        QCOMPARE(m_messaggi.Mostrati.size(), 2);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Semplice);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Operazione annullata"));
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Attenzione: impossibile individuare la foto corrente."));
        Clic(b, "imgAvanti");
        QCOMPARE(Testo(b, "lblPosizione"), QStringLiteral("12"));
        QCOMPARE(FotoMostrata(b), m_foto12);
        QCOMPARE(m_messaggi.Mostrati.size(), 2);
        b->close();
    }

    // The zoom window, owned by the browser: the sample photo in the start view,
    // the card's photo otherwise; closed by a click, then gone.
    void zoom()
    {
        TreSchede();
        TfrmBrowse* b = B();
        Apri(b);
        QList<QByteArray> mostrate;
        const auto apriEChiudi = [&] {
            QTimer::singleShot(0, this, [&] {
                auto* z = qobject_cast<TfrmZoom*>(QApplication::activeModalWidget());
                if (!z)
                    return;
                mostrate << z->Riquadro()->Foto().Byte();
                if (z->parent() != b)
                    mostrate << "wrong owner";
                QTest::mouseClick(z->Riquadro(), Qt::LeftButton, {}, QPoint(1, 1));
            });
            Clic(b, "imgZoom");
        };
        apriEChiudi();
        Clic(b, "imgAvanti");
        apriEChiudi();
        QCOMPARE(mostrate, (QList<QByteArray>{m_grande, m_foto3}));
        QVERIFY(b->findChildren<TfrmZoom*>().isEmpty());
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        b->close();
    }

    // From the card window: its card is cleared, the browser opens modally in the
    // start view whatever it showed before, and the card window stays cleared.
    void dallaSchedaSempreVistaIniziale()
    {
        TreSchede();
        TfrmScheda* s = S();
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        TfrmBrowse* b = B();
        QStringList visto;
        for (int volta = 0; volta < 2; ++volta) {
            Clic(s, "imgUltimo");
            QCOMPARE(Testo(s, "lblPosizione"), QStringLiteral("12"));
            QTimer::singleShot(0, this, [&] {
                visto << (QApplication::activeModalWidget() == b ? "modale" : "non modale");
                visto << Testo(s, "lblPosizione") + "|" + Testo(b, "lblTitolo") + "|" + Testo(b, "lblPosizione");
                Clic(b, "imgAvanti");
                Clic(b, "imgAvanti");
                visto << Testo(b, "lblPosizione");
                b->close();
            });
            Clic(s, "cmdSfogliaFoto");
            QVERIFY(!b->isVisible());
            QVERIFY(Testo(s, "lblPosizione").isEmpty());
        }
        QCOMPARE(visto, (QStringList{"modale", "|Visualizzatore foto|", "7", "modale", "|Visualizzatore foto|", "7"}));
        s->hide();
    }

    // The next and the previous card are decoded ahead; what a step shows is what
    // the archive holds when it runs, and decoding ahead stops with the window.
    void fotoDecodificateInAnticipo()
    {
        TreSchede();
        ScriviSchedaProva(Amici(), 7, QStringLiteral("R7"), JpegProva(1000, 700));
        TfrmBrowse* b = B();
        Apri(b);
        QTRY_VERIFY(b->Anticipo().Tiene(3)); // from the start view both arrows lead to the first card
        Clic(b, "imgAvanti");
        QVERIFY(C<RiquadroFoto>(b, "imgFoto")->Foto().Decodificata(TfrmBrowse::BoxFoto()));
        Clic(b, "imgAvanti");
        QTRY_VERIFY(b->Anticipo().Tiene(12) && b->Anticipo().Tiene(3));
        Clic(b, "imgIndietro"); // back to 3: card 12 is no longer next
        QTRY_VERIFY(!b->Anticipo().Tiene(12));
        QVERIFY(b->Anticipo().Tiene(7));

        // Card 7 is held decoded; its photo changes in the archive before the step.
        const QByteArray nuova = JpegProva(500, 400, QColor(10, 200, 10));
        ScriviSchedaProva(Amici(), 7, QStringLiteral("R7 nuova"), nuova);
        Clic(b, "imgAvanti");
        QCOMPARE(FotoMostrata(b), nuova);
        QCOMPARE(Testo(b, "lblTitolo"), QStringLiteral("R7 nuova"));
        b->close();
        QCOMPARE(b->Anticipo().Anticipate(), 0);
        QVERIFY(!b->Anticipo().Tiene(7));
    }

    // The record card window's arrows use the same decoding ahead.
    void frecceDellaSchedaDecodificateInAnticipo()
    {
        TreSchede();
        TfrmScheda* s = S();
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        const QSize box = C(s, "imgFoto")->size();
        const auto decodificata = [&] { return C<RiquadroFoto>(s, "imgFoto")->Foto().Decodificata(box); };
        QTRY_VERIFY(s->Anticipo().Tiene(3)); // an empty card steps to the first one either way
        Clic(s, "imgAvanti");
        QCOMPARE(Testo(s, "lblPosizione"), QStringLiteral("3"));
        QVERIFY(decodificata());
        Clic(s, "imgAvanti");
        QCOMPARE(C<RiquadroFoto>(s, "imgFoto")->Foto().Byte(), s->FotoCampione().Byte());
        QTRY_VERIFY(s->Anticipo().Tiene(12) && s->Anticipo().Tiene(3));
        Clic(s, "imgAvanti");
        QCOMPARE(Testo(s, "lblPosizione"), QStringLiteral("12"));
        QCOMPARE(C<RiquadroFoto>(s, "imgFoto")->Foto().Byte(), m_foto12);
        QVERIFY(decodificata());
        QTRY_VERIFY(!s->Anticipo().Tiene(3)); // behind 12 lies 7, which has no photo
        Clic(s, "imgIndietro");
        QTRY_VERIFY(s->Anticipo().Tiene(12) && s->Anticipo().Tiene(3));
        Clic(s, "imgIndietro");
        QCOMPARE(Testo(s, "lblPosizione"), QStringLiteral("3"));
        QVERIFY(decodificata());

        // Changed in the archive meanwhile: the step shows the new photo.
        Clic(s, "imgUltimo");
        Clic(s, "imgIndietro");
        QTRY_VERIFY(s->Anticipo().Tiene(12));
        const QByteArray nuova = JpegProva(640, 480, QColor(250, 250, 0));
        ScriviSchedaProva(Amici(), 12, QStringLiteral("R12"), nuova);
        Clic(s, "imgAvanti");
        QCOMPARE(C<RiquadroFoto>(s, "imgFoto")->Foto().Byte(), nuova);
        s->close();
        QCOMPARE(s->Anticipo().Anticipate(), 0);
        QVERIFY(!s->Anticipo().Tiene(12));
    }

    // The browser cannot open its archive: it does not stay open, and says nothing.
    void erroreAllApertura()
    {
        SALTA_SENZA_CARTELLA_AL_POSTO(Archivio());
        TfrmBrowse* b = B();
        b->show();
        QTRY_VERIFY(!b->isVisible());
        QVERIFY(m_messaggi.Mostrati.isEmpty());
    }
};

QTEST_MAIN(TestGuiBrowse)
#include "test_gui_browse.moc"
