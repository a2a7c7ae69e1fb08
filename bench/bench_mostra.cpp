// Where customers watch photos: the record card window's next-card arrow, the
// photo browser's next-card arrow and the slideshow's tick, each measured from
// the click until the new photo is painted, with and without the photos decoded
// ahead, for 12 and 24 megapixel photos. The floor, measured in the same run on
// the same bytes, is a bare libjpeg-turbo decode at the DCT scale covering the
// box. Then the resident memory over 1,000 browser steps and 1,000 slideshow
// ticks through 200 cards of 12 megapixels.
// The same steps on a 3840 x 2160 screen at 200 % (the card window's box is
// 1210 x 898 device pixels, the slideshow covers 3840 x 2160), in a process of
// its own since Qt scales a whole process, and on a 3840 x 2160 screen at 100 %,
// the floor being the decode for that device size; and the memory of 1,000 ticks
// of the slideshow at 200 %.
#include "bench_comune.h"
#include "bench_mostra.h"

#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "doubles/Doppi.h"
#include "photo/Foto.h"
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
#include <QScreen>
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

// The photos of cards 1..quante, read back from the archive.
QList<QByteArray> FotoInArchivio(const TCategoria& categoria, int quante)
{
    TArchivio archivio(categoria);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(archivio.Percorso()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = "SELECT Picture FROM " + archivio.Tabella() + " WHERE ID = ?";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        Fallito("archive read", 0);
    QList<QByteArray> foto;
    for (int i = 1; i <= quante; ++i) {
        sqlite3_bind_int64(st, 1, i);
        if (sqlite3_step(st) != SQLITE_ROW)
            Fallito("archive read", i);
        foto << QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return foto;
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

// The window shown on the given screen (none: the primary one): the slideshow
// covers the screen it is handed, as from a card window there.
std::unique_ptr<QWidget> CreaEMostra(const Finestra& f, const TCategoria& c, QScreen* schermo)
{
    std::unique_ptr<QWidget> w(f.Crea(c));
    auto* slide = qobject_cast<TfrmSlide*>(w.get());
    if (schermo) {
        w->setScreen(schermo);
        if (slide)
            slide->ImpostaSchermo(schermo);
    }
    Mostra(w.get());
    // The offscreen platform gives a full-screen window the main screen's size.
    if (schermo) {
        w->setGeometry(slide ? schermo->geometry() : schermo->availableGeometry());
        Eventi();
    }
    return w;
}

QString MisuraSchermo(const QWidget* w)
{
    const QScreen* s = w->screen();
    return s ? Misura(s->geometry().size() * s->devicePixelRatio()) : QString();
}

// Steps 1 to 'schede' of the window, the first one unmeasured, each until painted.
void Passi(const Finestra& f, const TCategoria& c, int megapixel, int schede, const QList<QByteArray>& foto,
           bool anticipo, QScreen* schermo = nullptr)
{
    TAnticipoFoto::Abilita(anticipo);
    std::unique_ptr<QWidget> w = CreaEMostra(f, c, schermo);
    RiquadroFoto* riquadro = f.Riquadro(w.get());
    // Photos are decoded for the screen's own pixels, and so is the floor.
    const QSize box = riquadro->BoxDispositivo();
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
                  {"dpr", riquadro->devicePixelRatioF()},
                  {"screen", MisuraSchermo(w.get())},
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
void Memoria(const Finestra& f, const TCategoria& c, int schede, int passi, QScreen* schermo = nullptr)
{
    std::unique_ptr<QWidget> w = CreaEMostra(f, c, schermo);
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
    const bool letta = prima >= 0 && dopo >= 0; // a show that ends smaller than it began is fine too
    const double mb = letta ? double(dopo - prima) / 1024 : -1;
    Stampa({{"bench", "show_memory"},
            {"window", f.Nome},
            {"box", Misura(f.Riquadro(w.get())->BoxDispositivo())},
            {"dpr", f.Riquadro(w.get())->devicePixelRatioF()},
            {"screen", MisuraSchermo(w.get())},
            {"cards", schede},
            {"megapixels", 12},
            {"steps", passi},
            {"seconds", Arrotonda(Millisecondi(t) / 1000, 1)},
            {"rss_before_mb", Arrotonda(double(prima) / 1024, 1)},
            {"rss_growth_mb", Arrotonda(mb, 2)},
            {"target_mb", 5},
            {"ok", letta && mb < 5}}); // shrinking is below the limit too
}

QString g_configurazione;
constexpr const char* OpzioneFiglio = "--mostra-200";

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
    // Beside the main screen, a 3840 x 2160 screen at 100 %.
    f.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96},)"
            R"({"name": "bench4k", "x": 1920, "y": 0, "width": 3840, "height": 2160, "logicalDpi": 96}]})");
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

    // The slideshow on a 4K screen at 100 %.
    QScreen* a4k = nullptr;
    for (QScreen* s : QGuiApplication::screens())
        if (s->name() == QLatin1String("bench4k"))
            a4k = s;
    if (a4k)
        for (bool anticipo : {false, true})
            Passi(Finestre()[2], *formati[1].Categoria, 24, Schede, formati[1].Foto, anticipo, a4k);

    // At 200 %: Qt's own scaling of a 3840 x 2160 screen, as on a desktop set to 200 %,
    // in a process of its own on the same archives.
    const QString configurazione = cartella.filePath(QStringLiteral("schermo200.json"));
    QFile f(configurazione);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(R"({"screens": [{"name": "bench200", "x": 0, "y": 0, "width": 3840, "height": 2160, "logicalDpi": 96}]})");
    f.close();
    EseguiFiglio(QStringLiteral("show_200_percent"), QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(OpzioneFiglio), cartella.path()}, 3600000,
                 {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + configurazione},
                  {QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2")}});
}

bool BenchMostraFiglio(int argc, char** argv, int* esito)
{
    int i = 1;
    while (i + 1 < argc && qstrcmp(argv[i], OpzioneFiglio) != 0)
        ++i;
    if (i + 1 >= argc)
        return false;
    PreparaMemoriaFoto(); // as the program does at start
    QApplication app(argc, argv);
    FintoMessaggi messaggi;
    FintoCursore cursore;
    Piattaforma::Imposta(&messaggi);
    Piattaforma::Imposta(&cursore);
    Piattaforma::ImpostaCartellaProgramma(QString::fromLocal8Bit(argv[i + 1]));
    const QList<Finestra> finestre = Finestre();
    for (const auto& [megapixel, posizione] : {std::pair{12, 0}, std::pair{24, 1}}) {
        const TCategoria& c = Categorie::PerPosizione(posizione);
        const QList<QByteArray> foto = FotoInArchivio(c, 3); // as the parent wrote them
        for (bool anticipo : {false, true})
            for (const Finestra& finestra : {finestre[0], finestre[2]})
                Passi(finestra, c, megapixel, 16, foto, anticipo);
    }
    Memoria(finestre[2], Categorie::PerPosizione(2), 200, 1000);
    *esito = 0;
    return true;
}
