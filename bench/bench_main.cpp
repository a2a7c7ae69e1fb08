// Speed of the operations a user waits for, each against the floor the machine
// allows. One JSON object per measurement on standard output.
//
//  - step to the next card and show its photo (605 x 449 box and full screen),
//    against a bare libjpeg-turbo decode at the DCT scale covering the picture;
//  - quick find and advanced search listing every card of 10,000 (256 KB photo
//    each) until the list has painted, against a bare sqlite3 scan of the same
//    rows, with the peak memory of the find (bench_trova.cpp).
//  - the card window's, the photo browser's and the slideshow's steps with 12 and
//    24 megapixel photos, and the memory of a long show (bench_mostra.cpp).
#include "bench_comune.h"
#include "bench_avvio.h"
#include "bench_mostra.h"
#include "bench_esporta.h"
#include "bench_splash.h"
#include "bench_trova.h"
#include "photo/Foto.h"
#include "doubles/Doppi.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/TOperazioniScheda.h"
#include "store/TScheda.h"
#include "store/Testo.h"
#include "store/Win1252.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include <jpeglib.h>
#include <sqlite3.h>

namespace {

// ---- photo-like test pictures ----

// Smooth light and colour gradients with fine grain: about 3 bits per pixel at
// quality 90, which is what camera photos weigh.
QByteArray FotoSintetica(int w, int h, quint32 seme)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator gen(seme);
    for (int y = 0; y < h; ++y) {
        auto* riga = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double fy = double(y) / h;
        for (int x = 0; x < w; ++x) {
            const double fx = double(x) / w;
            const quint32 r = gen.generate();
            const int grana = int(r & 31) - 16;
            const double onda = 40 * std::sin(fx * 9 + fy * 4) + 30 * std::cos(fy * 13 - fx * 3);
            riga[x] = qRgb(std::clamp(int(60 + 140 * fx + onda) + grana, 0, 255),
                           std::clamp(int(90 + 100 * fy - onda / 2) + int((r >> 5) & 15) - 8, 0, 255),
                           std::clamp(int(160 - 80 * fx * fy + onda / 3) + int((r >> 9) & 15) - 8, 0, 255));
        }
    }
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 90);
    return b;
}

// ---- the floors ----

int ScalaCheCopre(QSize grezza, QSize misura)
{
    for (int n = 1; n < 8; ++n)
        if ((grezza.width() * n + 7) / 8 >= misura.width() && (grezza.height() * n + 7) / 8 >= misura.height())
            return n;
    return 8;
}

// libjpeg-turbo alone: header, DCT-scaled decode into a buffer, nothing else.
double DecodificaNuda(const QByteArray& jpeg, QSize box)
{
    jpeg_decompress_struct c;
    jpeg_error_mgr e;
    c.err = jpeg_std_error(&e);
    QElapsedTimer t;
    t.start();
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, reinterpret_cast<const unsigned char*>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&c, TRUE);
    const QSize grezza(int(c.image_width), int(c.image_height));
    c.scale_num = unsigned(ScalaCheCopre(grezza, Adattamento::Adatta(grezza, box).size()));
    c.scale_denom = 8;
    c.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&c);
    std::vector<unsigned char> pixel(size_t(c.output_width) * 4 * c.output_height);
    while (c.output_scanline < c.output_height) {
        unsigned char* riga = pixel.data() + size_t(c.output_scanline) * c.output_width * 4;
        jpeg_read_scanlines(&c, &riga, 1);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    return Millisecondi(t);
}

QList<QByteArray> TestiCarta(int i)
{
    QList<QByteArray> t;
    t << ("R" + QByteArray::number(10000 + i)) << "Monolocale luminoso con vista, ristrutturato"
      << "Via Roma " + QByteArray::number(i % 200) << QByteArray::number(1 + i % 5) << QByteArray::number(30 + i % 90)
      << "\x80 " + QByteArray::number(80000 + i * 7) << "B" << "Ottime" << "Note della scheda"
      << "Didascalia della foto";
    while (t.size() < NumeroCampiTesto)
        t << QByteArray();
    return t;
}

