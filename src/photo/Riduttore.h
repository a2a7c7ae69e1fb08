#pragma once
// Reduces a picture row by row as the decoder delivers it.
#include <QImage>
#include <QSize>
#include <QtGlobal>

#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
