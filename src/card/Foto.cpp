#include "card/Foto.h"

#include <QFile>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <cstdio>
#include <optional>
#include <vector>

#include <jpeglib.h>

// ---------------------------------------------------------------------------
// Fitting

QRect Adattamento::Adatta(QSize immagine, QSize box)
{
    const qint64 w = immagine.width(), h = immagine.height();
    const qint64 cw = box.width(), ch = box.height();
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0)
        return QRect();
    qint64 larghezza = w, altezza = h;
    if (w > cw || h > ch) {
        // trunc(cw / r) and trunc(ch * r) with r = w / h, in exact integer arithmetic
        // so that a result on an integer boundary is never lost to rounding.
        if (w > h) {
            larghezza = cw;
            altezza = cw * h / w;
            if (altezza > ch) {
                altezza = ch;
                larghezza = ch * w / h;
            }
        } else {
            altezza = ch;
            larghezza = ch * w / h;
            if (larghezza > cw) {
                larghezza = cw;
                altezza = cw * h / w;
            }
        }
    }
    // A sliver picture still shows one pixel rather than nothing.
    larghezza = std::max<qint64>(larghezza, 1);
    altezza = std::max<qint64>(altezza, 1);
    return QRect(int((cw - larghezza) / 2), int((ch - altezza) / 2), int(larghezza), int(altezza));
}

// ---------------------------------------------------------------------------
// Decoding with libjpeg-turbo

namespace {

// Whatever the file claims, nothing beyond these is allocated.
constexpr qint64 MassimoPixel = 200'000'000;
constexpr int MassimoLato = 30000;
constexpr qint64 MassimoPixelIntermedi = 50'000'000; // DCT-scaled buffer before smoothing
constexpr long MassimaMemoriaLibjpeg = 256L * 1024 * 1024; // progressive coefficient buffers
constexpr int MassimoScansioni = 500;                      // crafted progressive files

struct Errore {
    jpeg_error_mgr pub;
    std::jmp_buf salto;
};

void EsciConErrore(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<Errore*>(cinfo->err)->salto, 1);
}

void Silenzio(j_common_ptr) {}

void ControllaAvanzamento(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cinfo->is_decompressor && d->input_scan_number > MassimoScansioni)
        EsciConErrore(cinfo);
}

// EXIF orientation (1..8) from the saved APP1 markers; 1 when absent or unreadable.
int OrientamentoExif(j_decompress_ptr cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1 || m->data_length < 14)
            continue;
        const JOCTET* p = m->data;
        if (std::memcmp(p, "Exif\0\0", 6) != 0)
            continue;
        const JOCTET* t = p + 6;
        const size_t n = m->data_length - 6;
        bool little;
        if (t[0] == 'I' && t[1] == 'I')
            little = true;
        else if (t[0] == 'M' && t[1] == 'M')
            little = false;
        else
            continue;
        auto u16 = [&](size_t o) -> unsigned {
            return little ? unsigned(t[o]) | unsigned(t[o + 1]) << 8 : unsigned(t[o]) << 8 | unsigned(t[o + 1]);
        };
        auto u32 = [&](size_t o) -> quint32 {
            return little ? quint32(u16(o)) | quint32(u16(o + 2)) << 16 : quint32(u16(o)) << 16 | quint32(u16(o + 2));
        };
        if (u16(2) != 42)
            continue;
        const quint32 ifd = u32(4);
        if (ifd > n || n - ifd < 2)
            continue;
        const unsigned voci = u16(ifd);
        for (unsigned i = 0; i < voci; ++i) {
            const size_t o = size_t(ifd) + 2 + size_t(i) * 12;
            if (o + 12 > n)
                break;
            if (u16(o) == 0x0112 && u16(o + 2) == 3 /* SHORT */) {
                const unsigned v = u16(o + 8);
                return v >= 1 && v <= 8 ? int(v) : 1;
            }
        }
    }
    return 1;
}

bool Ruotata(int orientamento) { return orientamento >= 5; }

QImage Raddrizza(QImage img, int orientamento)
{
    // Horizontal mirror, vertical flip, then a quarter turn clockwise, as the EXIF
    // orientations combine them.
    bool specchio = false, capovolgi = false, quarto = false;
    switch (orientamento) {
    case 2: specchio = true; break;
    case 3: specchio = capovolgi = true; break;
    case 4: capovolgi = true; break;
    case 5: capovolgi = quarto = true; break;
    case 6: quarto = true; break;
    case 7: specchio = quarto = true; break;
    case 8: specchio = capovolgi = quarto = true; break;
    default: return img;
    }
    if (specchio || capovolgi)
        img = std::move(img).mirrored(specchio, capovolgi);
    if (quarto)
        img = img.transformed(QTransform().rotate(90));
    return img;
}

