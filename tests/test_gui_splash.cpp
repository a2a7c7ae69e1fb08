// The copyright splash window: created and moving from start-up, drawn only
// while shown, opened from the launcher and closed by a click.
#include "app/Registro.h"
#include "app/TfrmSplash.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
TfrmSplash* Splash() { return qobject_cast<TfrmSplash*>(Registro::Finestra(QStringLiteral("frmSplash"))); }
QWidget* Avvio() { return Registro::Finestra(QStringLiteral("frmAvvio")); }

struct Posizioni {
    std::array<int, 5> x{}, y{}, z{};
    explicit Posizioni(const TScenaSplash& s) {
        for (int k = 0; k < 5; ++k) {
            x[k] = s.Sprite()[k].x;
            y[k] = s.Sprite()[k].y;
            z[k] = s.Sprite()[k].z;
        }
    }
    bool operator==(const Posizioni&) const = default;
};
} // namespace

class TestGuiSplash : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;

private slots:
    void initTestCase() {
        m_doppi.Orologio.ValoreCasuale = 7919; // every draw the same, a fixed start
        AvviaProgramma(m_doppi, m_cartella.path());
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    void createdAtStartAndMovingWhileHidden() {
        TfrmSplash* s = Splash();
        QVERIFY(s);
        QVERIFY(!s->isVisible());
        QCOMPARE(s->windowTitle(), QStringLiteral(" Tegolario © - www.tegolario.example"));
        QCOMPARE(s->size(), QSize(600, 368));
        QCOMPARE(s->toolTip(), QStringLiteral("  Visita il sito Internet dell'autore "));
        QCOMPARE(s->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!(s->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(s->Timer1().isActive());
        QCOMPARE(s->Timer1().interval(), 50);
        // The sprites took their places at creation, from the pictures' sizes, before any picture is decoded.
        const TSprite& primo = s->Scena().Sprite()[0];
        QCOMPARE(primo.x, 108 + 7919 % (597 - 216));
        QCOMPARE(primo.y, 60 + 7919 % (362 - 120));
        QVERIFY(s->Scena().Fotogramma().isNull());
        // Hidden, the scene moves with the timer and nothing is drawn.
        const Posizioni prima(s->Scena());
        QTest::qWait(300);
        QVERIFY(!(Posizioni(s->Scena()) == prima));
        QVERIFY(s->Scena().Fotogramma().isNull());
    }

    void shownFromTheLauncherWhereTheSceneHasGot() {
        TfrmSplash* s = Splash();
        Avvio()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Avvio()));
        bool modale = false, ricostruito = false, disegnato = false, mosso = false;
        QTimer::singleShot(0, this, [&] {
            modale = QApplication::activeModalWidget() == s && s->isVisible();
            // The frame was made afresh at the showing: the background with the sprites where they are.
            const QImage alMostrare = s->Scena().Fotogramma().copy();
            TScenaSplash copia = s->Scena();
            copia.Ricostruisci();
            ricostruito = !alMostrare.isNull() && copia.Fotogramma() == alMostrare && alMostrare.size() == QSize(597, 362);
            // The window shows the frame at (0, 0) and black around it.
            const QImage schermo = s->grab().toImage().convertToFormat(QImage::Format_RGB32);
            disegnato = schermo.copy(0, 0, 597, 362) == s->Scena().Fotogramma() &&
                        schermo.pixel(599, 367) == qRgb(0, 0, 0) && schermo.pixel(598, 10) == qRgb(0, 0, 0);
            // While shown each tick draws.
            const QImage primo = s->Scena().Fotogramma().copy();
            s->Timer1Timer();
            mosso = s->Scena().Fotogramma() != primo;
            QTest::mouseClick(s, Qt::RightButton, {}, QPoint(300, 200)); // any button
        });
        QTest::mouseClick(Avvio()->findChild<QWidget*>(QStringLiteral("imgCopyright")), Qt::LeftButton);
        QVERIFY(modale);
        QVERIFY(ricostruito);
        QVERIFY(disegnato);
        QVERIFY(mosso);
        QVERIFY(!s->isVisible());
        QVERIFY(Avvio()->isVisible());
        QCOMPARE(m_doppi.ApriSistema.Richieste.size(), 1);
        QCOMPARE(m_doppi.ApriSistema.Richieste.last(),
                 qMakePair(QStringLiteral("https://www.tegolario.example"), QStringLiteral("Open")));
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
        // Hidden again, it keeps moving without drawing; the timer never stops.
        const QImage chiuso = s->Scena().Fotogramma().copy();
        const Posizioni prima(s->Scena());
        s->Timer1Timer();
        s->Timer1Timer();
        QCOMPARE(s->Scena().Fotogramma(), chiuso);
        QVERIFY(!(Posizioni(s->Scena()) == prima));
        QVERIFY(s->Timer1().isActive());
    }

    void theProgramsSpriteIsTwentyFourBitWithItsCornerTransparent() {
        const TImageArray& a = Splash()->Scena().Immagine();
        QCOMPARE(a.FormatoPixel(), TImageArray::Formato::Bit24);
        QCOMPARE(QSize(a.Larghezza(), a.Altezza()), QSize(108, 60));
        QCOMPARE(a.ColoreTrasparente(), qRgb(255, 0, 255));
        QCOMPARE(Splash()->Scena().Sfondo().size(), QSize(597, 362));
    }
};

QTEST_MAIN(TestGuiSplash)
#include "test_gui_splash.moc"
