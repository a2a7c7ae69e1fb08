#include "photo/Foto.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

QByteArray Jpeg(const QImage& img, int qualita = 90)
{
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", qualita);
    return b;
}

// Left half red, right half blue.
QImage DueColori(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QPainter(&img).fillRect(0, 0, w / 2, h, Qt::red);
    return img;
}

// An APP1 Exif segment (big-endian TIFF) with one IFD entry: Orientation.
QByteArray ConOrientamento(const QByteArray& jpeg, quint16 orientamento)
{
    QByteArray tiff("MM\x00\x2A\x00\x00\x00\x08", 8);
    tiff += QByteArray("\x00\x01", 2);                         // one entry
    tiff += QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01", 8); // tag, SHORT, count 1
    tiff += char(orientamento >> 8);
    tiff += char(orientamento & 0xFF);
    tiff += QByteArray(2, '\0');
    tiff += QByteArray(4, '\0'); // no next IFD
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int lunghezza = app1.size() + 2;
    QByteArray segmento("\xFF\xE1", 2);
    segmento += char(lunghezza >> 8);
    segmento += char(lunghezza & 0xFF);
    segmento += app1;
    return jpeg.left(2) + segmento + jpeg.mid(2);
}

// The same bytes with the frame header claiming another size.
QByteArray ConDimensioni(QByteArray jpeg, int w, int h)
{
    const int sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    Q_ASSERT(sof > 0);
    jpeg[sof + 5] = char(h >> 8);
    jpeg[sof + 6] = char(h & 0xFF);
    jpeg[sof + 7] = char(w >> 8);
    jpeg[sof + 8] = char(w & 0xFF);
    return jpeg;
}

bool Vicino(QRgb a, QColor b, int tolleranza = 40)
{
    return qAbs(qRed(a) - b.red()) < tolleranza && qAbs(qGreen(a) - b.green()) < tolleranza
        && qAbs(qBlue(a) - b.blue()) < tolleranza;
}

// Red top left, green top right, blue bottom left, yellow bottom right.
QImage QuattroColori(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return img;
}

// The corners, a few pixels in (top left, top right, bottom left, bottom right),
// that do not have the expected colour; empty when all four have it.
QString AngoliDiversi(const QImage& img, const std::array<QColor, 4>& attesi, int margine = 3)
{
    const int r = img.width() - 1 - margine, b = img.height() - 1 - margine;
    const QPoint punti[4] = {{margine, margine}, {r, margine}, {margine, b}, {r, b}};
    const char* nomi[4] = {"top left", "top right", "bottom left", "bottom right"};
    QString diversi;
    for (int i = 0; i < 4; ++i) {
        const QRgb c = img.pixel(punti[i]);
        if (!Vicino(c, attesi[i]))
            diversi += QStringLiteral("%1 is %2,%3,%4 not %5; ").arg(QLatin1String(nomi[i])).arg(qRed(c)).arg(qGreen(c))
                           .arg(qBlue(c)).arg(attesi[i].name());
    }
    return diversi;
}

// An APP1 Exif segment put right after the start of image, as cameras write it:
// a first IFD of three entries (Make, Orientation, YCbCrPositioning) in the
// given byte order, "II" (Intel, most phones) or "MM" (Motorola).
QByteArray ConExif(const QByteArray& jpeg, quint16 orientamento, bool intel)
{
    QByteArray tiff;
    auto u16 = [&](quint16 v) {
        const char alto = char(v >> 8), basso = char(v & 0xFF);
        tiff += intel ? basso : alto;
        tiff += intel ? alto : basso;
    };
    auto u32 = [&](quint32 v) {
        intel ? (u16(quint16(v & 0xFFFF)), u16(quint16(v >> 16))) : (u16(quint16(v >> 16)), u16(quint16(v & 0xFFFF)));
    };
    tiff += intel ? "II" : "MM";
    u16(42);
    u32(8);
    u16(3);
    u16(0x010F); u16(2); u32(6); u32(8 + 2 + 3 * 12 + 4); // Make, ASCII, past the IFD
    u16(0x0112); u16(3); u32(1); u16(orientamento); u16(0);
    u16(0x0213); u16(3); u32(1); u16(1); u16(0);
    u32(0); // no next IFD
    tiff += QByteArray("Phone\0", 6);
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int lunghezza = app1.size() + 2;
    QByteArray segmento("\xFF\xE1", 2);
    segmento += char(lunghezza >> 8);
    segmento += char(lunghezza & 0xFF);
    return jpeg.left(2) + segmento + app1 + jpeg.mid(2);
}

