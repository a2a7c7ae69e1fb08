#pragma once
// A picture box: shows a photo by the fitting rule (never enlarged, centred),
// decoded straight to the size the box needs. When the bytes do not decode, the
// stand-in photo is shown instead; the photo itself keeps its bytes unchanged.
// The layout is in the window's pixels; the photo is decoded for the screen's own
// pixels (the box's size times the screen's scale), so that above 100 % one photo
// pixel still lands on one screen pixel.
#include "photo/Foto.h"
#include "widgets/Comuni.h"

#include <QWidget>

class RiquadroFoto : public QWidget {
    Q_OBJECT
public:
    explicit RiquadroFoto(QWidget* parent = nullptr);

    void ImpostaFoto(const TFoto& foto);
    void ImpostaRiserva(const TFoto& riserva); // what to show for bytes that do not decode
    void Svuota() { ImpostaFoto(TFoto()); }
    const TFoto& Foto() const { return m_foto; }
    const TFoto& Riserva() const { return m_riserva; }
    // The photo actually drawn: the photo, the stand-in, or none.
    const TFoto* FotoMostrata() const;
    // Where the picture lies inside the box; empty when nothing is drawn.
    QRect RettangoloImmagine() const;
    // The box in the pixels of the screen the window is on: what photos are decoded for.
    QSize BoxDispositivo() const;
    // The decoded picture the box draws (a null image when it draws none).
    QImage ImmagineMostrata() const;

signals:
    void cliccato(); // a left click on the box; one per double click
    void scalaCambiata(); // moved to a screen of another scale: photos are decoded afresh

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    ClicSinistro m_clic;
    TFoto m_foto;
    TFoto m_riserva;
};