// Cards written straight through SQLite: the set-up is not what is measured.
void RiempiArchivio(TArchivio& archivio, int quante, const std::function<QByteArray(int)>& foto)
{
    archivio.ApriArchivio(); // creates file and table
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(archivio.Percorso()).constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    QByteArray sql = "INSERT INTO " + archivio.Tabella() + " (" + Statementi::ColonneElenco().mid(3)
        + ",Picture,Ext) VALUES (";
    for (int i = 0; i < NumeroCampiTesto; ++i)
        sql += "?,";
    sql += "?,'JPG')";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "set-up failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    for (int i = 0; i < quante; ++i) {
        const QList<QByteArray> testi = TestiCarta(i);
        for (int k = 0; k < NumeroCampiTesto; ++k)
            sqlite3_bind_text(st, k + 1, testi[k].constData(), int(testi[k].size()), SQLITE_TRANSIENT);
        const QByteArray f = foto(i);
        sqlite3_bind_blob(st, NumeroCampiTesto + 1, f.constData(), int(f.size()), SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_DONE) {
            std::fprintf(stderr, "set-up failed: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// ---- step and show ----

void PassoEFoto(const QString& cartella)
{
    struct Formato {
        int megapixel;
        QSize misura;
        QByteArray jpeg;
    };
    std::vector<Formato> formati = {{2, QSize(1732, 1155), {}}, {12, QSize(4243, 2829), {}}, {24, QSize(6000, 4000), {}}};
    for (size_t i = 0; i < formati.size(); ++i)
        formati[i].jpeg = FotoSintetica(formati[i].misura.width(), formati[i].misura.height(), quint32(11 + i));
    for (const Formato& f : formati)
        Stampa({{"bench", "sample_photo"}, {"megapixels", f.megapixel},
                {"size", QString("%1x%2").arg(f.misura.width()).arg(f.misura.height())},
                {"bytes", f.jpeg.size()}});

    constexpr int Schede = 300;
    const TCategoria& categoria = Categorie::PerPosizione(4);
    Piattaforma::ImpostaCartellaProgramma(cartella);
    {
        TArchivio archivio(categoria);
        RiempiArchivio(archivio, Schede, [&](int i) { return formati[size_t(i) % formati.size()].jpeg; });
    }

    const TFoto campione = TFoto::DaByte(formati[0].jpeg);
    for (const QSize box : {QSize(605, 449), QSize(1920, 1080)}) {
        TArchivio archivio(categoria);
        TSchedaLavoro scheda;
        TOperazioniScheda operazioni(archivio, scheda, campione);
        std::map<int, std::vector<double>> passi, pavimenti;
        for (int i = 0; i < Schede; ++i) {
            // The floor first, on the same file held apart, so that neither side finds
            // the other's bytes warm in the processor caches.
            const Formato& atteso = formati[size_t(i) % formati.size()];
            const double pavimento = DecodificaNuda(atteso.jpeg, box);
            QElapsedTimer t;
            t.start();
            operazioni.SchedaSuccessiva();
            const QImage img = scheda.Foto.Immagine(box);
            const double ms = Millisecondi(t);
            if (img.isNull() || img.size() != Adattamento::Adatta(scheda.Foto.Dimensioni(), box).size()) {
                std::fprintf(stderr, "decoding failed at card %d\n", i);
                std::exit(1);
            }
            if (scheda.Foto.Byte() != atteso.jpeg) {
                std::fprintf(stderr, "unexpected photo at card %d\n", i);
                std::exit(1);
            }
            passi[atteso.megapixel].push_back(ms);
            pavimenti[atteso.megapixel].push_back(pavimento);
        }
        for (const Formato& f : formati) {
            const double m = Mediana(passi[f.megapixel]), p = Mediana(pavimenti[f.megapixel]);
            Stampa({{"bench", "step_and_photo"},
                    {"box", QString("%1x%2").arg(box.width()).arg(box.height())},
                    {"megapixels", f.megapixel},
                    {"samples", int(passi[f.megapixel].size())},
                    {"median_ms", Arrotonda(m)},
                    {"floor_median_ms", Arrotonda(p)},
                    {"ratio", Arrotonda(m / p, 3)},
                    {"target_ratio", 1.25},
                    {"ok", m / p <= 1.25}});
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    int esito = 0;
    if (BenchAvvioFiglio(argc, argv, &esito))
        return esito;
    if (BenchEsportaFiglio(argc, argv, &esito))
        return esito;
    if (BenchSplashFiglio(argc, argv, &esito))
        return esito;
    if (BenchMostraFiglio(argc, argv, &esito))
        return esito;
    BenchAvvio(QString::fromLocal8Bit(argv[0]), 9);
    BenchSplash(QString::fromLocal8Bit(argv[0]));
    PreparaMemoriaFoto(); // as the program does at start
    // Figures from the same platform everywhere, with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchMostraSchermo();
    QApplication app(argc, argv);
    FintoMessaggi messaggi;
    FintoCursore cursore;
    Piattaforma::Imposta(&messaggi);
    Piattaforma::Imposta(&cursore);

    QElapsedTimer totale;
    totale.start();
    BenchTrova();
    {
        QTemporaryDir dir;
        PassoEFoto(dir.path());
    }
    BenchMostra();
    BenchEsporta(QString::fromLocal8Bit(argv[0]));
    Stampa({{"bench", "total"}, {"seconds", Arrotonda(Millisecondi(totale) / 1000, 1)}});
    return Riepilogo();
}
