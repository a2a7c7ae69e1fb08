// Writes the seed inputs of the harnesses into fuzz/corpus/<harness>/: JPEG files
// of each kind the decoder meets (baseline, progressive, arithmetic, restart
// markers, grey, CMYK and YCCK, the eight EXIF orientations in both byte orders,
// odd sizes, cut short, oversized claims), password files, texts and small
// archives. Run it again after changing it; the files are committed.
#include "store/Password.h"
#include "store/TSQLiteDatabase.h"
#include "store/TScheda.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

QString g_radice;

void Scrivi(const QString& harness, const QString& nome, const QByteArray& dati)
{
    const QString cartella = g_radice + QLatin1Char('/') + harness;
    QDir().mkpath(cartella);
    QFile f(cartella + QLatin1Char('/') + nome);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(dati) != dati.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

struct Opzioni {
    int Larghezza = 40, Altezza = 30;
    J_COLOR_SPACE Spazio = JCS_RGB; // JCS_GRAYSCALE, JCS_CMYK
    J_COLOR_SPACE Codifica = JCS_UNKNOWN; // JCS_YCCK for CMYK stored as YCCK
    bool Progressivo = false;
    bool Aritmetico = false;
    int Riavvio = 0; // restart interval in MCU rows
    bool Pieno = false; // 4:4:4 instead of 4:2:0
    int Qualita = 75;
};

QByteArray Comprimi(const Opzioni& o, const QByteArray& app1 = QByteArray())
{
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long lunghezza = 0;
    jpeg_mem_dest(&c, &buffer, &lunghezza);
    c.image_width = JDIMENSION(o.Larghezza);
    c.image_height = JDIMENSION(o.Altezza);
    c.in_color_space = o.Spazio;
    c.input_components = o.Spazio == JCS_GRAYSCALE ? 1 : o.Spazio == JCS_CMYK ? 4 : 3;
    jpeg_set_defaults(&c);
    if (o.Codifica != JCS_UNKNOWN)
        jpeg_set_colorspace(&c, o.Codifica);
    jpeg_set_quality(&c, o.Qualita, TRUE);
    if (o.Progressivo)
        jpeg_simple_progression(&c);
    c.arith_code = o.Aritmetico ? TRUE : FALSE;
    c.restart_in_rows = o.Riavvio;
    if (o.Pieno)
        for (int i = 0; i < c.num_components; ++i)
            c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    if (!app1.isEmpty())
        jpeg_write_marker(&c, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(app1.constData()),
                          unsigned(app1.size()));
    std::vector<JSAMPLE> riga(size_t(o.Larghezza) * size_t(c.input_components));
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < o.Larghezza; ++x)
            for (int k = 0; k < c.input_components; ++k)
                riga[size_t(x * c.input_components + k)] =
                    JSAMPLE((x * 255 / std::max(1, o.Larghezza - 1) * (k + 1) + y * 37 * (k + 2)) & 0xFF);
        JSAMPROW r = riga.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray dati(reinterpret_cast<const char*>(buffer), qsizetype(lunghezza));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return dati;
}

// An Exif APP1 body with one IFD entry, Orientation.
QByteArray Exif(int orientamento, bool little)
{
    QByteArray t;
    auto u16 = [&](unsigned v) {
        if (little) { t += char(v & 0xFF); t += char(v >> 8); }
        else { t += char(v >> 8); t += char(v & 0xFF); }
    };
    auto u32 = [&](quint32 v) {
        if (little) { u16(v & 0xFFFF); u16(v >> 16); }
        else { u16(v >> 16); u16(v & 0xFFFF); }
    };
    t += little ? "II" : "MM";
    u16(42);
    u32(8);
    u16(1);
    u16(0x0112); u16(3); u32(1); u16(unsigned(orientamento)); u16(0);
    u32(0);
    return QByteArray("Exif\0\0", 6) + t;
}

// The frame header claiming another size.
QByteArray ConDimensioni(QByteArray jpeg, int w, int h)
{
    for (qsizetype i = 0; i + 9 < jpeg.size(); ++i) {
        const uchar m = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
            jpeg[i + 5] = char(h >> 8); jpeg[i + 6] = char(h & 0xFF);
            jpeg[i + 7] = char(w >> 8); jpeg[i + 8] = char(w & 0xFF);
            break;
        }
    }
    return jpeg;
}

