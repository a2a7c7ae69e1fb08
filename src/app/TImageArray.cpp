#include "app/TImageArray.h"

#include "platform/Piattaforma.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

double VicinoPari(double v) {
    if (!(std::fabs(v) < 4.5e15)) return v; // already whole (or not a number)
    const auto t = static_cast<long long>(v); // toward zero
    const double resto = v - static_cast<double>(t);
    if (v >= 0) {
        if (resto > 0.5) return double(t + 1);
        if (resto == 0.5) return double(t + (t & 1));
        return double(t);
    }
    if (resto < -0.5) return double(t - 1);
    if (resto == -0.5) return double(t - (t & 1));
    return double(t);
}

bool TImageArray::LoadColumns(const QImage& bitmap) {
    Formato formato;
    switch (bitmap.format()) {
    case QImage::Format_Indexed8: formato = Formato::Bit8; break;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888: formato = Formato::Bit24; break;
    default:
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"),
                                       QString::fromLatin1(MessaggioFormato()));
        return false;
    }
    constexpr int limite = std::numeric_limits<std::int16_t>::max();
    if (bitmap.width() < 1 || bitmap.height() < 1 || bitmap.width() > limite || bitmap.height() > limite)
        return false;

    const int w = bitmap.width();
    const int h = bitmap.height();
    m_formato = formato;
    m_larghezza = std::int16_t(w);
    m_altezza = std::int16_t(h);
    const int n = Byte();
    m_colonne.assign(std::size_t(w), std::vector<std::uint8_t>(std::size_t(h) * std::size_t(n)));
    m_tavolozza = formato == Formato::Bit8 ? bitmap.colorTable() : QList<QRgb>();
    const bool rgb = bitmap.format() == QImage::Format_RGB888;
    for (int y = 0; y < h; ++y) {
        const uchar* riga = bitmap.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = m_colonne[std::size_t(x)].data() + std::size_t(y) * std::size_t(n);
            if (n == 1) {
                p[0] = riga[x];
            } else if (rgb) { // kept as blue, green, red
                p[0] = riga[3 * x + 2];
                p[1] = riga[3 * x + 1];
                p[2] = riga[3 * x];
            } else {
                std::memcpy(p, riga + 3 * x, 3);
            }
        }
    }
    m_trasparente = Pixel(0, h - 1);
    return true;
}

QRgb TImageArray::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_larghezza || y >= m_altezza) return qRgb(0, 0, 0);
    const std::uint8_t* p = m_colonne[std::size_t(x)].data() + std::size_t(y) * std::size_t(Byte());
    if (m_formato == Formato::Bit8) return p[0] < m_tavolozza.size() ? m_tavolozza[p[0]] | 0xff000000u : qRgb(0, 0, 0);
    return qRgb(p[2], p[1], p[0]);
}

QPoint TImageArray::RenderRotated(QImage& destinazione, float angolo, float scala, bool specchio) const {
    const int W = m_larghezza;
    const int H = m_altezza;
    if (W < 1 || H < 1 || !(scala > 0.0f) || !std::isfinite(scala) || !std::isfinite(angolo)) {
        destinazione = QImage();
        return QPoint(0, 0);
    }
    const float seno = std::sin(angolo);
    const float coseno = std::cos(angolo);
    const float r = 1.0f / scala;
    const double s = scala;
    const int m = int(std::fabs(VicinoPari(H * double(seno) * s)) + std::fabs(VicinoPari(W * double(coseno) * s)));
    const int u = int(std::fabs(VicinoPari(W * double(seno) * s)) + std::fabs(VicinoPari(H * double(coseno) * s)));

    const QImage::Format formato = m_formato == Formato::Bit8 ? QImage::Format_Indexed8 : QImage::Format_BGR888;
    if (m < 1 || u < 1) {
        destinazione = QImage();
        return QPoint(m / 2, u / 2);
    }
    // Reused when it already has the size: the splash renders every 50 ms.
    if (destinazione.width() != m || destinazione.height() != u || destinazione.format() != formato)
        destinazione = QImage(m, u, formato);
    if (m_formato == Formato::Bit8) destinazione.setColorTable(m_tavolozza);

    const int n = Byte();
    const std::uint8_t* riempimento = m_colonne[0].data() + std::size_t(H - 1) * std::size_t(n);
    const auto copia = [n](uchar* d, const std::uint8_t* p) {
        d[0] = p[0];
        if (n == 3) {
            d[1] = p[1];
            d[2] = p[2];
        }
    };

    if (angolo != 0.0f) {
        for (int j = 0; j < u; ++j) {
            uchar* riga = destinazione.scanLine(j);
            const double Y = 2.0 * j - (u - 1);
            for (int i = 0; i < m; ++i) {
                const double X = 2.0 * i - (m - 1);
                int sx = (W + int(VicinoPari(r * (X * coseno - Y * seno))) - 1) / 2;
                const int sy = (H + int(VicinoPari(r * (X * seno + Y * coseno))) - 1) / 2;
                if (specchio) sx = W - 1 - sx;
                const std::uint8_t* p = (sx >= 0 && sx < W && sy >= 0 && sy < H)
                                            ? m_colonne[std::size_t(sx)].data() + std::size_t(sy) * std::size_t(n)
                                            : riempimento;
                copia(riga + i * n, p);
            }
        }
    } else {
        for (int j = 0; j < u; ++j) {
            uchar* riga = destinazione.scanLine(j);
            // Rounding can put the last row or column one past the edge; it takes the edge.
            const int sy = std::min(int(j * r), H - 1);
            for (int i = 0; i < m; ++i) {
                int sx = std::min(int(i * r), W - 1);
                if (specchio) sx = W - 1 - sx;
                copia(riga + i * n, m_colonne[std::size_t(sx)].data() + std::size_t(sy) * std::size_t(n));
            }
        }
    }
    return QPoint(m / 2, u / 2);
}

void DisegnaTrasparente(QImage& fotogramma, const QImage& immagine, QPoint dove, QRgb trasparente) {
    if (immagine.isNull() || fotogramma.isNull()) return;
    if (fotogramma.format() != QImage::Format_RGB32 && fotogramma.format() != QImage::Format_ARGB32)
        fotogramma = fotogramma.convertToFormat(QImage::Format_RGB32);
    const QRect area = QRect(dove, immagine.size()).intersected(fotogramma.rect());
    if (area.isEmpty()) return;
    const QRgb chiave = trasparente & 0x00ffffffu;
    const QImage::Format formato = immagine.format();
    const QList<QRgb> tavolozza = formato == QImage::Format_Indexed8 ? immagine.colorTable() : QList<QRgb>();
    const QImage sorgente = (formato == QImage::Format_Indexed8 || formato == QImage::Format_BGR888 ||
                             formato == QImage::Format_RGB32)
                                ? immagine
                                : immagine.convertToFormat(QImage::Format_RGB32);
    const QImage::Format f = sorgente.format();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* s = sorgente.constScanLine(y - dove.y());
        auto* d = reinterpret_cast<QRgb*>(fotogramma.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const int i = x - dove.x();
            QRgb c;
            if (f == QImage::Format_BGR888)
                c = qRgb(s[3 * i + 2], s[3 * i + 1], s[3 * i]);
            else if (f == QImage::Format_Indexed8)
                c = s[i] < tavolozza.size() ? tavolozza[s[i]] : qRgb(0, 0, 0);
            else
                c = reinterpret_cast<const QRgb*>(s)[i];
            if ((c & 0x00ffffffu) != chiave) d[x] = c | 0xff000000u;
        }
    }
}
