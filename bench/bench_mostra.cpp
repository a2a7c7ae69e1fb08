// Where customers watch photos: the record card window's next-card arrow, the
// photo browser's next-card arrow and the slideshow's tick, each measured from
// the click until the new photo is painted, with and without the photos decoded
// ahead, for 12 and 24 megapixel photos. The floor, measured in the same run on
// the same bytes, is a bare libjpeg-turbo decode at the DCT scale covering the
// box. Then the resident memory over 1,000 browser steps and 1,000 slideshow
// ticks through 200 cards of 12 megapixels.
#include "bench_comune.h"
#include "bench_mostra.h"

#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "photo/Adattamento.h"
#include "photo/AnticipoFoto.h"
#include "platform/Piattaforma.h"
#include "show/TfrmBrowse.h"
#include "show/TfrmSlide.h"
#include "store/TArchivio.h"
#include "store/TScheda.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include <jpeglib.h>
#include <sqlite3.h>

namespace {

[[noreturn]] void Fallito(const char* cosa, int scheda)
{
    std::fprintf(stderr, "show bench: %s at card %d\n", cosa, scheda);
    std::exit(1);
}

QString Misura(QSize s) { return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()); }

// A camera-like picture: light and colour gradients with fine grain, about 3 bits
// per pixel at quality 90.
QByteArray FotoSintetica(QSize misura, quint32 seme)
{
    QImage img(misura, QImage::Format_RGB32);
    QRandomGenerator gen(seme);
    const int w = misura.width(), h = misura.height();
    for (int y = 0; y < h; ++y) {
        auto* riga = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double fy = double(y) / h;
        for (int x = 0; x < w; ++x) {
            const double fx = double(x) / w;
            const quint32 r = gen.generate();
            const double onda = 40 * std::sin(fx * 9 + fy * 4 + seme) + 30 * std::cos(fy * 13 - fx * 3);
            riga[x] = qRgb(std::clamp(int(60 + 140 * fx + onda) + int(r & 31) - 16, 0, 255),
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

// libjpeg-turbo alone: header, decode at the DCT scale covering the fitted size.
double Pavimento(const QByteArray& jpeg, QSize box)
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
    const QSize voluta = Adattamento::Adatta(grezza, box).size();
    int n = 8;
    for (int k = 1; k < 8; ++k)
        if ((grezza.width() * k + 7) / 8 >= voluta.width() && (grezza.height() * k + 7) / 8 >= voluta.height()) {
            n = k;
            break;
        }
    c.scale_num = unsigned(n);
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

// Cards 1..quante written straight through SQLite, cycling through the photos.
void Riempi(const TCategoria& categoria, int quante, const QList<QByteArray>& foto)
{
    TArchivio archivio(categoria);
    archivio.ApriArchivio();
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(archivio.Percorso()).constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    const QByteArray sql = "INSERT INTO " + archivio.Tabella() + " (ID,varTitolo,varDidascalia,Picture,Ext) VALUES (?,?,?,?,'JPG')";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        Fallito("archive set-up", 0);
    for (int i = 1; i <= quante; ++i) {
        const QByteArray titolo = "R" + QByteArray::number(1000 + i);
        const QByteArray& f = foto[(i - 1) % foto.size()];
        sqlite3_bind_int64(st, 1, i);
        sqlite3_bind_text(st, 2, titolo.constData(), int(titolo.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, "Didascalia della foto", -1, SQLITE_STATIC);
        sqlite3_bind_blob(st, 4, f.constData(), int(f.size()), SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_DONE)
            Fallito("archive set-up", i);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void Eventi()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Lets a window read the next card and decode it, as it does while a user looks
// at the card on display.
void AttendiAnticipo(const TAnticipoFoto& anticipo)
{
    Eventi();
    while (anticipo.InCorso())
        QThread::usleep(200);
    Eventi();
}

qint64 KiBResidenti()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& riga : f.readAll().split('\n'))
        if (riga.startsWith("VmRSS:"))
            return riga.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// One of the three windows as the benchmark drives it.
struct Finestra {
    QString Nome;
    std::function<QWidget*(const TCategoria&)> Crea;
    std::function<void(QWidget*)> Passo; // the click
    std::function<RiquadroFoto*(QWidget*)> Riquadro;
    std::function<const TAnticipoFoto&(QWidget*)> Anticipo;
};

template <class T> T* Come(QWidget* w) { return static_cast<T*>(w); }

void Clic(QWidget* w, const char* nome)
{
    QMetaObject::invokeMethod(w->findChild<QWidget*>(QString::fromLatin1(nome)), "clicked");
}

QList<Finestra> Finestre()
{
    return {
        {QStringLiteral("card"), [](const TCategoria& c) -> QWidget* { return new TfrmScheda(c); },
         [](QWidget* w) { Clic(w, "imgAvanti"); },
         [](QWidget* w) { return w->findChild<RiquadroFoto*>(QStringLiteral("imgFoto")); },
         [](QWidget* w) -> const TAnticipoFoto& { return Come<TfrmScheda>(w)->Anticipo(); }},
        {QStringLiteral("browser"), [](const TCategoria& c) -> QWidget* { return new TfrmBrowse(c); },
         [](QWidget* w) { Clic(w, "imgAvanti"); },
         [](QWidget* w) { return w->findChild<RiquadroFoto*>(QStringLiteral("imgFoto")); },
         [](QWidget* w) -> const TAnticipoFoto& { return Come<TfrmBrowse>(w)->Anticipo(); }},
        {QStringLiteral("slideshow"), [](const TCategoria& c) -> QWidget* { return new TfrmSlide(c); },
         [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("cmdAvanti"))->click(); },
         [](QWidget* w) { return w->findChild<RiquadroFoto*>(QStringLiteral("imgZoom")); },
         [](QWidget* w) -> const TAnticipoFoto& { return Come<TfrmSlide>(w)->Anticipo(); }},
    };
}

void Mostra(QWidget* w)
{
    w->show();
    Eventi();
    // The benchmark ticks the slideshow itself.
    if (auto* timer = w->findChild<QTimer*>(QStringLiteral("Timer")))
        timer->stop();
}

// Steps 1 to 'schede' of the window, the first one unmeasured, each until painted.
void Passi(const Finestra& f, const TCategoria& c, int megapixel, int schede, const QList<QByteArray>& foto,
           bool anticipo)
{
    TAnticipoFoto::Abilita(anticipo);
    std::unique_ptr<QWidget> w(f.Crea(c));
    Mostra(w.get());
    RiquadroFoto* riquadro = f.Riquadro(w.get());
    const QSize box = riquadro->size();
    std::vector<double> passi, pavimenti;
    for (int i = 1; i <= schede; ++i) {
        const QByteArray& attesa = foto[(i - 1) % foto.size()];
        AttendiAnticipo(f.Anticipo(w.get()));
        const double pavimento = Pavimento(attesa, box);
        QElapsedTimer t;
        t.start();
        f.Passo(w.get());
        riquadro->repaint();
        const double ms = Millisecondi(t);
        if (riquadro->Foto().Byte() != attesa || !riquadro->Foto().Decodificata(box))
            Fallito(qPrintable(f.Nome + QStringLiteral(": photo not shown")), i);
        if (i > 1) {
            passi.push_back(ms);
            pavimenti.push_back(pavimento);
        }
    }
    w->close();
    TAnticipoFoto::Abilita(true);
    const double m = Mediana(passi), p = Mediana(pavimenti);
    QJsonObject o{{"bench", "show_step_painted"},
                  {"window", f.Nome},
                  {"box", Misura(box)},
                  {"megapixels", megapixel},
                  {"prefetch", anticipo},
                  {"samples", int(passi.size())},
                  {"median_ms", Arrotonda(m)},
                  {"floor_median_ms", Arrotonda(p)},
                  {"ratio", Arrotonda(m / p, 3)}};
    if (anticipo) {
        o[QStringLiteral("target_ms")] = 16;
        o[QStringLiteral("ok")] = m <= 16;
    } else {
        o[QStringLiteral("target_ratio")] = 1.25;
        o[QStringLiteral("ok")] = m / p <= 1.25;
    }
    Stampa(o);
}

// Resident size after a warm-up and after 'passi' steps, with decoding ahead as in use.
void Memoria(const Finestra& f, const TCategoria& c, int schede, int passi)
{
    std::unique_ptr<QWidget> w(f.Crea(c));
    Mostra(w.get());
    auto* posizione = w->findChild<QLabel*>(QStringLiteral("lblPosizione"));
    const auto passo = [&] {
        if (f.Nome == QLatin1String("browser") && posizione->text() == QString::number(schede))
            Clic(w.get(), "imgPrimo"); // the browser does not wrap
        else
            f.Passo(w.get());
        f.Riquadro(w.get())->repaint();
        Eventi();
    };
    for (int i = 0; i < schede / 2; ++i)
        passo();
    AttendiAnticipo(f.Anticipo(w.get()));
    const qint64 prima = KiBResidenti();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < passi; ++i)
        passo();
    AttendiAnticipo(f.Anticipo(w.get()));
    const qint64 dopo = KiBResidenti();
    w->close();
    const double mb = prima >= 0 && dopo >= 0 ? double(dopo - prima) / 1024 : -1;
    Stampa({{"bench", "show_memory"},
            {"window", f.Nome},
            {"cards", schede},
            {"megapixels", 12},
            {"steps", passi},
            {"seconds", Arrotonda(Millisecondi(t) / 1000, 1)},
            {"rss_before_mb", Arrotonda(double(prima) / 1024, 1)},
            {"rss_growth_mb", Arrotonda(mb, 2)},
            {"target_mb", 5},
            {"ok", prima >= 0 && dopo >= 0 && mb < 5}}); // shrinking is below the limit too
}

QString g_configurazione;

} // namespace

void BenchMostraSchermo()
{
    const QByteArray piattaforma = qgetenv("QT_QPA_PLATFORM");
    if (!piattaforma.isEmpty() && piattaforma != "offscreen")
        return;
    g_configurazione = QDir::temp().filePath(QStringLiteral("tegolario_bench_schermo_%1.json").arg(QCoreApplication::applicationPid()));
    QFile f(g_configurazione);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(g_configurazione));
}

void BenchMostra()
{
    if (!g_configurazione.isEmpty())
        QFile::remove(g_configurazione); // read by the platform when the application started
    QTemporaryDir cartella;
    Piattaforma::ImpostaCartellaProgramma(cartella.path());

    struct Formato {
        int Megapixel;
        QSize Misura;
        const TCategoria* Categoria;
        QList<QByteArray> Foto;
    };
    QList<Formato> formati = {{12, QSize(4243, 2829), &Categorie::PerPosizione(0), {}},
                              {24, QSize(6000, 4000), &Categorie::PerPosizione(1), {}}};
    constexpr int Schede = 16;
    for (Formato& f : formati) {
        for (quint32 k = 0; k < 3; ++k)
            f.Foto << FotoSintetica(f.Misura, 100 + k + quint32(f.Megapixel));
        Riempi(*f.Categoria, Schede, f.Foto);
        Stampa({{"bench", "show_sample_photo"},
                {"megapixels", f.Megapixel},
                {"size", Misura(f.Misura)},
                {"bytes", f.Foto.first().size()}});
    }
    for (const Formato& f : formati)
        for (const Finestra& finestra : Finestre())
            for (bool anticipo : {false, true})
                Passi(finestra, *f.Categoria, f.Megapixel, Schede, f.Foto, anticipo);

    // A long show: 200 cards of 12 megapixels, two photos taking turns.
    const TCategoria& lunga = Categorie::PerPosizione(2);
    Riempi(lunga, 200, formati.first().Foto.mid(0, 2));
    for (const Finestra& finestra : Finestre())
        if (finestra.Nome != QLatin1String("card"))
            Memoria(finestra, lunga, 200, 1000);
}
