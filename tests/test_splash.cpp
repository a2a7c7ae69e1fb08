// The splash scene without widgets: the column picture's loading and rotated
// rendering, and the sprites' start, moves, bounces and drawing.
#include "app/TImageArray.h"
#include "app/TScenaSplash.h"
#include "doubles/Doppi.h"

#include <QTest>

#include <cmath>
#include <numbers>

namespace {

// Random numbers from a script, recording the limit of every draw.
class CasualeScritto : public IOrologio {
public:
    QDateTime Adesso() override { return {}; }
    int Casuale(int limite) override {
        Limiti.append(limite);
        const int v = Valori.isEmpty() ? Riserva : Valori.takeFirst();
        return limite > 0 ? v % limite : 0;
    }
    QList<int> Valori;
    QList<int> Limiti;
    int Riserva = 0;
};

constexpr int Uno = 1 << 24; // the random reals' denominator

// A 108 x 60 sprite: every pixel a distinct colour, the bottom-left one the
// transparent colour (magenta), used nowhere else.
QImage Sprite24(QImage::Format formato = QImage::Format_RGB888) {
    QImage img(108, 60, QImage::Format_RGB888);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 108; ++x) img.setPixel(x, y, qRgb(x, y * 4, 100 + (x + y) % 100));
    img.setPixel(0, 59, qRgb(255, 0, 255));
    return img.convertToFormat(formato);
}

// The sprite of the program's kind: a body inside a transparent border.
QImage SpriteConBordo() {
    QImage img(108, 60, QImage::Format_RGB888);
    img.fill(qRgb(255, 0, 255));
    for (int y = 6; y < 54; ++y)
        for (int x = 10; x < 98; ++x) img.setPixel(x, y, qRgb(200, 30 + x, 30 + y));
    return img;
}

QImage Sfondo() {
    QImage img(597, 362, QImage::Format_RGB32);
    for (int y = 0; y < 362; ++y)
        for (int x = 0; x < 597; ++x) img.setPixel(x, y, qRgb(20, (x / 8) % 64, (y / 8) % 64 + 100));
    return img;
}

QRgb Px(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xff000000u; }

} // namespace

class TestSplash : public QObject {
    Q_OBJECT
    DoppiPiattaforma m_doppi;
    CasualeScritto m_caso;

private slots:
    void init() {
        m_doppi.Installa();
        m_caso = CasualeScritto();
        Piattaforma::Imposta(&m_caso);
        m_doppi.Messaggi.Azzera();
    }

    void halvesGoToTheEvenNeighbour() {
        QCOMPARE(VicinoPari(0.5), 0.0);
        QCOMPARE(VicinoPari(1.5), 2.0);
        QCOMPARE(VicinoPari(2.5), 2.0);
        QCOMPARE(VicinoPari(-0.5), 0.0);
        QCOMPARE(VicinoPari(-1.5), -2.0);
        QCOMPARE(VicinoPari(-2.5), -2.0);
        QCOMPARE(VicinoPari(2.4999), 2.0);
        QCOMPARE(VicinoPari(-2.5001), -3.0);
        // In the box size: 5 x 2 at scale 0.5 is 2 x 1 (2.5 and 1 round down to even).
        TImageArray a;
        QImage img(5, 2, QImage::Format_RGB888);
        img.fill(Qt::white);
        QVERIFY(a.LoadColumns(img));
        QImage d;
        a.RenderRotated(d, 0.0f, 0.5f, false);
        QCOMPARE(d.size(), QSize(2, 1));
    }

