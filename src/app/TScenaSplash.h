#pragma once
// The scene of the copyright splash: five copies of a sprite flying over the
// background, bouncing off the edges, nearing and turning, drawn into one frame
// buffer. Plain data: the window only shows the frame and drives the ticks.
#include "app/TImageArray.h"

#include <QImage>

#include <array>

struct TSprite {
    int x = 0, y = 0, z = 0;    // centre on the scene; depth (scale 100 / z)
    int dx = 0, dy = 0, dz = 0; // steps per tick: sprite k moves by k + 1, signs vary
    float angolo = 0;           // radians, kept in [0, 2 pi]
    float rotazione = 0;        // added to the angle at each tick
    float scala = 0;            // of the last drawing
    bool specchio = false;      // drawn mirrored left to right
};

class TScenaSplash {
public:
    static constexpr int NumeroSprite = 5;
    static constexpr int IntervalloMs = 50;

    // The sprites' start, from the pictures' sizes alone, with the random draws
    // through the clock seam. The pixels can come later (the window loads them
    // at its first showing): until then ticks only move the sprites.
    void Avvia(QSize sfondo, QSize sprite);
    // Background copy, sprite columns and the frame with the background. False
    // when the sprite picture is refused (its format) or a picture is empty.
    bool CaricaImmagini(const QImage& sfondo, const QImage& sprite);
    // Both at once.
    bool Prepara(const QImage& sfondo, const QImage& sprite);
    bool Pronta() const { return !m_fotogramma.isNull(); }

    // One timer tick: erase the squares the sprites covered, move them and draw
    // them. Without drawing the sprites only move; Ricostruisci then makes the
    // frame afresh before it is shown again.
    void Tick(bool disegna = true);
    void Ricostruisci();

    const QImage& Fotogramma() const { return m_fotogramma; }
    const QImage& Sfondo() const { return m_sfondo; }
    const TImageArray& Immagine() const { return m_immagine; }
    std::array<TSprite, NumeroSprite>& Sprite() { return m_sprite; }
    const std::array<TSprite, NumeroSprite>& Sprite() const { return m_sprite; }

    // Half side of a sprite's square at a scale: its bounding circle's radius.
    int MezzoLato(float scala) const;
    // Random real in [0, 1) drawn through the clock seam.
    static float CasualeReale();
    static float NuovaRotazione() { return CasualeReale() * 0.4f - 0.2f; }

private:
    void Cancella(int k);
    void Disegna(int k);
    void Muovi(int k, bool disegna);

    int m_bw = 0, m_bh = 0; // background size
    int m_sw = 0, m_sh = 0; // sprite picture size
    QImage m_sfondo;     // RGB32 copy of the background
    QImage m_fotogramma; // RGB32: copied to the window in one draw
    QImage m_buffer;     // the rendered sprite, reused tick after tick
    TImageArray m_immagine;
    std::array<TSprite, NumeroSprite> m_sprite{};
    // Where each sprite's box was last drawn: rounding can put a pixel or two of
    // an opaque corner just outside its square, and the erase takes them too.
    std::array<QRect, NumeroSprite> m_disegnati{};
};