// The DCT scale leaves at most a halving in each direction, except for pictures
// many times larger than the box; bilinear filtering is clean down to a half and
// about three times faster than area averaging, which handles the rest.
QImage Riduci(const QImage& img, QSize misura)
{
    if (misura.width() * 2 < img.width() || misura.height() * 2 < img.height())
        return img.scaled(misura, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage ridotta(misura, QImage::Format_RGB32);
    if (ridotta.isNull())
        return ridotta;
    QPainter p(&ridotta);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRect(QPoint(0, 0), misura), img);
    return ridotta;
}

struct Intestazione {
    QSize Grezza;        // as coded in the file
    int Orientamento = 1;
};

// The libjpeg state lives behind a pointer so that nothing the decoder touches
// sits in registers across the longjmp.
struct Lavoro {
    jpeg_decompress_struct cinfo;
    Errore errore;
    const QByteArray* byte = nullptr;
    Intestazione intestazione;
    QSize bersaglio;            // wanted size of the picture as coded (before orientation)
    QImage scalata;             // DCT-scaled output
    std::vector<JSAMPLE> riga;  // CMYK row
};

void Prepara(Lavoro* l)
{
    l->cinfo.err = jpeg_std_error(&l->errore.pub);
    l->errore.pub.error_exit = EsciConErrore;
    l->errore.pub.output_message = Silenzio;
    l->errore.pub.emit_message = [](j_common_ptr, int) {};
}

bool LimitiAccettabili(const jpeg_decompress_struct& c)
{
    return c.image_width > 0 && c.image_height > 0 && c.image_width <= unsigned(MassimoLato)
        && c.image_height <= unsigned(MassimoLato)
        && qint64(c.image_width) * qint64(c.image_height) <= MassimoPixel;
}

bool LeggiIntestazione(Lavoro* l)
{
    Prepara(l);
    if (setjmp(l->errore.salto)) {
        jpeg_destroy_decompress(&l->cinfo);
        return false;
    }
    jpeg_create_decompress(&l->cinfo);
    jpeg_mem_src(&l->cinfo, reinterpret_cast<const unsigned char*>(l->byte->constData()),
                 static_cast<unsigned long>(l->byte->size()));
    jpeg_save_markers(&l->cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&l->cinfo, TRUE);
    const bool ok = LimitiAccettabili(l->cinfo);
    if (ok) {
        l->intestazione.Grezza = QSize(int(l->cinfo.image_width), int(l->cinfo.image_height));
        l->intestazione.Orientamento = OrientamentoExif(&l->cinfo);
    }
    jpeg_destroy_decompress(&l->cinfo);
    return ok;
}

// Smallest DCT scale n/8 whose output covers the wanted size.
int ScalaDct(QSize grezza, QSize bersaglio)
{
    for (int n = 1; n < 8; ++n) {
        const qint64 w = (qint64(grezza.width()) * n + 7) / 8;
        const qint64 h = (qint64(grezza.height()) * n + 7) / 8;
        if (w >= bersaglio.width() && h >= bersaglio.height())
            return n;
    }
    return 8;
}