    void loadsColumnsOfBothDepths() {
        const QImage rgb = Sprite24();
        for (QImage::Format f : {QImage::Format_RGB888, QImage::Format_BGR888}) {
            TImageArray a;
            QVERIFY(a.LoadColumns(rgb.convertToFormat(f)));
            QCOMPARE(a.FormatoPixel(), TImageArray::Formato::Bit24);
            QCOMPARE(int(a.Larghezza()), 108);
            QCOMPARE(int(a.Altezza()), 60);
            QCOMPARE(a.ColoreTrasparente(), qRgb(255, 0, 255));
            // Columns keep blue, green, red, row 0 first.
            const auto& c = a.Colonna(7);
            QCOMPARE(int(c.size()), 60 * 3);
            QCOMPARE(int(c[3 * 2 + 0]), 100 + 9); // blue of (7, 2)
            QCOMPARE(int(c[3 * 2 + 1]), 8);       // green
            QCOMPARE(int(c[3 * 2 + 2]), 7);       // red
            QCOMPARE(a.Pixel(7, 2), rgb.pixel(7, 2));
        }

        QImage ind(4, 3, QImage::Format_Indexed8);
        ind.setColorTable({qRgb(1, 2, 3), qRgb(10, 20, 30), qRgb(9, 9, 9)});
        ind.fill(1);
        ind.setPixel(0, 2, 2);
        ind.setPixel(3, 0, 0);
        TImageArray p;
        QVERIFY(p.LoadColumns(ind));
        QCOMPARE(p.FormatoPixel(), TImageArray::Formato::Bit8);
        QCOMPARE(p.Tavolozza().size(), 3);
        QCOMPARE(p.ColoreTrasparente(), qRgb(9, 9, 9));
        QCOMPARE(int(p.Colonna(3)[0]), 0);
        QCOMPARE(int(p.Colonna(3).size()), 3);
        QImage d;
        const QPoint c = p.RenderRotated(d, 0.0f, 1.0f, false);
        QCOMPARE(d.format(), QImage::Format_Indexed8);
        QCOMPARE(d.colorTable(), ind.colorTable());
        QCOMPARE(d.pixelIndex(3, 0), 0);
        QCOMPARE(d.pixelIndex(0, 2), 2);
        QCOMPARE(c, QPoint(2, 1));
    }

