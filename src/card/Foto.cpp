#include "card/Foto.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QFile>
#include <QTransform>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <cstdio>
#include <optional>
#include <vector>

#include <jpeglib.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Area averaging of the rows libjpeg delivers, one row at a time: each output
// pixel is the mean of the source area it covers, partial pixels weighted by the
// part they cover. Only two running rows are held, so no picture-sized buffer is
// needed besides the result, and the work stays on the calling thread.
// Fixed point: horizontal weights sum to 128, vertical ones to 32767; a running
// row holds each channel times 64 in 16 bits, two pixels per SSE2 register.
// For slight reductions a two-tap (bilinear) mode keeps just the last two source
// rows instead of running sums.
class Riduttore {
public:
    Riduttore(QSize sorgente, QImage& destinazione, bool bilineare)
        : m_sw(sorgente.width()), m_sh(sorgente.height()), m_dw(destinazione.width()),
          m_dh(destinazione.height()), m_dest(destinazione), m_bilineare(bilineare)
    {
        if (m_bilineare) {
            PreparaBilineare();
        } else {
            PreparaArea();
        }
        const size_t canali = size_t(m_dw + 1) / 2 * 8; // whole pixel pairs
        m_riga.assign(canali, 0);
        m_acc.assign(canali, 0);
        m_accSeguente.assign(canali, 0);
    }

    // Bytes the caller keeps readable after each source row: taps read four pixels at a time.
    size_t Margine() const { return size_t(m_gruppi) * 16 + 16; }

    // Adds source row r, given as B, G, R, X bytes.
    void Aggiungi(const uchar* riga, int r)
    {
        if (m_bilineare) {
            // The last two source rows, reduced across, are all an output row needs.
            OrizzontaleBilineare(riga, (r & 1 ? m_acc : m_riga).data());
            while (m_corrente < m_dh && r >= m_ultimaSorgente[size_t(m_corrente)]) {
                const int primo = m_primaY[size_t(m_corrente)];
                EmettiBilineare((primo & 1 ? m_acc : m_riga).data(), (r & 1 ? m_acc : m_riga).data(),
                                m_pesoY[size_t(m_corrente)]);
            }
            return;
        }
        Orizzontale(riga);
        const qint16 p0 = m_peso0[size_t(r)], p1 = m_peso1[size_t(r)];
        if (m_rigaY[size_t(r)] == m_corrente) {
            Verticale(m_acc.data(), p0);
            if (p1)
                Verticale(m_accSeguente.data(), p1);
        } else if (p0) {
            Verticale(m_accSeguente.data(), p0);
        }
        while (m_corrente < m_dh && r >= m_ultimaSorgente[size_t(m_corrente)])
            Emetti();
    }

private:
    void PreparaArea()
    {
        // Horizontal taps: output x covers [x*sw, (x+1)*sw), source i covers [i*dw, (i+1)*dw).
        const int prese = int((m_sw + m_dw - 1) / m_dw) + 1;
        m_gruppi = (prese + 3) / 4; // taps go four at a time
        m_inizio.resize(size_t(m_dw));
        m_pesiX.assign(size_t(m_dw) * size_t(m_gruppi) * 4, 0);
        std::vector<qint64> parti;
        for (qint64 x = 0; x < m_dw; ++x) {
            const qint64 a = x * m_sw, b = a + m_sw;
            const qint64 primo = a / m_dw, ultimo = (b - 1) / m_dw;
            m_inizio[size_t(x)] = int(primo);
            parti.clear();
            for (qint64 i = primo; i <= ultimo; ++i)
                parti.push_back(std::min((i + 1) * m_dw, b) - std::max(i * m_dw, a));
            Normalizza(parti, m_sw, 128, &m_pesiX[size_t(x) * size_t(m_gruppi) * 4]);
        }
        // Vertical: a source row feeds at most two consecutive output rows.
        m_rigaY.assign(size_t(m_sh), -1);
        m_peso0.assign(size_t(m_sh), 0);
        m_peso1.assign(size_t(m_sh), 0);
        m_ultimaSorgente.resize(size_t(m_dh));
        std::vector<qint16> pesi;
        for (qint64 y = 0; y < m_dh; ++y) {
            const qint64 a = y * m_sh, b = a + m_sh;
            const qint64 primo = a / m_dh, ultimo = (b - 1) / m_dh;
            parti.clear();
            for (qint64 r = primo; r <= ultimo; ++r)
                parti.push_back(std::min((r + 1) * m_dh, b) - std::max(r * m_dh, a));
            pesi.assign(parti.size(), 0);
            Normalizza(parti, m_sh, 32767, pesi.data());
            for (qint64 r = primo; r <= ultimo; ++r) {
                if (m_rigaY[size_t(r)] < 0) {
                    m_rigaY[size_t(r)] = int(y);
                    m_peso0[size_t(r)] = pesi[size_t(r - primo)];
                } else {
                    m_peso1[size_t(r)] = pesi[size_t(r - primo)]; // began in the output row above
                }
            }
            m_ultimaSorgente[size_t(y)] = int(ultimo);
        }
    }

