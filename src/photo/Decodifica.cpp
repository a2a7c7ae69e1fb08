#include "photo/Decodifica.h"

#include "photo/Exif.h"
#include "photo/Riduttore.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

using Decodifica::Intestazione;

namespace {


// Whatever the file claims, nothing beyond these is allocated.
constexpr qint64 MassimoPixel = 200'000'000;
constexpr int MassimoLato = 30000;
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

// The libjpeg state lives behind a pointer so that nothing the decoder touches
// sits in registers across the longjmp.
struct Lavoro {
    jpeg_decompress_struct cinfo;
    Errore errore;
    const QByteArray* byte = nullptr;
    Intestazione intestazione;
    jpeg_progress_mgr avanzamento{};
    QSize bersaglio; // wanted size of the picture as coded (before orientation)
    QImage immagine; // the result, at that size
    std::unique_ptr<Riduttore> riduttore;
    std::vector<uchar> riga;    // one DCT-scaled row for the reducer
    std::vector<JSAMPLE> cmyk;  // one CMYK row
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
        l->intestazione.Orientamento = Exif::Orientamento(&l->cinfo);
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

// CMYK as photo programs write it (Adobe inverts it) to B, G, R, X bytes.
void DaCmyk(const JSAMPLE* cmyk, uchar* bgrx, qint64 larghezza, bool invertito)
{
    for (qint64 x = 0; x < larghezza; ++x) {
        int c = cmyk[x * 4], m = cmyk[x * 4 + 1], g = cmyk[x * 4 + 2], k = cmyk[x * 4 + 3];
        if (!invertito) {
            c = 255 - c; m = 255 - m; g = 255 - g; k = 255 - k;
        }
        bgrx[x * 4] = uchar(g * k / 255);
        bgrx[x * 4 + 1] = uchar(m * k / 255);
        bgrx[x * 4 + 2] = uchar(c * k / 255);
        bgrx[x * 4 + 3] = 0xFF;
    }
}

bool DecodificaScalata(Lavoro* l)
{
    Prepara(l);
    if (setjmp(l->errore.salto)) {
        jpeg_destroy_decompress(&l->cinfo);
        return false; // whatever was decoded so far is dropped by the caller
    }
    jpeg_create_decompress(&l->cinfo);
    l->avanzamento.progress_monitor = ControllaAvanzamento;
    l->cinfo.progress = &l->avanzamento;
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
    l->cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA; // BGRA bytes = QImage RGB32 words
    jpeg_calc_output_dimensions(&l->cinfo);
    const QSize uscita(int(l->cinfo.output_width), int(l->cinfo.output_height));
    // The DCT scale covers the wanted size, so only reduction is left.
    if (uscita.width() < l->bersaglio.width() || uscita.height() < l->bersaglio.height()) {
        jpeg_destroy_decompress(&l->cinfo);
        return false;
    }
    l->immagine = QImage(l->bersaglio, QImage::Format_RGB32);
    if (l->immagine.isNull()) {
        jpeg_destroy_decompress(&l->cinfo);
        return false;
    }
    const bool riduci = uscita != l->bersaglio;
    // Rows for the reducer start off the 16-byte grid: libjpeg-turbo writes aligned
    // rows with non-temporal stores, which would send them past the cache just
    // before the reducer reads them.
    constexpr int Lotto = 4;
    const size_t passo = (size_t(uscita.width()) * 4 + 63) / 32 * 32; // every row 4 bytes past the grid
    uchar* base = nullptr;
    if (riduci) {
        // Left with less than a fifth to take off (typically a full-size decode shrunk
        // for the screen), two taps per axis look the same as area averaging, at about
        // half the cost, and that cost is what the decode itself is then compared to.
        // Beyond that, two taps would start to drop detail.
        const bool bilineare = qint64(uscita.width()) * 5 < qint64(l->bersaglio.width()) * 6
            && qint64(uscita.height()) * 5 < qint64(l->bersaglio.height()) * 6;
        l->riduttore = std::make_unique<Riduttore>(uscita, l->immagine, bilineare);
        l->riga.assign(passo * Lotto + 64 + l->riduttore->Margine(), 0);
        base = l->riga.data() + (32 - reinterpret_cast<quintptr>(l->riga.data()) % 32) + 4;
    }
    if (cmyk)
        l->cmyk.resize(passo * Lotto);
    jpeg_start_decompress(&l->cinfo);
    // A file cut short decodes to its end; libjpeg fills the rest in grey.
    while (l->cinfo.output_scanline < l->cinfo.output_height) {
        const int prima = int(l->cinfo.output_scanline);
        const int quante = std::min<int>(Lotto, int(l->cinfo.output_height) - prima);
        JSAMPROW righe[Lotto];
        for (int k = 0; k < quante; ++k) {
            uchar* bgrx = riduci ? base + passo * size_t(k) : l->immagine.scanLine(prima + k);
            righe[k] = cmyk ? l->cmyk.data() + passo * size_t(k) : bgrx;
        }
        int lette = 0;
        while (lette < quante) {
            const int n = int(jpeg_read_scanlines(&l->cinfo, righe + lette, JDIMENSION(quante - lette)));
            if (n <= 0) { // cannot happen with an in-memory source; never loop on it
                jpeg_destroy_decompress(&l->cinfo);
                return false;
            }
            lette += n;
        }
        for (int k = 0; k < quante; ++k) {
            uchar* bgrx = riduci ? base + passo * size_t(k) : l->immagine.scanLine(prima + k);
            if (cmyk)
                DaCmyk(righe[k], bgrx, uscita.width(), l->cinfo.saw_Adobe_marker);
            if (riduci)
                l->riduttore->Aggiungi(bgrx, prima + k);
        }
    }
    jpeg_finish_decompress(&l->cinfo);
    jpeg_destroy_decompress(&l->cinfo);
    return true;
}

} // namespace

namespace Decodifica {

std::optional<Intestazione> LeggiIntestazione(const QByteArray& byte)
{
    auto l = std::make_unique<Lavoro>();
    l->byte = &byte;
    if (!::LeggiIntestazione(l.get()))
        return std::nullopt;
    return l->intestazione;
}

QImage Decodifica(const QByteArray& byte, const Intestazione& intestazione, QSize bersaglio)
{
    auto l = std::make_unique<Lavoro>();
    l->byte = &byte;
    l->bersaglio = Exif::Ruotata(intestazione.Orientamento) ? bersaglio.transposed() : bersaglio;
    if (!DecodificaScalata(l.get()))
        return QImage();
    QImage img = std::move(l->immagine);
    l.reset();
    return Exif::Raddrizza(std::move(img), intestazione.Orientamento);
}

} // namespace Decodifica
