#include "app/TScenaSplash.h"

#include "platform/Piattaforma.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr float DuePi = 2.0f * std::numbers::pi_v<float>;
constexpr int UnoReale = 1 << 24; // every value is exact in single precision

int Segno() { return Piattaforma::Orologio().Casuale(2) == 0 ? -1 : 1; }

} // namespace

float TScenaSplash::CasualeReale() {
    return float(Piattaforma::Orologio().Casuale(UnoReale)) / float(UnoReale);
}

int TScenaSplash::MezzoLato(float scala) const {
    const double sw = m_sw;
    const double sh = m_sh;
    return int(std::sqrt(sw * sw + sh * sh) * double(scala) / 2.0);
}

void TScenaSplash::Avvia(QSize sfondo, QSize sprite) {
    m_bw = sfondo.width();
    m_bh = sfondo.height();
    m_sw = sprite.width();
    m_sh = sprite.height();
    IOrologio& caso = Piattaforma::Orologio();
    for (int k = 0; k < NumeroSprite; ++k) {
        TSprite& s = m_sprite[std::size_t(k)];
        s.x = m_sw + caso.Casuale(m_bw - 2 * m_sw);
        s.y = m_sh + caso.Casuale(m_bh - 2 * m_sh);
        s.z = 50 + caso.Casuale(m_bh - 50);
        s.dx = (k + 1) * Segno();
        s.dy = (k + 1) * Segno();
        s.dz = (k + 1) * Segno();
        s.angolo = CasualeReale() * 2.0f * std::numbers::pi_v<float>;
        s.rotazione = NuovaRotazione();
        s.scala = float(k + 1) / 4.0f;
        s.specchio = k % 2 == 0;
    }
}

bool TScenaSplash::CaricaImmagini(const QImage& sfondo, const QImage& sprite) {
    if (sfondo.isNull()) return false;
    TImageArray immagine;
    if (!immagine.LoadColumns(sprite)) return false;
    m_immagine = immagine;
    m_sfondo = sfondo.convertToFormat(QImage::Format_RGB32);
    // The pictures' own sizes rule from now on.
    m_bw = m_sfondo.width();
    m_bh = m_sfondo.height();
    m_sw = m_immagine.Larghezza();
    m_sh = m_immagine.Altezza();
    m_fotogramma = m_sfondo.copy();
    m_disegnati = {};
    return true;
}

bool TScenaSplash::Prepara(const QImage& sfondo, const QImage& sprite) {
    if (sfondo.isNull() || sprite.isNull()) return false;
    Avvia(sfondo.size(), sprite.size());
    return CaricaImmagini(sfondo, sprite);
}

void TScenaSplash::Cancella(int k) {
    const TSprite& s = m_sprite[std::size_t(k)];
    const int d = MezzoLato(s.scala);
    QRect quadrato = d != 0 ? QRect(s.x - d, s.y - d, 2 * d, 2 * d) : QRect();
    quadrato = quadrato.united(m_disegnati[std::size_t(k)]).intersected(m_fotogramma.rect());
    m_disegnati[std::size_t(k)] = QRect();
    if (quadrato.isEmpty()) return;
    const int byte = quadrato.width() * 4;
    for (int y = quadrato.top(); y <= quadrato.bottom(); ++y)
        std::memcpy(m_fotogramma.scanLine(y) + quadrato.left() * 4, m_sfondo.constScanLine(y) + quadrato.left() * 4,
                    std::size_t(byte));
}

void TScenaSplash::Disegna(int k) {
    const TSprite& s = m_sprite[std::size_t(k)];
    const QPoint centro = m_immagine.RenderRotated(m_buffer, s.angolo, s.scala, s.specchio);
    const QPoint dove = QPoint(s.x, s.y) - centro;
    DisegnaTrasparente(m_fotogramma, m_buffer, dove, m_immagine.ColoreTrasparente());
    m_disegnati[std::size_t(k)] = QRect(dove, m_buffer.size());
}

void TScenaSplash::Muovi(int k, bool disegna) {
    TSprite& s = m_sprite[std::size_t(k)];
    const int bw = m_bw;
    const int bh = m_bh;
    // A depth of zero or less cannot arise from the start and the bounces; kept finite all the same.
    s.scala = 100.0f / float(s.z > 0 ? s.z : 1);
    const int d = MezzoLato(s.scala);

    s.x += s.dx;
    if (s.x > bw - d + 8) {
        s.dx = -s.dx;
        s.rotazione = NuovaRotazione();
        s.x = bw - d + 8;
    }
    if (s.x < d - 8) {
        s.dx = -s.dx;
        s.rotazione = NuovaRotazione();
        s.x = d - 8;
    }
    s.y += s.dy;
    if (s.y > bh - d + 8) {
        s.dy = -s.dy;
        s.rotazione = NuovaRotazione();
        s.y = bh - d + 8;
    }
    if (s.y < d - 8) {
        s.dy = -s.dy;
        s.rotazione = NuovaRotazione();
        s.y = d - 8;
    }
    s.z += s.dz;
    if (s.z > bh || s.z < 50) { // z itself is left where it is
        s.dz = -s.dz;
        s.rotazione = NuovaRotazione();
    }
    s.angolo += s.rotazione;
    if (s.angolo > DuePi) s.angolo -= DuePi;
    if (s.angolo < 0) s.angolo += DuePi;

    if (disegna && d != 0) Disegna(k);
}

void TScenaSplash::Tick(bool disegna) {
    disegna = disegna && Pronta();
    if (disegna)
        for (int k = 0; k < NumeroSprite; ++k) Cancella(k);
    for (int k = 0; k < NumeroSprite; ++k) Muovi(k, disegna);
}

void TScenaSplash::Ricostruisci() {
    if (!Pronta()) return;
    std::memcpy(m_fotogramma.bits(), m_sfondo.constBits(), std::size_t(m_sfondo.sizeInBytes()));
    m_disegnati = {};
    for (int k = 0; k < NumeroSprite; ++k)
        if (MezzoLato(m_sprite[std::size_t(k)].scala) != 0) Disegna(k);
}