    // Two taps per axis around the output pixel's centre. Output centres lie at
    // least one source pixel apart, so a source row feeds at most two consecutive
    // output rows, as with area averaging.
    void PreparaBilineare()
    {
        // Centre of output k in source pixels: ((2k + 1) * s - d) / (2d).
        auto prese = [](qint64 k, qint64 s, qint64 d, int uno, qint64* primo, int* peso1) {
            const qint64 num = (2 * k + 1) * s - d, den = 2 * d;
            *primo = num / den;
            *peso1 = int(((num % den) * uno + den / 2) / den);
            if (s == 1) {
                *primo = 0;
                *peso1 = 0;
            } else if (*primo >= s - 1) { // the last pixel, not one past it
                *primo = s - 2;
                *peso1 = uno;
            }
        };
        m_gruppi = 1;
        m_inizio.resize(size_t(m_dw));
        m_pesiX.assign(size_t(m_dw + 1) / 2 * 8, 0); // per pixel pair: the second tap's weight, per channel
        for (qint64 x = 0; x < m_dw; ++x) {
            qint64 primo;
            int peso1;
            prese(x, m_sw, m_dw, 128, &primo, &peso1);
            m_inizio[size_t(x)] = int(primo);
            for (int c = 0; c < 4; ++c)
                m_pesiX[size_t(x) * 4 + size_t(c)] = qint16(peso1);
        }
        m_primaY.resize(size_t(m_dh));
        m_pesoY.resize(size_t(m_dh));
        m_ultimaSorgente.resize(size_t(m_dh));
        for (qint64 y = 0; y < m_dh; ++y) {
            qint64 primo;
            int peso1;
            prese(y, m_sh, m_dh, 32767, &primo, &peso1);
            m_primaY[size_t(y)] = int(primo);
            m_pesoY[size_t(y)] = qint16(peso1);
            m_ultimaSorgente[size_t(y)] = m_sh == 1 ? 0 : int(primo + 1);
        }
    }

    // Integer parts summing to 'totale' into weights summing exactly to 'uno'.
    static void Normalizza(const std::vector<qint64>& parti, qint64 totale, int uno, qint16* pesi)
    {
        int somma = 0;
        size_t maggiore = 0;
        for (size_t k = 0; k < parti.size(); ++k) {
            pesi[k] = qint16((parti[k] * uno + totale / 2) / totale);
            somma += pesi[k];
            if (parti[k] > parti[maggiore])
                maggiore = k;
        }
        pesi[maggiore] = qint16(pesi[maggiore] + (uno - somma));
    }

