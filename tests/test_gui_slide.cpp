// The slideshow of every category, driven tick by tick (never waiting six
// seconds), opened from its record card window; real archive, real JPEG
// decoding, seams doubled.
#include "app/Registro.h"
#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "doubles/Doppi.h"
#include "platform/QtPiattaforma.h"
#include "show/TfrmSlide.h"
#include "support/SchedeProva.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// Before the application starts: besides the main screen, one at 200 % and one at 125 %
// (sizes in the layout's pixels).
const QString SchermiDiProva = [] {
    const QByteArray piattaforma = qgetenv("QT_QPA_PLATFORM");
    if (!piattaforma.isEmpty() && piattaforma != "offscreen")
        return QString();
    // A name without folder: the platform's options are split at every ":", which a
    // Windows drive letter would cut.
    const QString percorso = QStringLiteral("tegolario_schermi_%1.json").arg(QCoreApplication::applicationPid());
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(R"({"screens": [{"name": "uno", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96},)"
            R"({"name": "doppio", "x": 800, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "dpr": 2},)"
            R"({"name": "frazionario", "x": 2080, "y": 0, "width": 1280, "height": 960, "logicalDpi": 96, "dpr": 1.25}]})");
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(percorso));
    return percorso;
}();
QScreen* SchermoDiNome(const QString& nome)
{
    for (QScreen* s : QGuiApplication::screens())
        if (s->name() == nome)
            return s;
    return nullptr;
}

const TCategoria& Amici() { return *Categorie::PerTabella(QStringLiteral("amici")); }
QByteArray Risorsa(const QString& nome)
{
    QFile f(nome);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The real error box, counted; it closes itself after a second, as a passer-by
// would, and meanwhile notes what the show had on screen.
class MessaggiVeri : public QtMessaggi {
public:
    std::function<QString()> Schermo;
    QStringList Testi, SchermiMentreAperto;
    int Aperti = 0, MassimoAperti = 0;
    Risposta Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo, QObject* p) override
    {
        Testi << testo;
        MassimoAperti = std::max(MassimoAperti, ++Aperti);
        QTimer campiona;
        QObject::connect(&campiona, &QTimer::timeout, [&] { SchermiMentreAperto << Schermo(); });
        campiona.start(20);
        QTimer::singleShot(1000, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(QMessageBox::Ok);
        });
        const Risposta r = QtMessaggi::Mostra(tipo, caption, testo, p);
        --Aperti;
        return r;
    }
};
} // namespace

class TestGuiSlide : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    FintoMessaggi& m_messaggi = m_doppi.Messaggi;
    QByteArray m_foto3, m_foto12, m_grande;

    TfrmSlide* W(const TCategoria& c = Amici())
    {
        return qobject_cast<TfrmSlide*>(Registro::Finestra(c.NomeFinestra("Slide")));
    }
    TfrmScheda* S() { return qobject_cast<TfrmScheda*>(Registro::Finestra(Amici().NomeFinestra())); }
    template <class T = QWidget> T* C(QWidget* w, const char* nome)
    {
        auto* c = w->findChild<T*>(QString::fromLatin1(nome));
        if (!c)
            qFatal("control %s missing", nome);
        return c;
    }
    QTimer* Timer(TfrmSlide* w) { return C<QTimer>(w, "Timer"); }
    QString Archivio() { return m_cartella.filePath(QString::fromLatin1(Amici().FileArchivio)); }
    void Tick(TfrmSlide* w) { C<QPushButton>(w, "cmdAvanti")->click(); }
    // What the screen shows: the band's text and which photo.
    QString Schermo(TfrmSlide* w)
    {
        const QByteArray foto = C<RiquadroFoto>(w, "imgZoom")->Foto().Byte();
        const QString quale = foto == m_foto3 ? "foto3" : foto == m_foto12 ? "foto12" : foto == m_grande ? "campione"
                                                                          : foto.isEmpty() ? "niente" : "altra";
        return C<QLabel>(w, "panTitolo")->text() + "|" + quale;
    }
    // The screens of the start and of the given number of ticks.
    QStringList Schermi(TfrmSlide* w, int ticks)
    {
        QStringList r{Schermo(w)};
        for (int i = 0; i < ticks; ++i) {
            Tick(w);
            r << Schermo(w);
        }
        return r;
    }
    void TreSchede()
    {
        ScriviSchedaProva(Amici(), 3, QStringLiteral(" R3 "), m_foto3);
        ScriviSchedaProva(Amici(), 7, QStringLiteral("R7"));
        ScriviSchedaProva(Amici(), 12, QStringLiteral("R12"), m_foto12);
    }
    void Apri(TfrmSlide* w)
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