enum class Cmyk { Semplice, Adobe, AdobeYcck };

// A four-component JPEG written by libjpeg from the inks of each pixel (0 no ink,
// 255 full). Files with the Adobe APP14 marker hold the inks inverted, as the
// programs that write them do; YCCK is how they usually code them.
QByteArray JpegCmyk(int w, int h, const std::function<std::array<uchar, 4>(int, int)>& inchiostro, Cmyk tipo)
{
    jpeg_compress_struct c;
    jpeg_error_mgr errore;
    c.err = jpeg_std_error(&errore);
    jpeg_create_compress(&c);
    unsigned char* dati = nullptr;
    unsigned long dimensione = 0;
    jpeg_mem_dest(&c, &dati, &dimensione);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, tipo == Cmyk::AdobeYcck ? JCS_YCCK : JCS_CMYK);
    c.write_Adobe_marker = tipo != Cmyk::Semplice;
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> riga(size_t(w) * 4);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < w; ++x) {
            const auto v = inchiostro(x, int(c.next_scanline));
            for (int k = 0; k < 4; ++k)
                riga[size_t(x) * 4 + k] = JSAMPLE(tipo == Cmyk::Semplice ? v[k] : 255 - v[k]);
        }
        JSAMPROW r = riga.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const QByteArray jpeg(reinterpret_cast<const char*>(dati), int(dimensione));
    std::free(dati);
    return jpeg;
}

bool HaMarcatoreAdobe(const QByteArray& jpeg)
{
    return jpeg.contains(QByteArray("\xFF\xEE", 2)) && jpeg.contains("Adobe");
}

} // namespace

class TestFoto : public QObject {
    Q_OBJECT
private slots:
    void adattamento()
    {
        const QSize box(605, 449);
        // Fits: own size, centred.
        QCOMPARE(Adattamento::Adatta(QSize(300, 200), box), QRect(152, 124, 300, 200));
        QCOMPARE(Adattamento::Adatta(QSize(605, 449), box), QRect(0, 0, 605, 449));
        // Landscape: 73 free above, 74 below.
        QCOMPARE(Adattamento::Adatta(QSize(2000, 1000), box), QRect(0, 73, 605, 302));
        // Landscape whose scaled height would overflow: height bound instead.
        QCOMPARE(Adattamento::Adatta(QSize(1000, 900), box), QRect(53, 0, 498, 449));
        // Portrait and square.
        QCOMPARE(Adattamento::Adatta(QSize(1000, 2000), box), QRect(190, 0, 224, 449));
        QCOMPARE(Adattamento::Adatta(QSize(1000, 1000), box), QRect(78, 0, 449, 449));
        // Portrait whose scaled width would overflow: width bound instead.
        QCOMPARE(Adattamento::Adatta(QSize(900, 1000), QSize(300, 800)), QRect(0, 233, 300, 333));
        // Twice the sample size lands exactly on the box.
        QCOMPARE(Adattamento::Adatta(QSize(1210, 898), box), QRect(0, 0, 605, 449));
        // Only one side too large still scales.
        QCOMPARE(Adattamento::Adatta(QSize(700, 100), box), QRect(0, 181, 605, 86));
        QVERIFY(Adattamento::Adatta(QSize(), box).isEmpty());
        QVERIFY(Adattamento::Adatta(QSize(100, 100), QSize(0, 10)).isEmpty());
    }