    // Each output pixel of the row: its channels times 128, then halved, in m_riga.
    void Orizzontale(const uchar* s)
    {
        const qint16* pesi = m_pesiX.data();
        const int gruppi = m_gruppi;
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        auto pixel = [&](qint64 x) {
            const uchar* p = s + 4 * qint64(m_inizio[size_t(x)]);
            const qint16* w = pesi + x * gruppi * 4;
            __m128i somma = zero;
            for (int g = 0; g < gruppi; ++g, p += 16, w += 4) {
                const __m128i quattro = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const __m128i pesi4 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(w)); // w0 w1 w2 w3
                // Channels of neighbouring taps side by side, for multiply-and-add in pairs.
                const __m128i basso = _mm_unpacklo_epi8(quattro, zero), alto = _mm_unpackhi_epi8(quattro, zero);
                const __m128i c01 = _mm_unpacklo_epi16(basso, _mm_srli_si128(basso, 8));
                const __m128i c23 = _mm_unpacklo_epi16(alto, _mm_srli_si128(alto, 8));
                const __m128i w01 = _mm_shuffle_epi32(pesi4, 0x00), w23 = _mm_shuffle_epi32(pesi4, 0x55);
                somma = _mm_add_epi32(somma, _mm_add_epi32(_mm_madd_epi16(c01, w01), _mm_madd_epi16(c23, w23)));
            }
            return somma; // B, G, R, X times 128, at most 32640
        };
        __m128i* out = reinterpret_cast<__m128i*>(m_riga.data());
        qint64 x = 0;
        for (; x + 1 < m_dw; x += 2)
            _mm_storeu_si128(out++, _mm_packs_epi32(pixel(x), pixel(x + 1)));
        if (x < m_dw)
            _mm_storeu_si128(out, _mm_packs_epi32(pixel(x), zero));
#else
        for (qint64 x = 0; x < m_dw; ++x) {
            const uchar* p = s + 4 * qint64(m_inizio[size_t(x)]);
            const qint16* w = pesi + x * gruppi * 4;
            for (int c = 0; c < 4; ++c) {
                int somma = 0;
                for (int k = 0; k < gruppi * 4; ++k)
                    somma += w[k] * p[4 * k + c];
                m_riga[size_t(x) * 4 + size_t(c)] = qint16(somma);
            }
        }
#endif
    }

    // Two neighbouring source pixels per output pixel, two output pixels at a time:
    // first * 128 + (second - first) * weight into 'riga', scaled as in Orizzontale.
    void OrizzontaleBilineare(const uchar* s, qint16* riga)
    {
        const int* inizio = m_inizio.data();
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        const __m128i* pesi = reinterpret_cast<const __m128i*>(m_pesiX.data());
        __m128i* out = reinterpret_cast<__m128i*>(riga);
        for (qint64 x = 0; x < m_dw; x += 2) {
            const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + 4 * qint64(inizio[x])));
            // The pair's last pixel may stand alone; its partner then repeats it.
            const qint64 x1 = x + 1 < m_dw ? x + 1 : x;
            const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + 4 * qint64(inizio[x1])));
            const __m128i ab = _mm_unpacklo_epi32(a, b); // first x, first x1, second x, second x1
            const __m128i primi = _mm_unpacklo_epi8(ab, zero), secondi = _mm_unpackhi_epi8(ab, zero);
            const __m128i w = _mm_loadu_si128(pesi + x / 2);
            _mm_storeu_si128(out + x / 2, _mm_add_epi16(_mm_slli_epi16(primi, 7),
                                                        _mm_mullo_epi16(_mm_sub_epi16(secondi, primi), w)));
        }
#else
        for (qint64 x = 0; x < m_dw; ++x) {
            const uchar* p = s + 4 * qint64(inizio[x]);
            const int w = m_pesiX[size_t(x) * 4];
            for (int c = 0; c < 4; ++c)
                riga[x * 4 + c] = qint16(p[c] * 128 + (p[4 + c] - p[c]) * w);
        }