    void otherDepthsRefusedWithThePlainMessageAndNothingChanged() {
        TImageArray a;
        QVERIFY(a.LoadColumns(Sprite24()));
        for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_Mono,
                                 QImage::Format_Grayscale8, QImage::Format_RGB16}) {
            m_doppi.Messaggi.Azzera();
            QVERIFY(!a.LoadColumns(QImage(3, 3, f)));
            QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
            QCOMPARE(m_doppi.Messaggi.Ultimo().Tipo, TipoMessaggio::Semplice);
            QCOMPARE(m_doppi.Messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
            QCOMPARE(m_doppi.Messaggi.Ultimo().Testo, QStringLiteral("only 8 bit and 24 bit bitmaps are allowed"));
            QCOMPARE(int(a.Larghezza()), 108);
            QCOMPARE(a.ColoreTrasparente(), qRgb(255, 0, 255));
        }
    }

    void angleZeroCopiesExactlyAndMirrors() {
        const QImage src = Sprite24();
        TImageArray a;
        QVERIFY(a.LoadColumns(src));
        QImage d;
        QCOMPARE(a.RenderRotated(d, 0.0f, 1.0f, false), QPoint(54, 30));
        QCOMPARE(d.size(), QSize(108, 60));
        QCOMPARE(d.format(), QImage::Format_BGR888);
        QCOMPARE(d.convertToFormat(QImage::Format_RGB32), src.convertToFormat(QImage::Format_RGB32));

        QImage m;
        QCOMPARE(a.RenderRotated(m, 0.0f, 1.0f, true), QPoint(54, 30));
        QCOMPARE(m.convertToFormat(QImage::Format_RGB32),
                 src.mirrored(true, false).convertToFormat(QImage::Format_RGB32));
    }

    void scaleTwoDoublesEachPixelAndSmallScalesShrink() {
        TImageArray a;
        QVERIFY(a.LoadColumns(Sprite24()));
        QImage d;
        QCOMPARE(a.RenderRotated(d, 0.0f, 100.0f / 50.0f, false), QPoint(108, 60));
        QCOMPARE(d.size(), QSize(216, 120));
        for (int y = 0; y < 120; y += 7)
            for (int x = 0; x < 216; x += 5) QCOMPARE(Px(d, x, y), a.Pixel(x / 2, y / 2));
        // At the farthest depth (the background's height, 362).
        a.RenderRotated(d, 0.0f, 100.0f / 362.0f, false);
        QCOMPARE(d.size(), QSize(30, 17));
        // A scale that is not positive gives nothing, never a crash.
        QCOMPARE(a.RenderRotated(d, 1.0f, 0.0f, false), QPoint(0, 0));
        QVERIFY(d.isNull());
        QVERIFY(TImageArray().RenderRotated(d, 1.0f, 1.0f, false) == QPoint(0, 0));
    }

    void quarterTurnSwapsTheSidesAndRotates() {
        TImageArray a;
        QVERIFY(a.LoadColumns(Sprite24()));
        QImage d;
        const float mezzoPi = std::numbers::pi_v<float> / 2;
        QCOMPARE(a.RenderRotated(d, mezzoPi, 1.0f, false), QPoint(30, 54));
        QCOMPARE(d.size(), QSize(60, 108));
        // Destination column i, row j shows the source column 107 - j, row i.
        for (int j = 0; j < 108; ++j)
            for (int i = 0; i < 60; ++i) QCOMPARE(Px(d, i, j), a.Pixel(107 - j, i));
        a.RenderRotated(d, mezzoPi, 1.0f, true);
        for (int j = 0; j < 108; j += 3)
            for (int i = 0; i < 60; i += 3) QCOMPARE(Px(d, i, j), a.Pixel(j, i));
    }

    void cornersOfATurnedBoxTakeTheFillColour() {
        TImageArray a;
        QVERIFY(a.LoadColumns(Sprite24()));
        QImage d;
        const QPoint c = a.RenderRotated(d, 0.6f, 1.3f, false);
        // m = |nearest(60 sin 0.6 1.3)| + |nearest(108 cos 0.6 1.3)|, likewise u.
        const double s = std::sin(0.6f), k = std::cos(0.6f);
        QCOMPARE(d.width(), int(std::lround(60 * s * 1.3f) + std::lround(108 * k * 1.3f)));
        QCOMPARE(d.height(), int(std::lround(108 * s * 1.3f) + std::lround(60 * k * 1.3f)));
        QCOMPARE(c, QPoint(d.width() / 2, d.height() / 2));
        const QRgb fill = a.ColoreTrasparente();
        for (QPoint p : {QPoint(0, 0), QPoint(d.width() - 1, 0), QPoint(0, d.height() - 1),
                         QPoint(d.width() - 1, d.height() - 1)})
            QCOMPARE(Px(d, p.x(), p.y()), fill);
        // The centre shows the source's centre.
        const QRgb centro = Px(d, c.x(), c.y());
        bool vicino = false;
        for (int y = 28; y <= 31; ++y)
            for (int x = 52; x <= 55; ++x) vicino = vicino || a.Pixel(x, y) == centro;
        QVERIFY(vicino);
    }

    void transparentDrawLeavesTheKeyOutAndClips() {
        QImage frame(10, 10, QImage::Format_RGB32);
        frame.fill(qRgb(1, 1, 1));
        QImage sprite(4, 4, QImage::Format_BGR888);
        sprite.fill(qRgb(255, 0, 255));
        sprite.setPixel(1, 1, qRgb(7, 8, 9));
        sprite.setPixel(3, 3, qRgb(70, 80, 90));
        DisegnaTrasparente(frame, sprite, QPoint(-1, 8), qRgb(255, 0, 255));
        QCOMPARE(Px(frame, 0, 9), qRgb(7, 8, 9));
        QCOMPARE(Px(frame, 1, 9), qRgb(1, 1, 1));
        QCOMPARE(Px(frame, 0, 8), qRgb(1, 1, 1));
        DisegnaTrasparente(frame, sprite, QPoint(50, 50), qRgb(255, 0, 255)); // wholly outside: nothing
    }

    // ---- the scene ----

    void spritesStartFromTheDrawsInTheirOrder() {
        // Per sprite: x, y, z, three signs, angle, spin.
        for (int k = 0; k < 5; ++k)
            m_caso.Valori << 10 * k << 5 * k << 100 + k << (k % 2) << 1 << 0 << Uno / 4 << Uno / 2 + k;
        TScenaSplash scena;
        QVERIFY(scena.Prepara(Sfondo(), Sprite24()));
        QList<int> attesi;
        for (int k = 0; k < 5; ++k) attesi << 597 - 216 << 362 - 120 << 362 - 50 << 2 << 2 << 2 << Uno << Uno;
        QCOMPARE(m_caso.Limiti, attesi);
        for (int k = 0; k < 5; ++k) {
            const TSprite& s = scena.Sprite()[k];
            QCOMPARE(s.x, 108 + 10 * k);
            QCOMPARE(s.y, 60 + 5 * k);
            QCOMPARE(s.z, 150 + k);
            QCOMPARE(s.dx, (k + 1) * (k % 2 ? 1 : -1));
            QCOMPARE(s.dy, k + 1);
            QCOMPARE(s.dz, -(k + 1));
            QCOMPARE(s.angolo, 0.25f * 2.0f * std::numbers::pi_v<float>);
            QCOMPARE(s.rotazione, float(Uno / 2 + k) / Uno * 0.4f - 0.2f);
            QCOMPARE(s.scala, (k + 1) / 4.0f);
            QCOMPARE(s.specchio, k % 2 == 0);
        }
        // The frame starts as the background.
        QCOMPARE(scena.Fotogramma(), Sfondo());
    }

    void bouncesAngleWrapAndDepth() {
        TScenaSplash scena;
        QVERIFY(scena.Prepara(Sfondo(), Sprite24()));
        auto& sp = scena.Sprite();
        const float duePi = 2.0f * std::numbers::pi_v<float>;
        // Sprite 0 at depth 100: scale 1, half side trunc(sqrt(108^2 + 60^2) / 2) = 61.
        QCOMPARE(scena.MezzoLato(1.0f), 61);
        sp[0] = TSprite{597 - 61 + 8, 100, 100, 1, 1, 1, duePi - 0.01f, 0.1f, 1.0f, true};
        // Sprite 1 at the far depth (half side 17) about to pass the top edge by more than 8,
        // its depth beyond the far bound.
        QCOMPARE(scena.MezzoLato(100.0f / 362.0f), 17);
        sp[1] = TSprite{300, 10, 362, 2, -2, 2, 0.05f, -0.1f, 1.0f, false};
        // Sprite 2 about to go below the near depth; 3 and 4 clear of every bound.
        sp[2] = TSprite{300, 200, 51, 3, 3, -3, 1.0f, 0.0f, 1.0f, true};
        sp[3] = TSprite{300, 200, 200, 4, 4, 4, duePi - 0.01f, 0.05f, 1.0f, false};
        sp[4] = TSprite{300, 200, 200, -5, -5, -5, 0.05f, -0.1f, 1.0f, true};
        m_caso.Limiti.clear();
        m_caso.Valori = {0, Uno / 2, Uno - 1, Uno / 4};
        scena.Tick();
        // 0: x past the right edge by more than 8: back to 597 - 61 + 8, dx reversed, new spin.
        QCOMPARE(sp[0].x, 597 - 61 + 8);
        QCOMPARE(sp[0].dx, -1);
        QCOMPARE(sp[0].rotazione, -0.2f);
        QCOMPARE(sp[0].scala, 1.0f);
        QCOMPARE(sp[0].angolo, duePi - 0.01f - 0.2f); // the new spin already turns it
        // 1: y back to 17 - 8 with dy reversed and a new spin; z went to 364 and stays there,
        // dz reversed, another new spin.
        QCOMPARE(sp[1].scala, 100.0f / 362.0f);
        QCOMPARE(sp[1].y, 9);
        QCOMPARE(sp[1].dy, 2);
        QCOMPARE(sp[1].z, 364);
        QCOMPARE(sp[1].dz, -2);
        QCOMPARE(sp[1].rotazione, float(Uno - 1) / Uno * 0.4f - 0.2f);
        // 2: depth under 50, not corrected.
        QCOMPARE(sp[2].z, 48);
        QCOMPARE(sp[2].dz, 3);
        QCOMPARE(sp[2].scala, 100.0f / 51.0f);
        QCOMPARE(sp[2].rotazione, -0.1f);
        // 3: plain move; the angle passed 2 pi and was brought back.
        QCOMPARE(sp[3].x, 304);
        QCOMPARE(sp[3].y, 204);
        QCOMPARE(sp[3].z, 204);
        QCOMPARE(sp[3].scala, 0.5f);
        float atteso = duePi - 0.01f;
        atteso += 0.05f;
        atteso -= duePi;
        QCOMPARE(sp[3].angolo, atteso);
        QVERIFY(sp[3].angolo >= 0 && sp[3].angolo < 0.1f);
        // 4: an angle that turns below 0 gains 2 pi.
        float sotto = 0.05f;
        sotto += -0.1f;
        sotto += duePi;
        QCOMPARE(sp[4].angolo, sotto);
        // One fresh spin per bounce and nothing else drawn.
        QCOMPARE(m_caso.Limiti, QList<int>({Uno, Uno, Uno, Uno}));
    }

    void aTickErasesAndDrawsWithoutTrails() {
        // Also a sprite opaque up to its corners, whose turned box can reach a pixel past its square.
        for (const QImage& sprite : {SpriteConBordo(), Sprite24()}) {
            m_caso = CasualeScritto();
            for (int k = 0; k < 40; ++k) m_caso.Valori << (k * 7919) % Uno;
            m_caso.Riserva = Uno / 3;
            TScenaSplash scena;
            QVERIFY(scena.Prepara(Sfondo(), sprite));
            const QImage sfondo = Sfondo();
            scena.Tick();
            const QRgb chiave = qRgb(255, 0, 255);
            // Each sprite's centre shows the sprite, the transparent colour never shows.
            for (const TSprite& s : scena.Sprite())
                if (QRect(0, 0, 597, 362).contains(s.x, s.y)) QVERIFY(Px(scena.Fotogramma(), s.x, s.y) != sfondo.pixel(s.x, s.y));
            const QImage primo = scena.Fotogramma().copy();
            for (int y = 0; y < 362; ++y)
                for (int x = 0; x < 597; ++x) QVERIFY(Px(primo, x, y) != chiave);
            // After many ticks the frame is exactly the background with the sprites where they are.
            for (int t = 0; t < 300; ++t) scena.Tick();
            const QImage dopo = scena.Fotogramma().copy();
            scena.Ricostruisci();
            QCOMPARE(dopo, scena.Fotogramma());
            QVERIFY(dopo != sfondo);
        }
    }

    void hiddenTicksMoveTheSameWithoutDrawing() {
        for (int k = 0; k < 40; ++k) m_caso.Valori << (k * 104729) % Uno;
        QList<int> seguito;
        for (int k = 0; k < 400; ++k) seguito << (k * 31337) % Uno;
        const QList<int> inizio = m_caso.Valori;
        TScenaSplash visibile, nascosta;
        m_caso.Valori = inizio + seguito;
        QVERIFY(visibile.Prepara(Sfondo(), SpriteConBordo()));
        for (int t = 0; t < 200; ++t) visibile.Tick(true);
        m_caso.Valori = inizio + seguito;
        nascosta.Avvia(QSize(597, 362), QSize(108, 60)); // pictures not loaded yet: ticks only move
        for (int t = 0; t < 100; ++t) nascosta.Tick(true);
        QVERIFY(nascosta.Fotogramma().isNull());
        QVERIFY(nascosta.CaricaImmagini(Sfondo(), SpriteConBordo()));
        for (int t = 0; t < 100; ++t) nascosta.Tick(false);
        QCOMPARE(nascosta.Fotogramma(), Sfondo()); // nothing drawn while hidden
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(nascosta.Sprite()[k].x, visibile.Sprite()[k].x);
            QCOMPARE(nascosta.Sprite()[k].y, visibile.Sprite()[k].y);
            QCOMPARE(nascosta.Sprite()[k].z, visibile.Sprite()[k].z);
            QCOMPARE(nascosta.Sprite()[k].angolo, visibile.Sprite()[k].angolo);
        }
        // Rebuilt at the showing, it is the scene that was drawn all along.
        nascosta.Ricostruisci();
        QCOMPARE(nascosta.Fotogramma(), visibile.Fotogramma());
    }
};

QTEST_GUILESS_MAIN(TestSplash)
#include "test_splash.moc"