    void decodificaAllaMisuraAdattata()
    {
        // Horizontal gradient: red grows left to right, green top to bottom.
        QImage sorgente(3000, 2000, QImage::Format_RGB32);
        for (int y = 0; y < sorgente.height(); ++y) {
            auto* riga = reinterpret_cast<QRgb*>(sorgente.scanLine(y));
            for (int x = 0; x < sorgente.width(); ++x)
                riga[x] = qRgb(x * 255 / 2999, y * 255 / 1999, 128);
        }
        QTemporaryDir dir;
        const QString percorso = dir.filePath("grande.jpg");
        QVERIFY(sorgente.save(percorso, "JPEG", 90));

        const TFoto foto = TFoto::DaFile(percorso);
        QCOMPARE(foto.Dimensioni(), QSize(3000, 2000));
        const QImage img = foto.Immagine(QSize(605, 449));
        QCOMPARE(img.size(), QSize(605, 403));
        QVERIFY(Vicino(img.pixel(2, 2), QColor(0, 0, 128)));
        QVERIFY(Vicino(img.pixel(602, 400), QColor(255, 255, 128)));
        QVERIFY(Vicino(img.pixel(302, 201), QColor(128, 128, 128)));

        // Full screen and a second request for the first box (served from the cache).
        QCOMPARE(foto.Immagine(QSize(1916, 1076)).size(), QSize(1614, 1076));
        QCOMPARE(foto.Immagine(QSize(605, 449)).cacheKey(), img.cacheKey());
        // A copy shares the decoded images.
        const TFoto copia = foto;
        QCOMPARE(copia.Immagine(QSize(605, 449)).cacheKey(), img.cacheKey());

        // Far wider than the box: even the smallest DCT scale leaves a fourfold
        // reduction, averaged over the stripes.
        QImage strisce(12000, 600, QImage::Format_RGB32);
        for (int x = 0; x < strisce.width(); ++x)
            QPainter(&strisce).fillRect(x, 0, 1, 600, x % 2 ? Qt::white : Qt::black);
        const QImage media = TFoto::DaByte(Jpeg(strisce)).Immagine(QSize(605, 449));
        QCOMPARE(media.size(), QSize(605, 30));
        QVERIFY(Vicino(media.pixel(300, 15), QColor(128, 128, 128)));

        // A picture that fits is never enlarged.
        const TFoto piccola = TFoto::DaByte(Jpeg(DueColori(300, 200)));
        QCOMPARE(piccola.Immagine(QSize(605, 449)).size(), QSize(300, 200));
    }

