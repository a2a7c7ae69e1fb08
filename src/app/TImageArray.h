#pragma once
// A small picture kept as columns of pixels, rendered rotated, scaled and
// optionally mirrored by nearest-neighbour lookups (the splash window's sprites).
#include <QImage>
#include <QList>
#include <QPoint>

#include <cstdint>
#include <vector>

class TImageArray {
public:
    enum class Formato { Bit8, Bit24 };

    // Takes an 8-bit palette picture (Indexed8) or a 24-bit one (RGB888 or
    // BGR888). Any other format is refused with the plain message and nothing
    // changes; so is a picture without pixels or too large for 16-bit sizes.
    bool LoadColumns(const QImage& bitmap);

    // Resizes the destination to the rotated, scaled box and fills it: pixels
    // outside the source take the transparent colour. The destination is
    // Indexed8 (with the palette) or BGR888, as loaded. Returns the point of the
    // destination where the source's centre lands. An empty picture or a scale
    // that is not positive gives a null destination and (0, 0).
    QPoint RenderRotated(QImage& destinazione, float angolo, float scala, bool specchio) const;

    std::int16_t Larghezza() const { return m_larghezza; }
    std::int16_t Altezza() const { return m_altezza; }
    Formato FormatoPixel() const { return m_formato; }
    QRgb ColoreTrasparente() const { return m_trasparente; }
    const QList<QRgb>& Tavolozza() const { return m_tavolozza; }
    // Column x: one byte per pixel (palette index) or three (blue, green, red), row 0 first.
    const std::vector<std::uint8_t>& Colonna(int x) const { return m_colonne[std::size_t(x)]; }
    QRgb Pixel(int x, int y) const;

    static const char* MessaggioFormato() { return "only 8 bit and 24 bit bitmaps are allowed"; }

private:
    int Byte() const { return m_formato == Formato::Bit8 ? 1 : 3; }

    std::int16_t m_larghezza = 0;
    std::int16_t m_altezza = 0;
    Formato m_formato = Formato::Bit24;
    QRgb m_trasparente = qRgb(0, 0, 0);
    std::vector<std::vector<std::uint8_t>> m_colonne;
    QList<QRgb> m_tavolozza;
};

// Nearest integer, halves to the even neighbour.
double VicinoPari(double v);

// Draws the picture into the frame (RGB32) with its top-left corner at dove,
// leaving out the pixels of the transparent colour; clipped to the frame.
// Takes the pictures that RenderRotated makes (Indexed8, BGR888) and RGB32.
void DisegnaTrasparente(QImage& fotogramma, const QImage& immagine, QPoint dove, QRgb trasparente);