#endif
    }

    void Verticale(qint16* acc, qint16 peso)
    {
        const size_t n = m_riga.size();
        const qint16* riga = m_riga.data();
#ifdef __SSE2__
        const __m128i p = _mm_set1_epi16(peso);
        for (size_t i = 0; i < n; i += 8) {
            __m128i* a = reinterpret_cast<__m128i*>(acc + i);
            const __m128i h = _mm_loadu_si128(reinterpret_cast<const __m128i*>(riga + i));
            _mm_storeu_si128(a, _mm_add_epi16(_mm_loadu_si128(a), _mm_mulhi_epi16(h, p)));
        }
#else
        for (size_t i = 0; i < n; ++i)
            acc[i] = qint16(acc[i] + ((int(riga[i]) * peso) >> 16));
#endif
    }

    // Writes output row m_corrente from its channels times 64: 'quattro(x, &a, &b)'
    // gives pixels x..x+3, 'uno(x, c)' one channel.
    template <class Quattro, class Uno> void Scrivi(Quattro quattro, Uno uno)
    {
        uchar* d = m_dest.scanLine(m_corrente);
        auto finale = [&](qint64 x) {
            for (int c = 0; c < 3; ++c)
                d[4 * x + c] = uchar(std::clamp((uno(x, c) + 32) >> 6, 0, 255));
            d[4 * x + 3] = 0xFF;
        };
        qint64 x = 0;
#ifdef __SSE2__
        const __m128i mezzo = _mm_set1_epi16(32), alfa = _mm_set1_epi32(int(0xFF000000u));
        for (; x + 4 <= m_dw; x += 4) {
            __m128i a, b;
            quattro(x, &a, &b);
            a = _mm_srai_epi16(_mm_add_epi16(a, mezzo), 6);
            b = _mm_srai_epi16(_mm_add_epi16(b, mezzo), 6);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), _mm_or_si128(_mm_packus_epi16(a, b), alfa));
        }
#else
        Q_UNUSED(quattro);
#endif
        for (; x < m_dw; ++x)
            finale(x);
        ++m_corrente;
    }

    void Emetti()
    {
        const qint16* acc = m_acc.data();
        Scrivi(
            [&](qint64 x, auto* a, auto* b) {
#ifdef __SSE2__
                *a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(acc + 4 * x));
                *b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(acc + 4 * x + 8));
#endif
            },
            [&](qint64 x, int c) { return int(acc[4 * x + c]); });
        m_acc.swap(m_accSeguente);
        std::fill(m_accSeguente.begin(), m_accSeguente.end(), qint16(0));
    }

    // Output row m_corrente from the rows its two taps gave, weights summing to 32767.
    void EmettiBilineare(const qint16* h0, const qint16* h1, qint16 w1)
    {
        const qint16 w0 = qint16(32767 - w1);
        Scrivi(
            [&](qint64 x, auto* a, auto* b) {
#ifdef __SSE2__
                const __m128i p0 = _mm_set1_epi16(w0), p1 = _mm_set1_epi16(w1);
                auto due = [&](qint64 i) {
                    const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h0 + i));
                    const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h1 + i));
                    return _mm_add_epi16(_mm_mulhi_epi16(r0, p0), _mm_mulhi_epi16(r1, p1));
                };
                *a = due(4 * x);
                *b = due(4 * x + 8);
#endif
            },
            [&](qint64 x, int c) { return ((h0[4 * x + c] * w0) >> 16) + ((h1[4 * x + c] * w1) >> 16); });
    }

    qint64 m_sw, m_sh, m_dw, m_dh;
    QImage& m_dest;
    bool m_bilineare;
    int m_gruppi = 1;
    std::vector<int> m_inizio;
    std::vector<qint16> m_pesiX;
    std::vector<int> m_rigaY;
    std::vector<qint16> m_peso0, m_peso1;
    std::vector<int> m_ultimaSorgente;
    std::vector<int> m_primaY;   // bilinear: first tap row of each output row
    std::vector<qint16> m_pesoY; // bilinear: the second tap's weight
    std::vector<qint16> m_riga, m_acc, m_accSeguente; // bilinear: rows r even and odd in m_riga and m_acc
    int m_corrente = 0;
};

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
    QImage img = std::move(l->immagine);
    l.reset();
    img = Raddrizza(std::move(img), t.Orientamento);
    if (img.isNull())
        return QImage();

    d->Cache.prepend({bersaglio, img});
    while (d->Cache.size() > VociCache)
        d->Cache.removeLast();
    return img;
}

void PreparaMemoriaFoto()
{
#ifdef __GLIBC__
    // A full-screen picture is about 8 MB: such blocks come from the heap and stay
    // there for reuse, up to a bounded amount kept beyond what is in use.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