void Foto()
{
    const QString h = QStringLiteral("foto");
    Opzioni o;
    Scrivi(h, QStringLiteral("base-420.jpg"), Comprimi(o));
    o.Pieno = true;
    Scrivi(h, QStringLiteral("base-444.jpg"), Comprimi(o));
    o = {};
    o.Progressivo = true;
    const QByteArray progressivo = Comprimi(o);
    Scrivi(h, QStringLiteral("progressivo.jpg"), progressivo);
    o = {};
    o.Aritmetico = true;
    Scrivi(h, QStringLiteral("aritmetico.jpg"), Comprimi(o));
    o.Progressivo = true;
    Scrivi(h, QStringLiteral("aritmetico-progressivo.jpg"), Comprimi(o));
    o = {};
    o.Riavvio = 1;
    o.Larghezza = 64;
    o.Altezza = 48;
    Scrivi(h, QStringLiteral("riavvio.jpg"), Comprimi(o));
    o = {};
    o.Spazio = JCS_GRAYSCALE;
    Scrivi(h, QStringLiteral("grigio.jpg"), Comprimi(o));
    o = {};
    o.Spazio = JCS_CMYK;
    Scrivi(h, QStringLiteral("cmyk.jpg"), Comprimi(o));
    o.Codifica = JCS_YCCK;
    Scrivi(h, QStringLiteral("ycck.jpg"), Comprimi(o));
    for (int orientamento = 1; orientamento <= 8; ++orientamento) {
        o = {};
        o.Larghezza = 24;
        o.Altezza = 12;
        const bool little = orientamento % 2 == 0;
        Scrivi(h, QStringLiteral("exif-%1-%2.jpg").arg(orientamento).arg(little ? "II" : "MM"),
               Comprimi(o, Exif(orientamento, little)));
    }
    o = {};
    o.Larghezza = o.Altezza = 1;
    Scrivi(h, QStringLiteral("1x1.jpg"), Comprimi(o));
    o.Larghezza = 700; // wider than the photo box, so it is reduced
    o.Altezza = 3;
    o.Qualita = 30;
    Scrivi(h, QStringLiteral("striscia.jpg"), Comprimi(o));
    o.Larghezza = 3;
    o.Altezza = 500;
    Scrivi(h, QStringLiteral("colonna.jpg"), Comprimi(o));
    o.Larghezza = 1300; // DCT scaling, then the area reducer
    o.Altezza = 40;
    Scrivi(h, QStringLiteral("larga.jpg"), Comprimi(o));
    o = {};
    const QByteArray base = Comprimi(o);
    Scrivi(h, QStringLiteral("tronco-meta.jpg"), base.left(base.size() / 2));
    Scrivi(h, QStringLiteral("tronco-intestazione.jpg"), base.left(30));
    Scrivi(h, QStringLiteral("progressivo-tronco.jpg"), progressivo.left(progressivo.size() * 2 / 3));
    Scrivi(h, QStringLiteral("grande-dichiarato.jpg"), ConDimensioni(base, 20000, 9000));
    Scrivi(h, QStringLiteral("oltre-limite.jpg"), ConDimensioni(base, 65000, 65000));
    Scrivi(h, QStringLiteral("vuoto.jpg"), QByteArray());
}

void Password()
{
    const QString h = QStringLiteral("password");
    const QByteArray valore = CodificaPassword("BENVENUTO").toLatin1();
    Scrivi(h, QStringLiteral("normale.ini"), "[Accesso]\r\nValore=" + valore + "\r\n");
    Scrivi(h, QStringLiteral("minuscole.ini"), "[accesso]\nvalore = " + valore.toLower() + "\n");
    Scrivi(h, QStringLiteral("dispari.ini"), "[Accesso]\r\nValore=" + valore + "7\r\n");
    Scrivi(h, QStringLiteral("non-esadecimale.ini"), "[Accesso]\r\nValore=" + valore.left(6) + "ZZ\r\n");
    Scrivi(h, QStringLiteral("altre-sezioni.ini"),
           "; impostazioni\r\n[Altro]\r\nValore=00\r\n\r\n[Accesso]\r\nAltro=1\r\nValore=\"" + valore +
               "\"\r\n[Fine]\r\nx=y");
    Scrivi(h, QStringLiteral("senza-chiave.ini"), "[Accesso]\r\n");
    Scrivi(h, QStringLiteral("senza-sezione.ini"), "Valore=" + valore + "\r\n");
    Scrivi(h, QStringLiteral("vuoto.ini"), QByteArray());
    Scrivi(h, QStringLiteral("esadecimale.txt"), valore);
    Scrivi(h, QStringLiteral("lunga.ini"),
           "[Accesso]\r\nValore=" + CodificaPassword(QByteArray(300, 'x')).toLatin1() + "\r\n");
}

