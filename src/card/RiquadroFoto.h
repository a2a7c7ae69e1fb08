#pragma once
// A picture box: shows a photo by the fitting rule (never enlarged, centred),
// decoded straight to the size the box needs. When the bytes do not decode, the
// stand-in photo is shown instead; the photo itself keeps its bytes unchanged.
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

signals:
    void cliccato(); // a left click on the box; one per double click

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    ClicSinistro m_clic;
    TFoto m_foto;
    TFoto m_riserva;
};
