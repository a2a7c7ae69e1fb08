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
    const double sw = m_immagine.Larghezza();
    const double sh = m_immagine.Altezza();
    return int(std::sqrt(sw * sw + sh * sh) * double(scala) / 2.0);
}

bool TScenaSplash::Prepara(const QImage& sfondo, const QImage& sprite) {
    if (sfondo.isNull()) return false;
    TImageArray immagine;
    if (!immagine.LoadColumns(sprite)) return false;
    m_immagine = immagine;
    m_sfondo = sfondo.convertToFormat(QImage::Format_RGB32);

    const int bw = m_sfondo.width();
    const int bh = m_sfondo.height();
    const int sw = m_immagine.Larghezza();
    const int sh = m_immagine.Altezza();
    IOrologio& caso = Piattaforma::Orologio();
    for (int k = 0; k < NumeroSprite; ++k) {
        TSprite& s = m_sprite[std::size_t(k)];
        s.x = sw + caso.Casuale(bw - 2 * sw);
        s.y = sh + caso.Casuale(bh - 2 * sh);
        s.z = 50 + caso.Casuale(bh - 50);
        s.dx = (k + 1) * Segno();
        s.dy = (k + 1) * Segno();
        s.dz = (k + 1) * Segno();
        s.angolo = CasualeReale() * 2.0f * std::numbers::pi_v<float>;
        s.rotazione = NuovaRotazione();
        s.scala = float(k + 1) / 4.0f;
        s.specchio = k % 2 == 0;
    }
    m_fotogramma = m_sfondo.copy();
    return true;
}

void TScenaSplash::Cancella(const TSprite& s) {
    const int d = MezzoLato(s.scala);
    if (d == 0) return;
    const QRect quadrato = QRect(s.x - d, s.y - d, 2 * d, 2 * d).intersected(m_fotogramma.rect());
    if (quadrato.isEmpty()) return;
    const int byte = quadrato.width() * 4;
    for (int y = quadrato.top(); y <= quadrato.bottom(); ++y)
        std::memcpy(m_fotogramma.scanLine(y) + quadrato.left() * 4, m_sfondo.constScanLine(y) + quadrato.left() * 4,
                    std::size_t(byte));
}

void TScenaSplash::Disegna(const TSprite& s) {
    const QPoint centro = m_immagine.RenderRotated(m_buffer, s.angolo, s.scala, s.specchio);
    DisegnaTrasparente(m_fotogramma, m_buffer, QPoint(s.x, s.y) - centro, m_immagine.ColoreTrasparente());
}

void TScenaSplash::Muovi(TSprite& s, bool disegna) {
    const int bw = m_sfondo.width();
    const int bh = m_sfondo.height();
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

    if (disegna && d != 0) Disegna(s);
}

void TScenaSplash::Tick(bool disegna) {
    if (!Pronta()) return;
    if (disegna)
        for (const TSprite& s : m_sprite) Cancella(s);
    for (TSprite& s : m_sprite) Muovi(s, disegna);
}

void TScenaSplash::Ricostruisci() {
    if (!Pronta()) return;
    std::memcpy(m_fotogramma.bits(), m_sfondo.constBits(), std::size_t(m_sfondo.sizeInBytes()));
    for (const TSprite& s : m_sprite)
        if (MezzoLato(s.scala) != 0) Disegna(s);
}