    void riduzioneLieve()
    {
        // A few percent off after the DCT scale: 700 x 500 decodes at 7/8 (613 x 438)
        // and still has to reach 605 x 432. Gradients must come out where they were,
        // and a sharp edge stays sharp and in place.
        QImage sorgente(700, 500, QImage::Format_RGB32);
        for (int y = 0; y < sorgente.height(); ++y) {
            auto* riga = reinterpret_cast<QRgb*>(sorgente.scanLine(y));
            for (int x = 0; x < sorgente.width(); ++x)
                riga[x] = x < 350 ? qRgb(x * 255 / 699, y * 255 / 499, 40) : qRgb(x * 255 / 699, y * 255 / 499, 220);
        }
        const QImage img = TFoto::DaByte(Jpeg(sorgente, 95)).Immagine(QSize(605, 449));
        QCOMPARE(img.size(), QSize(605, 432));
        for (const QPoint p : {QPoint(0, 0), QPoint(604, 0), QPoint(0, 431), QPoint(604, 431), QPoint(150, 200),
                               QPoint(450, 300)}) {
            const QPoint s(p.x() * 700 / 605, p.y() * 500 / 432);
            QVERIFY2(Vicino(img.pixel(p), sorgente.pixelColor(s), 12), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        }
        // The blue step at 350 / 700 lands at 302.5 of 605.
        QVERIFY(qBlue(img.pixel(300, 100)) < 80 && qBlue(img.pixel(305, 100)) > 180);

        // One row or one column, and an odd width: nothing read past the picture.
        QImage riga(700, 1, QImage::Format_RGB32);
        riga.fill(QColor(200, 30, 90));
        const QImage r = TFoto::DaByte(Jpeg(riga, 95)).Immagine(QSize(605, 449));
        QCOMPARE(r.size(), QSize(605, 1));
        QVERIFY(Vicino(r.pixel(0, 0), QColor(200, 30, 90), 12) && Vicino(r.pixel(604, 0), QColor(200, 30, 90), 12));
        QImage colonna(1, 520, QImage::Format_RGB32);
        colonna.fill(QColor(20, 230, 60));
        const QImage c = TFoto::DaByte(Jpeg(colonna, 95)).Immagine(QSize(605, 449));
        QCOMPARE(c.size(), QSize(1, 449));
        QVERIFY(Vicino(c.pixel(0, 0), QColor(20, 230, 60), 12) && Vicino(c.pixel(0, 448), QColor(20, 230, 60), 12));
    }

    void orientamentoExif()
    {
        const QByteArray base = Jpeg(DueColori(40, 20), 95);
        // 6: turn a quarter clockwise, so the red left half ends on top.
        const TFoto sei = TFoto::DaByte(ConOrientamento(base, 6));
        QCOMPARE(sei.Dimensioni(), QSize(20, 40));
        QImage img = sei.Immagine(QSize(605, 449));
        QCOMPARE(img.size(), QSize(20, 40));
        QVERIFY(Vicino(img.pixel(10, 3), Qt::red));
        QVERIFY(Vicino(img.pixel(10, 36), Qt::blue));
        // Fitted on the upright size.
        QCOMPARE(sei.Immagine(QSize(10, 10)).size(), QSize(5, 10));
        // 8: a quarter anticlockwise, red at the bottom.
        img = TFoto::DaByte(ConOrientamento(base, 8)).Immagine(QSize(605, 449));
        QCOMPARE(img.size(), QSize(20, 40));
        QVERIFY(Vicino(img.pixel(10, 36), Qt::red));
        // 3: half a turn, red on the right.
        img = TFoto::DaByte(ConOrientamento(base, 3)).Immagine(QSize(605, 449));
        QCOMPARE(img.size(), QSize(40, 20));
        QVERIFY(Vicino(img.pixel(36, 10), Qt::red));
        // 2: mirrored, red on the right too; 1 and nonsense values leave it as coded.
        img = TFoto::DaByte(ConOrientamento(base, 2)).Immagine(QSize(605, 449));
        QVERIFY(Vicino(img.pixel(36, 10), Qt::red));
        img = TFoto::DaByte(ConOrientamento(base, 77)).Immagine(QSize(605, 449));
        QVERIFY(Vicino(img.pixel(3, 10), Qt::red));
    }

    // Every orientation in both byte orders, by where the four corner colours of the
    // coded picture end up once it stands upright: at its own size and reduced.
    void orientamentoInEntrambiGliOrdini_data()
    {
        QTest::addColumn<int>("orientamento");
        QTest::addColumn<bool>("intel");
        QTest::addColumn<QList<QColor>>("angoli"); // top left, top right, bottom left, bottom right
        const QColor R = Qt::red, G = Qt::green, B = Qt::blue, Y = Qt::yellow;
        // Where row 0 and column 0 of the coded picture go, per the EXIF tag:
        // 1 top/left, 2 top/right, 3 bottom/right, 4 bottom/left,
        // 5 left/top, 6 right/top, 7 right/bottom, 8 left/bottom.
        const QList<QColor> attesi[9] = {
            {},
            {R, G, B, Y}, {G, R, Y, B}, {Y, B, G, R}, {B, Y, R, G},
            {R, B, G, Y}, {B, R, Y, G}, {Y, G, B, R}, {G, Y, R, B},
        };
        for (bool intel : {true, false})
            for (int o = 1; o <= 8; ++o)
                QTest::addRow("%s %d", intel ? "II" : "MM", o) << o << intel << attesi[o];
    }

    void orientamentoInEntrambiGliOrdini()
    {
        QFETCH(int, orientamento);
        QFETCH(bool, intel);
        QFETCH(QList<QColor>, angoli);
        const std::array<QColor, 4> attesi{angoli[0], angoli[1], angoli[2], angoli[3]};
        const bool ruotata = orientamento >= 5;

        const TFoto foto = TFoto::DaByte(ConExif(Jpeg(QuattroColori(320, 240), 95), quint16(orientamento), intel));
        QCOMPARE(foto.Dimensioni(), ruotata ? QSize(240, 320) : QSize(320, 240));
        const QImage intera = foto.Immagine(QSize(605, 449));
        QCOMPARE(intera.size(), ruotata ? QSize(240, 320) : QSize(320, 240));
        QCOMPARE(AngoliDiversi(intera, attesi), QString());
        const QImage ridotta = foto.Immagine(QSize(40, 40));
        QCOMPARE(ridotta.size(), ruotata ? QSize(30, 40) : QSize(40, 30));
        QCOMPARE(AngoliDiversi(ridotta, attesi, 2), QString());
    }

    // Four-component files decode to the colours their inks make, with and
    // without the Adobe marker that says the inks are stored inverted.
    void cmyk_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::newRow("CMYK") << int(Cmyk::Semplice);
        QTest::newRow("CMYK Adobe") << int(Cmyk::Adobe);
        QTest::newRow("YCCK Adobe") << int(Cmyk::AdobeYcck);
    }