bool DecodificaScalata(Lavoro* l)
{
    Prepara(l);
    if (setjmp(l->errore.salto)) {
        jpeg_destroy_decompress(&l->cinfo);
        return false; // rows decoded so far stay in l->scalata; it is discarded
    }
    jpeg_create_decompress(&l->cinfo);
    jpeg_progress_mgr avanzamento{};
    avanzamento.progress_monitor = ControllaAvanzamento;
    l->cinfo.progress = &avanzamento;
    l->cinfo.mem->max_memory_to_use = MassimaMemoriaLibjpeg;
    jpeg_mem_src(&l->cinfo, reinterpret_cast<const unsigned char*>(l->byte->constData()),
                 static_cast<unsigned long>(l->byte->size()));
    jpeg_read_header(&l->cinfo, TRUE);
    if (!LimitiAccettabili(l->cinfo)) {
        jpeg_destroy_decompress(&l->cinfo);
        return false;
    }
    const QSize grezza(int(l->cinfo.image_width), int(l->cinfo.image_height));
    l->cinfo.scale_num = unsigned(ScalaDct(grezza, l->bersaglio));
    l->cinfo.scale_denom = 8;
    const bool cmyk = l->cinfo.jpeg_color_space == JCS_CMYK || l->cinfo.jpeg_color_space == JCS_YCCK;
    l->cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA; // BGRA bytes = QImage ARGB32 words
    l->cinfo.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&l->cinfo);
    const qint64 ow = l->cinfo.output_width, oh = l->cinfo.output_height;
    if (ow <= 0 || oh <= 0 || ow * oh > MassimoPixelIntermedi) {
        jpeg_destroy_decompress(&l->cinfo);
        return false;
    }
    l->scalata = QImage(int(ow), int(oh), QImage::Format_RGB32);
    if (l->scalata.isNull()) {
        jpeg_destroy_decompress(&l->cinfo);
        return false;
    }
    if (cmyk)
        l->riga.resize(size_t(ow) * 4);
    jpeg_start_decompress(&l->cinfo);
    // A file cut short decodes to its end; libjpeg fills the rest in grey.
    while (l->cinfo.output_scanline < l->cinfo.output_height) {
        const int y = int(l->cinfo.output_scanline);
        if (!cmyk) {
            JSAMPROW riga = l->scalata.scanLine(y);
            jpeg_read_scanlines(&l->cinfo, &riga, 1);
            continue;
        }
        JSAMPROW riga = l->riga.data();
        jpeg_read_scanlines(&l->cinfo, &riga, 1);
        // Adobe writes CMYK inverted; that is what photo programs produce.
        const bool invertito = l->cinfo.saw_Adobe_marker;
        auto* out = reinterpret_cast<QRgb*>(l->scalata.scanLine(y));
        for (qint64 x = 0; x < ow; ++x) {
            int c = riga[x * 4], m = riga[x * 4 + 1], g = riga[x * 4 + 2], k = riga[x * 4 + 3];
            if (!invertito) {
                c = 255 - c; m = 255 - m; g = 255 - g; k = 255 - k;
            }
            out[x] = qRgb(c * k / 255, m * k / 255, g * k / 255);
        }
    }
    jpeg_finish_decompress(&l->cinfo);
    jpeg_destroy_decompress(&l->cinfo);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// TFoto

struct TFoto::Dati {
    QByteArray Byte;
    // Filled on first use; an empty optional means not read yet.
    std::optional<Intestazione> Testata; // Grezza invalid: unreadable
    struct Voce {
        QSize Bersaglio;
        QImage Immagine;
    };
    QList<Voce> Cache; // most recent first
};

namespace {
constexpr int VociCache = 2;
const QByteArray NessunByte;

const Intestazione& TestataDi(QByteArray const& byte, std::optional<Intestazione>& testata)
{
    if (!testata) {
        auto l = std::make_unique<Lavoro>();
        l->byte = &byte;
        testata = LeggiIntestazione(l.get()) ? l->intestazione : Intestazione{};
    }
    return *testata;
}
} // namespace

TFoto TFoto::DaByte(const QByteArray& jpeg)
{
    TFoto f;
    f.d = std::make_shared<Dati>();
    f.d->Byte = jpeg;
    return f;
}

TFoto TFoto::DaFile(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return DaByte(QByteArray());
    return DaByte(file.readAll());
}

bool TFoto::Vuota() const { return !d || d->Byte.isEmpty(); }

const QByteArray& TFoto::Byte() const { return d ? d->Byte : NessunByte; }

QSize TFoto::Dimensioni() const
{
    if (Vuota())
        return QSize();
    const Intestazione& t = TestataDi(d->Byte, d->Testata);
    if (!t.Grezza.isValid())
        return QSize();
    return Ruotata(t.Orientamento) ? t.Grezza.transposed() : t.Grezza;
}

QImage TFoto::Immagine(QSize box) const
{
    const QSize dritta = Dimensioni();
    if (!dritta.isValid())
        return QImage();
    const QSize bersaglio = Adattamento::Adatta(dritta, box).size();
    if (bersaglio.isEmpty())
        return QImage();
    for (qsizetype i = 0; i < d->Cache.size(); ++i) {
        if (d->Cache[i].Bersaglio == bersaglio) {
            if (i > 0)
                d->Cache.move(i, 0);
            return d->Cache.first().Immagine;
        }
    }

    const Intestazione& t = *d->Testata;
    const bool ruotata = Ruotata(t.Orientamento);
    auto l = std::make_unique<Lavoro>();
    l->byte = &d->Byte;
    l->bersaglio = ruotata ? bersaglio.transposed() : bersaglio;
    if (!DecodificaScalata(l.get()))
        return QImage();
    const QSize codificata = l->bersaglio;
    QImage img = std::move(l->scalata);
    l.reset();
    if (img.size() != codificata)
        img = Riduci(img, codificata);
    img = Raddrizza(std::move(img), t.Orientamento);
    if (img.isNull())
        return QImage();

    d->Cache.prepend({bersaglio, img});
    while (d->Cache.size() > VociCache)
        d->Cache.removeLast();
    return img;
}