private slots:
    void initTestCase()
    {
        QFile::remove(SchermiDiProva); // read when the application started
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

    // Ten windows, one class; borderless over the whole screen, the band on top,
    // the picture 2 pixels in from every edge, a six-second timer idle until shown.
    void finestraPerOgniCategoria()
    {
        for (const TCategoria& c : Categorie::Tutte()) {
            TfrmSlide* w = W(c);
            QVERIFY2(w, qPrintable(c.NomeFinestra("Slide")));
            QCOMPARE(&w->Categoria(), &c);
            QVERIFY(!Timer(w)->isActive());
            QCOMPARE(Timer(w)->interval(), 6000);
        }
        TfrmSlide* w = W();
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        Apri(w);
        const QRect s = w->screen()->geometry();
        QCOMPARE(w->geometry(), s);
        QCOMPARE(w->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(C(w, "imgZoom")->geometry(), QRect(2, 2, s.width() - 4, s.height() - 4));
        auto* banda = C<QLabel>(w, "panTitolo");
        QCOMPARE(banda->geometry(), QRect(0, 0, s.width(), 32));
        QCOMPARE(banda->font().pixelSize(), 19);
        QVERIFY(banda->font().bold());
        QCOMPARE(banda->palette().color(QPalette::Window), QColor(103, 149, 205));
        QCOMPARE(banda->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(banda->alignment() & Qt::AlignHCenter);
        QCOMPARE(w->childAt(s.width() / 2, 10), banda); // over the picture
        for (const char* n : {"imgTemp", "lblPosizione", "cmdAvanti"})
            QVERIFY(!C(w, n)->isVisible());
        QVERIFY(Timer(w)->isActive());
        w->close();
    }

    // Cards 3, 7, 12: the start screen, each card, the last card twice, then the
    // first again; a card without photo shows the large sample with its reference.
    void sequenza()
    {
        TreSchede();
        TfrmSlide* w = W();
        Apri(w);
        QCOMPARE(Schermi(w, 6),
                 (QStringList{"Avvio slideshow. Attendere...|campione", "Rif. R3|foto3", "Rif. R7|campione",
                              "Rif. R12|foto12", "Rif. R12|foto12", "Rif. R3|foto3", "Rif. R7|campione"}));
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        // Closing and reopening starts again from the start screen and the first card.
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(!Timer(w)->isActive()); // no tick while the window is closed
        Apri(w);
        QVERIFY(Timer(w)->isActive());
        QCOMPARE(Schermi(w, 1), (QStringList{"Avvio slideshow. Attendere...|campione", "Rif. R3|foto3"}));
        w->close();
    }

    // One card stays on the screen; an empty archive keeps the start screen.
    void unaSchedaONessuna()
    {
        TfrmSlide* w = W();
        Apri(w);
        QCOMPARE(Schermi(w, 2), QStringList(3, "Avvio slideshow. Attendere...|campione"));
        w->close();
        ScriviSchedaProva(Amici(), 5, QStringLiteral("Unica"), m_foto12);
        Apri(w);
        QCOMPARE(Schermi(w, 4).mid(1), QStringList(4, "Rif. Unica|foto12"));
        w->close();
    }

    // Each tick asks the archive afresh.
    void schedeAggiunteDuranteLoShow()
    {
        TreSchede();
        TfrmSlide* w = W();
        Apri(w);
        Tick(w);
        ScriviSchedaProva(Amici(), 5, QStringLiteral("R5 nuova"));
        EliminaSchedaProva(Amici(), 7);
        QCOMPARE(Schermi(w, 2).mid(1), (QStringList{"Rif. R5 nuova|campione", "Rif. R12|foto12"}));
        w->close();
    }

    // A photo that cannot be decoded: the error box, the card's own reference with
    // the large sample photo, and the next tick goes on with the next card.
    void fotoIllegibile()
    {
        TreSchede();
        ScriviSchedaProva(Amici(), 7, QStringLiteral("R7"), QByteArray("\xFF\xD8\xFF\xE0 rotta", 10));
        TfrmSlide* w = W();
        Apri(w);
        QCOMPARE(Schermi(w, 3).mid(1), (QStringList{"Rif. R3|foto3", "Rif. R7|campione", "Rif. R12|foto12"}));
        QTRY_COMPARE(m_messaggi.Mostrati.size(), 1);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QVERIFY(m_messaggi.Ultimo().Testo.contains(QStringLiteral("scheda 7")));
        QVERIFY(w->isVisible());
        QVERIFY(Timer(w)->isActive());
        w->close();
    }

    // Several damaged photos in a row with the real timer and the real box: the
    // show goes on behind the box, one box at a time; once it is closed, the next
    // failure is shown again. An archive out of reach: the same, and the show stays up.
    void erroriNonFermanoLoShow()
    {
        const QByteArray rotta("\xFF\xD8 rotta", 7);
        for (int id : {2, 4, 6})
            ScriviSchedaProva(Amici(), id, QStringLiteral("R%1").arg(id), rotta);
        ScriviSchedaProva(Amici(), 8, QStringLiteral("R8"), m_foto3);
        TfrmSlide* w = W();
        MessaggiVeri messaggi;
        messaggi.Schermo = [&] { return C<QLabel>(w, "lblPosizione")->text() + "|" + Schermo(w); };
        Piattaforma::Imposta(&messaggi);
        struct Ripristina {
            FintoMessaggi* m;
            QTimer* t;
            ~Ripristina() { Piattaforma::Imposta(m), t->setInterval(TfrmSlide::Intervallo); }
        } ripristina{&m_doppi.Messaggi, Timer(w)};
        Timer(w)->setInterval(100); // each screen stays long enough to be seen
        Apri(w);
        QTRY_COMPARE(messaggi.Testi.size(), 2);
        QVERIFY(messaggi.Testi[0].contains(QStringLiteral("scheda 2")));
        QCOMPARE(messaggi.MassimoAperti, 1);
        const QSet<QString> visti(messaggi.SchermiMentreAperto.begin(), messaggi.SchermiMentreAperto.end());
        for (const char* atteso : {"4|Rif. R4|campione", "6|Rif. R6|campione", "8|Rif. R8|foto3"})
            QVERIFY2(visti.contains(QLatin1String(atteso)), qPrintable(messaggi.SchermiMentreAperto.join(", ")));

        SALTA_SENZA_CARTELLA_AL_POSTO(Archivio());
        const int prima = int(messaggi.Testi.size());
        QTRY_VERIFY(messaggi.Testi.size() > prima && messaggi.Aperti == 0);
        QVERIFY(!messaggi.Testi.last().contains(QStringLiteral("foto")));
        QCOMPARE(messaggi.MassimoAperti, 1);
        QVERIFY(w->isVisible() && Timer(w)->isActive());
        w->close();
    }

    // A click on the band does nothing; on the picture or beside it the show ends.
    void clic()
    {
        TfrmSlide* w = W();
        Apri(w);
        QTest::mouseClick(C(w, "panTitolo"), Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseClick(C(w, "imgZoom"), Qt::RightButton);
        QTest::mouseClick(w, Qt::MiddleButton, {}, QPoint(1, w->height() - 1));
        QVERIFY(w->isVisible());
        QTest::mouseClick(C(w, "imgZoom"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QVERIFY(!Timer(w)->isActive());
        Apri(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(1, w->height() - 1)); // the white margin
        QVERIFY(!w->isVisible());
    }

    // The next card's photo is decoded during the interval.
    void fotoDecodificateInAnticipo()
    {
        TreSchede();
        TfrmSlide* w = W();
        Apri(w);
        const QSize box = C<RiquadroFoto>(w, "imgZoom")->BoxDispositivo();
        QTRY_VERIFY(w->Anticipo().Tiene(3));
        Tick(w);
        QVERIFY(C<RiquadroFoto>(w, "imgZoom")->Foto().Decodificata(box));
        Tick(w);
        QTRY_VERIFY(w->Anticipo().Tiene(12));
        Tick(w);
        QVERIFY(C<RiquadroFoto>(w, "imgZoom")->Foto().Decodificata(box));
        Tick(w); // after the last card: the first comes next
        QTRY_VERIFY(w->Anticipo().Tiene(3));
        w->close();
        QVERIFY(!w->Anticipo().Tiene(3));
    }

    // From the card window: the card's photo is handed over before the card is
    // cleared, the show covers the card window's screen, and it starts afresh.
    void dallaScheda()
    {
        TreSchede();
        TfrmScheda* s = S();
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QTest::mouseClick(C(s, "imgPrimo"), Qt::LeftButton);
        QCOMPARE(C<QLabel>(s, "lblPosizione")->text(), QStringLiteral("3"));
        TfrmSlide* w = W();
        QStringList visto;
        QTimer::singleShot(0, this, [&] {
            visto << (QApplication::activeModalWidget() == w ? "modale" : "non modale");
            visto << (w->FotoConsegnata().Byte() == m_foto3 ? "consegnata" : "non consegnata");
            visto << (w->screen() == s->screen() ? "stesso schermo" : "altro schermo");
            visto << C<QLabel>(s, "lblPosizione")->text() + "|" + Schermo(w);
            Tick(w);
            visto << Schermo(w);
            QTest::mouseClick(C(w, "imgZoom"), Qt::LeftButton);
        });
        QTest::mouseClick(C(s, "cmdSlideshow"), Qt::LeftButton);
        QCOMPARE(visto, (QStringList{"modale", "consegnata", "stesso schermo", "|Avvio slideshow. Attendere...|campione",
                                     "Rif. R3|foto3"}));
        QVERIFY(!w->isVisible());
        QVERIFY(C<QLabel>(s, "lblPosizione")->text().isEmpty());
        QCOMPARE(C<RiquadroFoto>(s, "imgFoto")->Foto().Byte(), s->FotoCampione().Byte());
        s->hide();
    }

    // Photos are decoded for the screen's own pixels and land on them one to one;
    // the layout stays the same. A move to another screen decodes afresh, and the
    // pictures follow with their drawings at twice the size.
    void scalaDelloSchermo_data()
    {
        QTest::addColumn<QString>("schermo");
        QTest::addColumn<QSize>("scheda");
        QTest::addColumn<QSize>("slideshow");
        QTest::newRow("100 %") << "uno" << QSize(605, 403) << QSize(796, 530);
        QTest::newRow("125 %") << "frazionario" << QSize(756, 504) << QSize(1595, 1063);
        QTest::newRow("200 %") << "doppio" << QSize(1210, 806) << QSize(2388, 1592);
    }
    void scalaDelloSchermo()
    {
        QFETCH(QString, schermo);
        QFETCH(QSize, scheda);
        QFETCH(QSize, slideshow);
        QScreen* qui = SchermoDiNome(schermo);
        if (!qui)
            QSKIP("the platform of this run has screens of its own");
        TreSchede();
        TfrmScheda* s = S();
        s->setScreen(qui);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        s->resize(1100, 760); // the whole card on every screen of the test
        QTest::mouseClick(C(s, "imgPrimo"), Qt::LeftButton);
        auto* box = C<RiquadroFoto>(s, "imgFoto");
        const QImage img = box->ImmagineMostrata();
        QCOMPARE(img.size(), scheda);
        QCOMPARE(box->RettangoloImmagine(), QRect(0, 23, 605, 403));
        // On the screen the photo's pixels are the decoded ones, unscaled, where the
        // box lies give or take the rounding of its place to whole device pixels.
        const double dpr = s->devicePixelRatioF();
        const QImage visto = s->grab().toImage();
        const QPointF origine = QPointF(box->mapTo(s, QPoint(0, 0))) * dpr;
        const QSize margine = (box->BoxDispositivo() - img.size()) / 2;
        const QPoint angolo(qRound(origine.x()) + margine.width(), qRound(origine.y()) + margine.height());
        const auto identici = [&](QPoint spostamento) {
            for (int y = 0; y < img.height(); y += 37)
                for (int x = 0; x < img.width(); x += 41)
                    if (visto.pixel(angolo + spostamento + QPoint(x, y)) != img.pixel(x, y))
                        return false;
            return true;
        };
        bool trovata = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                trovata = trovata || identici(QPoint(dx, dy));
        QVERIFY(trovata);
        // The command pictures: the drawing made for the scale, at the device size.
        const QPixmap salva = C<QLabel>(s, "cmdSalva")->pixmap();
        QCOMPARE(salva.size(), QSize(37, 39) * dpr);
        if (dpr == 2)
            QCOMPARE(salva.toImage(), QImage(QStringLiteral(":/cmd/salva@2x.png")).convertToFormat(salva.toImage().format()));

        TfrmSlide* w = W();
        w->ImpostaSchermo(qui);
        Apri(w);
        Tick(w);
        QCOMPARE(C<RiquadroFoto>(w, "imgZoom")->ImmagineMostrata().size(), slideshow);
        w->close();

        // Back on the main screen: decoded afresh for it, pictures too.
        s->windowHandle()->setScreen(SchermoDiNome(QStringLiteral("uno")));
        QTRY_COMPARE(box->ImmagineMostrata().size(), QSize(605, 403));
        s->grab();
        QCOMPARE(C<QLabel>(s, "cmdSalva")->pixmap().size(), QSize(37, 39));
        s->hide();
    }
};

QTEST_MAIN(TestGuiSlide)
#include "test_gui_slide.moc"