    void cmyk()
    {
        QFETCH(int, tipo);
        // Red, green and blue from two inks each; a dark grey from black ink alone.
        const int w = 320, h = 240;
        const QByteArray jpeg = JpegCmyk(w, h, [&](int x, int y) -> std::array<uchar, 4> {
            const bool destra = x >= w / 2, sotto = y >= h / 2;
            if (!sotto) return destra ? std::array<uchar, 4>{255, 0, 255, 0} : std::array<uchar, 4>{0, 255, 255, 0};
            return destra ? std::array<uchar, 4>{0, 0, 0, 192} : std::array<uchar, 4>{255, 255, 0, 0};
        }, Cmyk(tipo));
        QCOMPARE(HaMarcatoreAdobe(jpeg), Cmyk(tipo) != Cmyk::Semplice);
        const std::array<QColor, 4> attesi{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(63, 63, 63)};

        const TFoto foto = TFoto::DaByte(jpeg);
        QCOMPARE(foto.Dimensioni(), QSize(w, h));
        const QImage intera = foto.Immagine(QSize(605, 449));
        QCOMPARE(intera.size(), QSize(w, h));
        QCOMPARE(AngoliDiversi(intera, attesi), QString());
        const QImage ridotta = foto.Immagine(QSize(100, 100));
        QCOMPARE(ridotta.size(), QSize(100, 75));
        QCOMPARE(AngoliDiversi(ridotta, attesi, 2), QString());
        // No ink is white.
        const QImage bianca = TFoto::DaByte(JpegCmyk(16, 16, [](int, int) { return std::array<uchar, 4>{0, 0, 0, 0}; },
                                                     Cmyk(tipo))).Immagine(QSize(16, 16));
        QVERIFY(Vicino(bianca.pixel(8, 8), Qt::white, 8));
    }