void Win1252()
{
    const QString h = QStringLiteral("win1252");
    Scrivi(h, QStringLiteral("ascii.txt"), "Riferimento 12/B; via Roma \"centro\"");
    QByteArray tutti;
    for (int b = 0; b < 256; ++b)
        tutti += char(b);
    Scrivi(h, QStringLiteral("tutti-i-byte.bin"), tutti);
    const QString italiano = QString::fromUtf8("Città, perché è così: € 120.000 – “ottimo”");
    Scrivi(h, QStringLiteral("utf16-italiano.bin"),
           QByteArray(reinterpret_cast<const char*>(italiano.utf16()), italiano.size() * 2));
    const QString altri = QString::fromUtf8("Ελλάδα 🏠 日本 ŸŒ");
    Scrivi(h, QStringLiteral("utf16-altri.bin"),
           QByteArray(reinterpret_cast<const char*>(altri.utf16()), altri.size() * 2));
}

// A small archive as the program writes it: the table and three cards, two with a photo.
QByteArray Archivio(const QByteArray& creazione, bool conSchede)
{
    const QString percorso = QDir::temp().filePath(QStringLiteral("tegolario-semi.db"));
    QFile::remove(percorso);
    {
        TSQLiteDatabase db(percorso);
        db.Execute("PRAGMA page_size=1024;");
        db.Execute(creazione);
        Opzioni o;
        o.Larghezza = 16;
        o.Altezza = 12;
        const QByteArray foto = Comprimi(o);
        for (int i = 1; conSchede && i <= 3; ++i) {
            QByteArray sql = "INSERT INTO amici(ID";
            for (const TCampo& c : CampiTesto)
                sql += QByteArray(",") + c.Colonna;
            sql += ",Ext) VALUES (NULL";
            QList<QByteArray> testi;
            for (int k = 0; k < NumeroCampiTesto; ++k) {
                sql += ",?";
                testi.append(k == 0 ? "RIF-" + QByteArray::number(i) : k == 8 ? "Note \xe8 \x80" : QByteArray());
            }
            sql += ",'JPG');";
            db.Execute(sql, testi);
            if (i != 2)
                db.ExecuteWithBlob("UPDATE amici SET picture = ? WHERE ID = " +
                                       QByteArray::number(db.LastInsertRowId()),
                                   foto);
        }
    }
    QFile f(percorso);
    f.open(QIODevice::ReadOnly);
    const QByteArray dati = f.readAll();
    f.close();
    QFile::remove(percorso);
    return dati;
}

void Archivi()
{
    const QString h = QStringLiteral("archivio");
    Scrivi(h, QStringLiteral("tre-schede.db"), Archivio(StatementoCreaTabella("amici"), true));
    Scrivi(h, QStringLiteral("vuoto.db"), Archivio(StatementoCreaTabella("amici"), false));
    Scrivi(h, QStringLiteral("senza-tabella.db"), Archivio("CREATE TABLE altro (x)", false));
    QByteArray vecchia = StatementoCreaTabella("amici");
    vecchia.replace(",varCartella BLOB,varCartellaDesc BLOB", "");
    Scrivi(h, QStringLiteral("altra-versione.db"), Archivio(vecchia, false));
    Scrivi(h, QStringLiteral("non-sqlite.db"), "questo non e' un archivio");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s fuzz/corpus\n", argv[0]);
        return 2;
    }
    g_radice = QString::fromLocal8Bit(argv[1]);
    Foto();
    Password();
    Win1252();
    Archivi();
    return 0;
}