    void byteNonDecodificabili()
    {
        QImage sorgente(800, 600, QImage::Format_RGB32);
        sorgente.fill(QColor(10, 200, 30));
        const QByteArray buona = Jpeg(sorgente);

        QByteArray png;
        {
            QBuffer buf(&png);
            buf.open(QIODevice::WriteOnly);
            sorgente.save(&buf, "PNG");
        }
        QByteArray casuali(5000, '\0');
        QRandomGenerator gen(7);
        for (char& c : casuali)
            c = char(gen.bounded(256));

        const QList<QByteArray> cattive = {
            QByteArray(), png, casuali, buona.left(2), buona.left(100),
            ConDimensioni(buona, 60000, 60000), // beyond any sane side
            ConDimensioni(buona, 20000, 20000), // 400 megapixels
            ConDimensioni(buona, 0, 600),
        };
        for (const QByteArray& b : cattive) {
            const TFoto foto = TFoto::DaByte(b);
            QVERIFY(!foto.Decodificabile());
            QVERIFY(foto.Immagine(QSize(605, 449)).isNull());
            QCOMPARE(foto.Byte(), b);
        }
        QVERIFY(TFoto().Vuota());
        QVERIFY(TFoto::DaFile("/nessuna/cartella/foto.jpg").Vuota());

        // Damaged bytes anywhere: a picture of the right size or none, never a crash.
        const QByteArray progressiva = [&] {
            QByteArray b;
            QBuffer buf(&b);
            buf.open(QIODevice::WriteOnly);
            QImageWriter w(&buf, "JPEG");
            w.setProgressiveScanWrite(true);
            w.write(DueColori(320, 240));
            return b;
        }();
        const QImage intera = TFoto::DaByte(progressiva).Immagine(QSize(200, 100));
        QCOMPARE(intera.size(), QSize(133, 100));
        QVERIFY(Vicino(intera.pixel(10, 50), Qt::red) && Vicino(intera.pixel(120, 50), Qt::blue));
        for (const QByteArray& sana : {buona, progressiva}) {
            for (int i = 0; i < 150; ++i) {
                QByteArray guasta = sana;
                for (int k = 0; k < 1 + i % 8; ++k)
                    guasta[gen.bounded(int(guasta.size()))] = char(gen.bounded(256));
                const TFoto foto = TFoto::DaByte(guasta);
                const QImage img = foto.Immagine(QSize(200, 100));
                QVERIFY(img.isNull() || img.size() == Adattamento::Adatta(foto.Dimensioni(), QSize(200, 100)).size());
            }
        }

        // Cut after the header: what was coded decodes, the rest comes out grey.
        const TFoto tagliata = TFoto::DaByte(buona.left(buona.size() / 2));
        QCOMPARE(tagliata.Dimensioni(), QSize(800, 600));
        const QImage parziale = tagliata.Immagine(QSize(605, 449));
        QCOMPARE(parziale.size(), QSize(598, 449));
        QVERIFY(Vicino(parziale.pixel(300, 5), QColor(10, 200, 30)));

        // A header that claims far more than the data holds still ends quickly and bounded.
        const TFoto gonfiata = TFoto::DaByte(ConDimensioni(buona, 16000, 9000));
        QCOMPARE(gonfiata.Dimensioni(), QSize(16000, 9000));
        QCOMPARE(gonfiata.Immagine(QSize(605, 449)).size(), QSize(605, 340));
    }

    void byteConservati()
    {
        const QByteArray b = ConOrientamento(Jpeg(DueColori(64, 48)), 6);
        QTemporaryDir dir;
        QFile f(dir.filePath("f.jpg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(b);
        f.close();
        const TFoto foto = TFoto::DaFile(f.fileName());
        QVERIFY(!foto.Vuota());
        foto.Immagine(QSize(605, 449));
        foto.Immagine(QSize(20, 20));
        QCOMPARE(foto.Byte(), b);
        QCOMPARE(TFoto::DaByte(b).Byte(), b);
    }
};

QTEST_GUILESS_MAIN(TestFoto)
#include "test_foto.moc"
